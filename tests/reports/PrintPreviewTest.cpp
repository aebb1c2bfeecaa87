// The print preview and the forms in front of it as a user meets them: turning pages, two pages,
// zoom, saving as PDF (the same pages the tool prints), the Gig-Update selection form, the event
// choice, the set-list preview and the "D&rucken" menu of the main window.
#include "ReportTestSupport.h"

#include "../app/MainWindowSupport.h"
#include "app/CMainMenu.h"
#include "app/ReportCommands.h"
#include "core/CProfileFile.h"
#include "core/MessageService.h"
#include "core/PlanningContext.h"
#include "events/CEventSelectDlg.h"
#include "events/CGigUpdateDlg.h"
#include "planning/CPlanSetlisteDlg.h"
#include "reports/GigUpdateReport.h"
#include "support/FormTestSupport.h"
#include "views/CViewPrintPreview.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace ReportTest;
using FormTest::click;
using FormTest::onNextModal;

namespace {

// A document of `count` pages, each with its number as text.
Report::Document numberedPages(int count) {
    Report::Document document;
    document.title = QStringLiteral("Test");
    for (int number = 1; number <= count; ++number) {
        Report::PageRecorder page(QSize(2100, 2969));
        page.text(100, 100, QStringLiteral("Seite Nummer %1").arg(number));
        document.pages.push_back(std::make_shared<const Report::RecordedPage>(page.finish()));
    }
    return document;
}

// The text of a PDF file, and its page count, as poppler reads them.
QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}
int pdfPages(const QString& path) {
    return int(pdfText(path).count(QLatin1Char('\f')));
}

TEST(PrintPreviewTest, ButtonsAndKeysTurnPagesAndShowTheirNumbers) {
    CViewPrintPreview preview;
    preview.resize(900, 700);
    preview.setDocument(numberedPages(3));
    preview.show();
    EXPECT_EQ(preview.statusText(), QStringLiteral("Seite 1"));
    EXPECT_FALSE(FormTest::button(preview, "&Vorherige")->isEnabled());

    click(preview, "&Nächste");
    EXPECT_EQ(preview.statusText(), QStringLiteral("Seite 2"));
    click(preview, "&Zwei Seiten");
    EXPECT_EQ(preview.statusText(), QStringLiteral("Seiten 2-3"));
    EXPECT_NO_THROW(FormTest::button(preview, "&Eine Seite"));
    QTest::keyClick(&preview, Qt::Key_PageDown);
    EXPECT_EQ(preview.statusText(), QStringLiteral("Seite 3"));
    EXPECT_FALSE(FormTest::button(preview, "&Nächste")->isEnabled());
    QTest::keyClick(&preview, Qt::Key_PageUp);
    QTest::keyClick(&preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.statusText(), QStringLiteral("Seiten 1-2"));

    // Zoom in steps, and back to the whole page.
    EXPECT_FALSE(FormTest::button(preview, "Ver&kleinern")->isEnabled());
    for (int step = 0; step < CViewPrintPreview::kMaxZoom; ++step)
        click(preview, "Ver&größern");
    EXPECT_EQ(preview.zoomStep(), CViewPrintPreview::kMaxZoom);
    EXPECT_FALSE(FormTest::button(preview, "Ver&größern")->isEnabled());
    click(preview, "Ver&kleinern");
    EXPECT_EQ(preview.zoomStep(), CViewPrintPreview::kMaxZoom - 1);

    // The pages drawn are the recorded ones: the page shown has ink on it.
    const QImage shown = preview.grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); y += 2)
        for (int x = 0; x < shown.width(); x += 2)
            dark += qGray(shown.pixel(x, y)) < 60 ? 1 : 0;
    EXPECT_GT(dark, 0);

    bool closed = false;
    QObject::connect(&preview, &CViewPrintPreview::closeRequested, [&closed] { closed = true; });
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_TRUE(closed);
}

