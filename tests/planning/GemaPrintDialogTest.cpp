// The form "Druck GEMA-Liste" as a user meets it: the values it offers, the district offices,
// the help text, the member number check, the preview, and where the print command goes once
// the form has been closed again.
#include "../reports/ReportTestSupport.h"

#include "core/CProfileFile.h"
#include "core/ChangeNotifier.h"
#include "core/GemaDeadline.h"
#include "core/MessageService.h"
#include "core/PlanningContext.h"
#include "planning/CDruckGemaDlg.h"
#include "planning/CPlanSetlisteDlg.h"
#include "support/FormTestSupport.h"
#include "views/CViewPrintPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

using FormTest::click;
using FormTest::field;
using FormTest::onNextModal;

class GemaPrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReportTest::fill(database);
        database.exec(R"sql(
UPDATE "User" SET "ArtBesetzung" = 'Tanzband', "Strasse" = 'Bandweg 2';
INSERT INTO "T_Stamm_ExtFirma" ("ExtID", "Art", "fPrivat", "Name", "Vorname", "Strasse", "PLZ",
                                "Ort") VALUES (20, 0, -1, 'Wirt', 'Hans', 'Dorfplatz 1', '83001', 'Au');
UPDATE "T_Event" SET "VeranstalterID" = 20, "EEnde" = '2024-03-06 01:00:00' WHERE "EventID" = 1;
INSERT INTO "T_Stamm_Gema_Bezirk" ("Bezirksdirektion", "Strasse", "PLZ", "Ort", "ZustBereich")
    VALUES ('Süd', 'Weg 1', '80000', 'München', NULL),
           ('Mitte', 'Platz 3', '60000', 'Frankfurt', 'Hessen' || char(10) || 'Thüringen');
)sql");
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
    PrintRegistration registration;
};