TEST(PrintPreviewTest, PdfFromThePreviewAndFromTheToolHoldTheSamePages) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TestDatabase database;
    fill(database);
    QTemporaryDir out;
    GigUpdate::Selection selection = period(QDate(2024, 3, 1), QDate(2024, 4, 30));
    selection.crew = {{1, GigUpdate::Musician}, {2, GigUpdate::Musician}};

    CViewPrintPreview preview;
    const UserProfile user = UserProfile::load(database.db());
    // Shown for the printer; the file is laid out again with the PDF margins.
    std::vector<PageMetrics> layouts;
    preview.setRenderer([&](const PageMetrics& metrics) {
        layouts.push_back(metrics);
        return GigUpdateReport::render(database.db(), selection, user, metrics,
                                       QDate::currentDate());
    });
    preview.setDocument(GigUpdateReport::render(database.db(), selection, user,
                                                PageMetrics::defaults(), QDate::currentDate()));
    QString suggested;
    const QString previewPdf = out.filePath(QStringLiteral("vorschau"));
    preview.setFileChooser([&](QWidget*, const QString& offered) {
        suggested = offered;
        return previewPdf;
    });
    click(preview, "Als &PDF speichern...");
    EXPECT_TRUE(
        suggested.endsWith(QStringLiteral("Gig-Update_%1.pdf")
                               .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")))));
    ASSERT_EQ(layouts.size(), 1u);
    EXPECT_EQ(layouts[0].offsetX, PageMetrics::kSafeMargin);
    EXPECT_EQ(layouts[0].bottomMargin, PageMetrics::kSafeMargin);
    EXPECT_EQ(preview.savedText(),
              QStringLiteral("Gespeichert: %1.pdf").arg(QDir::toNativeSeparators(previewPdf)));
    // A name given by the caller is what the file chooser offers.
    preview.setPdfName(QStringLiteral("Gig-Update_2024-03-01.pdf"));
    EXPECT_EQ(preview.suggestedPdfName(), QStringLiteral("Gig-Update_2024-03-01.pdf"));

    const QString toolPdf = out.filePath(QStringLiteral("tool.pdf"));
    QProcess tool;
    tool.start(QStringLiteral(VORLANTO_TOOL_PATH),
               {QStringLiteral("print"), database.dir(), QStringLiteral("--report"),
                QStringLiteral("gig-update"), QStringLiteral("--from"),
                QStringLiteral("01.03.2024"), QStringLiteral("--to"), QStringLiteral("30.04.2024"),
                QStringLiteral("--musician"), QStringLiteral("1"), QStringLiteral("--musician"),
                QStringLiteral("2"), QStringLiteral("--pdf"), toolPdf});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    const QString text = pdfText(previewPdf + QStringLiteral(".pdf"));
    EXPECT_EQ(pdfPages(previewPdf + QStringLiteral(".pdf")), 2);
    EXPECT_EQ(pdfPages(toolPdf), 2);
    EXPECT_EQ(pdfText(toolPdf), text);
    EXPECT_TRUE(text.contains(QStringLiteral("Termine Eva Leer"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Konzert Kirche Dorf")));

    // A file that cannot be written is refused with a message, and the preview stays.
    MessageRecorder messages;
    preview.setFileChooser(
        [](QWidget*, const QString&) { return QStringLiteral("/nonexistent-folder/x.pdf"); });
    EXPECT_FALSE(preview.savePdf());
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().startsWith(QStringLiteral("Die Datei ")));
}

class SelectionFormsTest : public ::testing::Test {
protected:
    void SetUp() override { fill(database); }
    static QTreeWidget* list(QWidget& form) { return form.findChild<QTreeWidget*>(); }
    static QStringList rows(QWidget& form) {
        QStringList texts;
        QTreeWidget* crew = list(form);
        for (int row = 0; row < crew->topLevelItemCount(); ++row)
            texts << QStringLiteral("%1/%2/%3")
                         .arg(crew->topLevelItem(row)->text(0), crew->topLevelItem(row)->text(1),
                              crew->topLevelItem(row)->text(2));
        return texts;
    }

    TestDatabase database;
    CProfileFile profile;
    MessageRecorder messages;
};

TEST_F(SelectionFormsTest, GigUpdateFormListsTheCrewOfThePeriodAndHandsOverTheChoice) {
    CGigUpdateDlg form(database.db(), profile, today());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Drucken Gig-Update"));
    auto* from = FormTest::field(form, "Zeitraum von");
    auto* to = FormTest::field(form, "bis");
    EXPECT_EQ(from->text(), today().toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_EQ(to->text(), QStringLiteral("10.04.2024")); // the latest event
    EXPECT_EQ(rows(form), (QStringList{QStringLiteral("Max Muster/Musiker/2"),
                                       QStringLiteral("Eva Leer/Musiker/1"),
                                       QStringLiteral("Ton GmbH/Techniker/1")}));
    EXPECT_FALSE(list(form)->isEnabled());

    // The list follows the dates, typed as the user types them, and the statuses.
    FormTest::type(form, "bis", QStringLiteral("31.03.2024"), true);
    Q_EMIT to->editingFinished();
    EXPECT_EQ(rows(form).size(), 2);
    for (const char* status : {"angefragt", "reserviert", "gebucht", "abgesagt"})
        QTest::mouseClick(FormTest::button<QCheckBox>(form, status), Qt::LeftButton);
    EXPECT_TRUE(rows(form).isEmpty());
    QTest::mouseClick(FormTest::button<QCheckBox>(form, "abgesagt"), Qt::LeftButton);
    QTest::mouseClick(FormTest::button<QCheckBox>(form, "gebucht"), Qt::LeftButton);
    EXPECT_EQ(rows(form), (QStringList{QStringLiteral("Max Muster/Musiker/1"),
                                       QStringLiteral("Ton GmbH/Techniker/1")}));

    // Individually without a choice: the form says so and stays.
    QTest::mouseClick(FormTest::button<QCheckBox>(form, "Gig-Update individuell"), Qt::LeftButton);
    EXPECT_TRUE(list(form)->isEnabled());
    form.show();
    click(form, "&Drucken");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Wählen Sie bitte einen Eintrag aus der Liste.")});
    EXPECT_TRUE(form.isVisible());

    list(form)->topLevelItem(1)->setSelected(true);
    list(form)->topLevelItem(0)->setSelected(true);
    click(form, "&Drucken");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const GigUpdate::Selection& chosen = form.selection();
    EXPECT_EQ(chosen.from, today());
    EXPECT_EQ(chosen.to, QDate(2024, 3, 31));
    EXPECT_EQ(chosen.statuses, (std::array<bool, 4>{{false, false, true, true}}));
    EXPECT_EQ(chosen.crew, (std::vector<GigUpdate::CrewEntry>{{1, GigUpdate::Musician},
                                                              {10, GigUpdate::Technician}}));
}

TEST_F(SelectionFormsTest, AnEndBeforeTheBeginningIsRefused) {
    CGigUpdateDlg form(database.db(), profile, today());
    form.show();
    FormTest::type(form, "bis", QStringLiteral("01.02.2024"), true);
    click(form, "&Drucken");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Das Ende des Zeitraums liegt vor seinem Beginn.")});
    EXPECT_TRUE(form.isVisible());

    // A date that is none, or no date at all, is refused with the date rule's message.
    messages.clear();
    FormTest::type(form, "bis", QStringLiteral("31.02.2024"), true);
    click(form, "&Drucken");
    FormTest::type(form, "bis", QString(), true);
    click(form, "&Drucken");
    EXPECT_EQ(messages.texts(),
              QStringList(2, QStringLiteral("Geben Sie bitte ein Datum und/oder eine Zeit ein.")));
    EXPECT_TRUE(form.isVisible());
    // Typed in full it is taken as typed.
    FormTest::type(form, "bis", QStringLiteral("01.01.2027"), true);
    click(form, "&Drucken");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.selection().to, QDate(2027, 1, 1));
}

TEST_F(SelectionFormsTest, DefaultPeriodIsValidWhenEveryEventLiesInThePast) {
    const QDate later(2025, 6, 1); // after every event of the data
    CGigUpdateDlg form(database.db(), profile, later);
    form.show();
    EXPECT_EQ(FormTest::field(form, "bis")->text(), QStringLiteral("01.06.2025"));
    click(form, "&Drucken");
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.selection().from, later);
    EXPECT_EQ(form.selection().to, later);
}

TEST_F(SelectionFormsTest, EventChoiceReturnsTheChosenEvent) {
    CEventSelectDlg form(database.db(), profile);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Event wählen"));
    QTreeWidget* events = list(form);
    ASSERT_EQ(events->topLevelItemCount(), 5);
    EXPECT_EQ(events->topLevelItem(0)->text(1), QStringLiteral("10.04.2024 19:00")); // latest
    click(form, "&Weiter");
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(form.isVisible());
    events->setCurrentItem(events->topLevelItem(1));
    click(form, "&Weiter");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.eventId(), 3);
}

TEST_F(SelectionFormsTest, EventChoiceTakesADoubleClickAndKeepsItsColumnWidths) {
    CProfileFile ini(database.dir() + QStringLiteral("/Kavio.ini"));
    const auto storedWidths = [&] {
        return ini.readText(QStringLiteral("LIST_COLS"), QStringLiteral("EventSelect"), QString());
    };
    {
        // Widths set by hand are written back however the form closes: here cancelled.
        CEventSelectDlg form(database.db(), ini);
        form.show();
        list(form)->header()->resizeSection(1, 150);
        list(form)->header()->resizeSection(3, 90);
        click(form, "&Abbrechen");
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_EQ(form.eventId(), -1);
    }
    const QStringList written = storedWidths().split(u',');
    ASSERT_EQ(written.size(), 9) << storedWidths().toStdString();
    EXPECT_EQ(written[1], QStringLiteral("150"));
    EXPECT_EQ(written[3], QStringLiteral("90"));

    // Opened again with them; a double click on an event chooses it and closes the form.
    CEventSelectDlg form(database.db(), ini);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTreeWidget* events = list(form);
    EXPECT_EQ(events->header()->sectionSize(1), 150);
    EXPECT_EQ(events->header()->sectionSize(3), 90);
    events->header()->resizeSection(1, 160);
    const std::int32_t third = events->topLevelItem(2)->data(0, Qt::UserRole).toInt();
    FormTest::clickRow(*events, 2, true);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.eventId(), third);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(storedWidths().split(u',').value(1), QStringLiteral("160"));
}