TEST_F(GemaPrintDialogTest, OffersTheEventsValuesTheOfficesAndTheHelpText) {
    CDruckGemaDlg form(database.db(), 1, registration);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Druck GEMA-Liste"));
    auto* offices = field<QComboBox>(form, "Bezirksdirektion");
    auto* area = field<QPlainTextEdit>(form, "Zuständigkeitsbereich");
    ASSERT_EQ(offices->count(), 2);
    EXPECT_EQ(offices->itemText(0), QStringLiteral("Mitte"));
    EXPECT_EQ(offices->currentIndex(), 0);
    EXPECT_EQ(area->toPlainText(), QStringLiteral("Hessen\nThüringen"));
    offices->setCurrentIndex(1);
    EXPECT_TRUE(area->toPlainText().isEmpty());

    EXPECT_EQ(field(form, "Veranstalter")->text(), QStringLiteral("Wirt, Hans"));
    EXPECT_EQ(field(form, "Veranstaltung am")->text(), QStringLiteral("05.03.24"));
    EXPECT_EQ(field(form, "bis")->text(), QStringLiteral("01:00"));
    EXPECT_EQ(field(form, "Name des Musik-\nleiters")->text(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(field<QSpinBox>(form, "Anzahl der Musiker und Sänger")->value(), 1);
    EXPECT_EQ(field(form, "Art der Besetzung")->text(), QStringLiteral("Tanzband"));
    EXPECT_TRUE(field(form, "GEMA-Mitglieds-Nr.")->text().isEmpty());
    EXPECT_FALSE(FormTest::button<QCheckBox>(form, "Netto-Einzelverrechnung (Direktverrechnung)")
                     ->isChecked());

    QString title;
    QString text;
    onNextModal([&](QDialog& help) {
        title = help.windowTitle();
        text = static_cast<QMessageBox&>(help).text();
        help.accept();
    });
    click(form, "&Hilfe");
    EXPECT_EQ(title, QStringLiteral("Netto-Einzelverrechnung (Direktverrechnung)"));
    EXPECT_EQ(text.count(QLatin1Char('\n')), 4);
    EXPECT_TRUE(text.contains(QStringLiteral("Direkt-Verrechnungs-Formular \u201EMusikfolge")));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(GemaPrintDialogTest, ALongMemberNumberIsRefusedAndTheFormPreviewedWithWhatWasTyped) {
    CDruckGemaDlg form(database.db(), 1, registration);
    form.show();
    FormTest::type(form, "GEMA-Mitglieds-Nr.", QStringLiteral("1234567"));
    click(form, "&Drucken");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Geben Sie bitte nicht mehr als 6 Zeichen ein.")});
    EXPECT_EQ(form.focusWidget(), field(form, "GEMA-Mitglieds-Nr."));
    EXPECT_EQ(field(form, "GEMA-Mitglieds-Nr.")->text(), QStringLiteral("1234567"));

    FormTest::type(form, "GEMA-Mitglieds-Nr.", QStringLiteral("A12345"), true);
    FormTest::type(form, "Art der Veranstaltung", QStringLiteral("Hochzeit im Saal"), true);
    QTest::mouseClick(
        FormTest::button<QCheckBox>(form, "Netto-Einzelverrechnung (Direktverrechnung)"),
        Qt::LeftButton);
    QTemporaryDir out;
    int pages = 0;
    QString offered, saved;
    onNextModal([&](QDialog& preview) {
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Druckvorschau"));
        auto* view = preview.findChild<CViewPrintPreview*>();
        pages = view->document().pageCount();
        // Saving the form as PDF counts as printing it.
        view->setFileChooser([&out, &offered](QWidget*, const QString& suggested) {
            offered = QFileInfo(suggested).fileName();
            return out.filePath(QStringLiteral("gema"));
        });
        click(*view, "Als &PDF speichern...");
        saved = view->savedText();
        QTest::keyClick(view, Qt::Key_Escape);
    });
    click(form, "&Drucken");
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(form.values().memberNumber, QStringLiteral("A12345"));
    EXPECT_EQ(form.values().eventKind, QStringLiteral("Hochzeit im Saal"));
    EXPECT_EQ(form.values().office.name, QStringLiteral("Mitte"));
    EXPECT_TRUE(form.values().direct);
    EXPECT_TRUE(QFile::exists(out.filePath(QStringLiteral("gema.pdf"))));
    EXPECT_EQ(offered, QStringLiteral("GEMA-Liste_2024-03-05_Hochzeit.pdf"));
    EXPECT_TRUE(saved.startsWith(QStringLiteral("Gespeichert: "))) << saved.toStdString();
    EXPECT_TRUE(saved.endsWith(QStringLiteral("gema.pdf"))) << saved.toStdString();
    EXPECT_EQ(database.count("T_Event_Gema", "EventID = 1"), 1);
}

TEST_F(GemaPrintDialogTest, PrintCommandReachesTheSetListAgainOnceTheGemaFormIsClosed) {
    CPlanSetlisteDlg setList(database.db(), profile, *PlanningContext::read(database.db(), 1));
    setList.show();
    QStringList printed;
    setList.printRegistration().setFlow(
        [&printed](QWidget*, const ReportPrinting::Renderer& render, int pageCount) {
            const Report::Document document = render(PageMetrics::defaults());
            printed << QStringLiteral("%1 %2/%3")
                           .arg(document.title)
                           .arg(document.pageCount())
                           .arg(pageCount);
            return ReportPrinting::Result::Printed;
        });
    QList<QPair<ChangeNotifier::Topic, std::int32_t>> changes;
    const QMetaObject::Connection listening =
        QObject::connect(&ChangeNotifier::instance(), &ChangeNotifier::changed,
                         [&changes](ChangeNotifier::Topic topic, std::int32_t key, int) {
                             changes.append({topic, key});
                         });
    const auto printFromPreview = [](QDialog& preview) {
        auto* view = preview.findChild<CViewPrintPreview*>();
        click(*view, "&Drucken...");
        QTest::keyClick(view, Qt::Key_Escape);
    };

    QString gemaTitle;
    onNextModal([&](QDialog& gema) {
        gemaTitle = gema.windowTitle();
        onNextModal(printFromPreview);
        click(gema, "&Drucken");
        click(gema, "Zurück");
    });
    click(setList, "&GEMA-Liste drucken...");
    EXPECT_EQ(gemaTitle, QStringLiteral("Druck GEMA-Liste"));
    EXPECT_EQ(database.count("T_Event_Gema", "EventID = 1"), 1);
    EXPECT_EQ(changes, (QList<QPair<ChangeNotifier::Topic, std::int32_t>>{
                           {ChangeNotifier::Topic::Planning, 1}}));

    // The GEMA form is closed: printing from the set list's preview prints the set list.
    onNextModal(printFromPreview);
    click(setList, "&Setliste drucken...");
    EXPECT_EQ(printed,
              (QStringList{QStringLiteral("GEMA-Liste 2/2"), QStringLiteral("Setliste 2/2")}));
    EXPECT_EQ(changes.size(), 1);
    QObject::disconnect(listening);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(GemaPrintDialogTest, NoReportNeededIsStoredAtOnceAndEndsTheEventsReminder) {
    database.exec("UPDATE T_Event SET EBeginn = '2024-03-05 20:00:00' WHERE EventID = 1");
    const QDate today(2024, 4, 10);
    const auto due = [&] {
        QList<std::int32_t> ids;
        for (const GemaDeadline::Due& entry : GemaDeadline::dueEvents(database.db(), today))
            ids << entry.eventId;
        return ids.contains(1);
    };
    ASSERT_TRUE(due());
    QList<QPair<ChangeNotifier::Topic, std::int32_t>> changes;
    const QMetaObject::Connection listening =
        QObject::connect(&ChangeNotifier::instance(), &ChangeNotifier::changed,
                         [&changes](ChangeNotifier::Topic topic, std::int32_t key, int) {
                             changes.append({topic, key});
                         });
    {
        CDruckGemaDlg form(database.db(), 1, registration);
        form.show();
        auto* noReport = FormTest::button<QCheckBox>(form, "Keine GEMA-Meldung nötig");
        EXPECT_FALSE(noReport->isChecked());
        noReport->click();
        EXPECT_FALSE(due());
        EXPECT_EQ(changes.size(), 1);
        click(form, "Zurück");
    }
    {
        CDruckGemaDlg form(database.db(), 1, registration);
        auto* noReport = FormTest::button<QCheckBox>(form, "Keine GEMA-Meldung nötig");
        EXPECT_TRUE(noReport->isChecked());
        form.show();
        noReport->click();
        EXPECT_TRUE(due());
    }
    QObject::disconnect(listening);
    EXPECT_TRUE(messages.texts().isEmpty());
}

} // namespace