TEST_F(SelectionFormsTest, SetListPreviewOpensOnceAndIsOnlyBroughtToTheFront) {
    const PlanningContext context = *PlanningContext::read(database.db(), 1);
    CPlanSetlisteDlg form(database.db(), profile, context);
    form.show();
    int previews = -1;
    int pages = 0;
    QString pdfName;
    onNextModal([&](QDialog& preview) {
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Druckvorschau"));
        pages = preview.findChild<CViewPrintPreview*>()->document().pageCount();
        pdfName = preview.findChild<CViewPrintPreview*>()->suggestedPdfName();
        // Printing again while the preview is open opens no second one.
        FormTest::button(form, "&Setliste drucken...")->click();
        previews = int(form.findChildren<CPrintPreviewWindow*>().size());
        QTest::keyClick(preview.findChild<CViewPrintPreview*>(), Qt::Key_Escape);
    });
    click(form, "&Setliste drucken...");
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(pdfName, QStringLiteral("Setliste_2024-03-05_Hochzeit.pdf"));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

class PrintMenuTest : public RunningProgramTest {};

TEST_F(PrintMenuTest, GigUpdateOpensItsPreviewInTheMainWindow) {
    addEvent({{"EBeginn", QDateTime(QDate::currentDate(), QTime(20, 0), Qt::UTC)},
              {"EArt", QStringLiteral("Hochzeit")}});
    QAction* gigUpdate = frame->mainMenu()->action(CMainMenu::PrintGigUpdate);
    ASSERT_TRUE(gigUpdate->isEnabled());
    // Cancelled: nothing happens.
    onNextModal([](QDialog& form) { click(form, "&Abbrechen"); });
    gigUpdate->trigger();
    EXPECT_EQ(frame->mainMenu()->reports().preview(), nullptr);

    onNextModal([](QDialog& form) { click(form, "&Drucken"); });
    gigUpdate->trigger();
    CViewPrintPreview* preview = frame->mainMenu()->reports().preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(frame->centralWidget(), preview);
    EXPECT_EQ(preview->document().pageCount(), 1);
    EXPECT_EQ(preview->statusText(), QStringLiteral("Seite 1"));
    // The period begins today, and so does the file's name.
    EXPECT_EQ(preview->suggestedPdfName(),
              QStringLiteral("Gig-Update_%1.pdf")
                  .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    // Choosing a list leaves the preview.
    frame->navigate(1, 0);
    EXPECT_EQ(frame->mainMenu()->reports().preview(), nullptr);
    EXPECT_NE(frame->centralWidget(), nullptr);
    EXPECT_EQ(frame->currentListView(), frame->eventListView());

    // "&Schließen" shows the panes again.
    onNextModal([](QDialog& form) { click(form, "&Drucken"); });
    gigUpdate->trigger();
    preview = frame->mainMenu()->reports().preview();
    ASSERT_NE(preview, nullptr);
    click(*preview, "&Schließen");
    EXPECT_EQ(frame->mainMenu()->reports().preview(), nullptr);
    EXPECT_NE(frame->centralWidget(), preview);
}

TEST_F(PrintMenuTest, RiderAndAccountingChooseAnEventFirst) {
    addEvent({{"EBeginn", at(2024, 5, 17, 20, 0)}});
    for (int command : {CMainMenu::PrintGigRider, CMainMenu::PrintAccounting}) {
        messages.clear();
        onNextModal([](QDialog& form) {
            EXPECT_EQ(form.windowTitle(), QStringLiteral("Event wählen"));
            QTreeWidget* events = form.findChild<QTreeWidget*>();
            events->setCurrentItem(events->topLevelItem(0));
            click(form, "&Weiter");
        });
        frame->mainMenu()->action(command)->trigger();
        // Each goes on to its preview: three rider pages, one statement page.
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
        CViewPrintPreview* preview = frame->mainMenu()->reports().preview();
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->document().pageCount(), command == CMainMenu::PrintGigRider ? 3 : 1);
        EXPECT_EQ(preview->document().title, command == CMainMenu::PrintGigRider
                                                 ? QStringLiteral("Gig-Rider")
                                                 : QStringLiteral("Abrechnung"));
        // Its PDF file is named after the event's day.
        EXPECT_EQ(preview->suggestedPdfName(),
                  preview->document().title + QStringLiteral("_2024-05-17.pdf"));
    }
}

} // namespace
