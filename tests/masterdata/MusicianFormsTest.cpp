// The musician form and the instrument forms as a user meets them: what a save stores, the
// refusals, deleted instruments in the pick lists, the minimum fee, the photo, the main window.
#include "app/CMainMenu.h"
#include "app/MainWindowSupport.h"
#include "core/DefaultPictures.h"
#include "masterdata/CInstrumentDlg.h"
#include "masterdata/CInstrumenteDlg.h"
#include "masterdata/CMusikerDlg.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "widgets/CPhotoCtrl.h"
#include "widgets/CPickList.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

using FormTest::button;
using FormTest::click;
using FormTest::field;
using FormTest::onNextModal;
using FormTest::type;
using Answer = MessageService::Answer;
const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);

class MusicianFormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DefaultPictures::writeAll(database.dir(), nullptr));
        database.exec("INSERT INTO T_Stamm_Instrument (InstrumentID, Instrument, Kurz, fDeleted) "
                      "VALUES (1, 'Gitarre', 'Git', 0), (2, 'Harfe', 'Hf', -1), "
                      "(3, 'Akkordeon', 'Akk', 0)");
    }
    // Columns of a musician as SQLite quotes them (NULL, 'text', 250.0), joined by "|".
    QString stored(const QString& columns, int key) {
        const QString sql =
            QStringLiteral("SELECT quote(%1) FROM T_Stamm_Musiker WHERE MusikerID=%2");
        QString joined = columns;
        joined.replace(QStringLiteral(", "), QStringLiteral(")||'|'||quote("));
        return database.db().queryText(sql.arg(joined).arg(key).toStdString());
    }
    int addMusician(const QString& values) { // MName, MInstID1, MInstID2, MFotopfad
        const QString sql = "INSERT INTO T_Stamm_Musiker (MName, MInstID1, MInstID2, MFotopfad) "
                            "VALUES (%1)";
        database.exec(sql.arg(values).toUtf8().constData());
        return database.db().queryText("SELECT max(MusikerID) FROM T_Stamm_Musiker").toInt();
    }
    std::unique_ptr<CMusikerDlg> open(std::int32_t key) {
        auto form = std::make_unique<CMusikerDlg>(database.db(), profile, database.dir(), key);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    int saveAndClose(QDialog& form) {
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
        return form.result();
    }
    QString file(const char* name) const { return database.dir() + u'/' + QLatin1String(name); }
    // Whether the form shows exactly this file's picture.
    static bool shows(CMusikerDlg& form, const QString& path) {
        const CPhotoCtrl* photo = form.findChild<CPhotoCtrl*>();
        return photo->isLoaded() && photo->picture().image() == QImage(path);
    }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

TEST_F(MusicianFormsTest, NewMusicianUntouchedWritesNothingTypedIsCheckedAndStoredWithItsKey) {
    auto form = open(-1);
    EXPECT_EQ(form->windowTitle() + field<QComboBox>(*form, "Anrede")->currentText(),
              "MusikerHerr");
    EXPECT_FALSE(form->findChild<CPhotoCtrl*>()->isLoaded());
    click(*form, "&Ende");
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(database.count("T_Stamm_Musiker"), 0);

    // Label, column and longest text of each text field.
    // clang-format off
    const std::tuple<const char*, const char*, int> fields[] = {
        {"Name", "MName", 20}, {"Vorname", "MVorname", 20}, {"Künstlername", "MKName", 20},
        {"Strasse", "MStrasse", 40}, {"PLZ / Ort", "MPLZ", 10}, {"Tel.", "MTel", 20},
        {"Handy", "MTelm", 20}, {"Fax", "MFax", 20}, {"EMail", "Memail", 30},
        {"Homepage", "MHomepage", 50}, {"Steuer-Nr.", "MSteuerNr", 20},
        {"Finanzamt", "MFinanzamt", 40}, {"Kreditinstitut", "MBank", 50},
        {"Konto.-Nr.", "MKonto", 20}, {"BLZ", "MBLZ", 20}};
    // clang-format on
    form = open(-1);
    QStringList columns, expected;
    for (const auto& [label, column, maximum] : fields) {
        EXPECT_EQ(field(*form, label)->maxLength(), maximum) << label;
        type(*form, label, QString::fromLatin1(column).toLower());
        columns << QLatin1String(column);
        expected << QStringLiteral("'%1'").arg(QString::fromLatin1(column).toLower());
    }
    EXPECT_EQ(form->findChild<QLineEdit*>(QStringLiteral("editOrt"))->maxLength(), 40);
    field<QComboBox>(*form, "Anrede")->setCurrentIndex(1);
    QTest::keyClick(field<CPickList>(*form, "1."), Qt::Key_Down); // the empty row
    QTest::keyClick(field<CPickList>(*form, "1."), Qt::Key_Down); // the first instrument

    // Each refusal keeps the form open with the focus on the field; corrected, it saves.
    type(*form, "Geb.-Datum", QStringLiteral("31.02.90"));
    type(*form, "Mindestgage", QStringLiteral("viel"));
    type(*form, "Name", QString(), true);
    const char* const refusals[][3] = {
        {"Geb.-Datum", "Geben Sie bitte ein Datum und/oder eine Zeit ein.", "24121970"},
        {"Mindestgage", "Geben Sie bitte eine Zahl ein.", ""},
        {"Name", "Bitte \"Name\" eingegeben.", "mname"}};
    for (const auto& [label, message, corrected] : refusals) {
        messages.clear();
        EXPECT_EQ(saveAndClose(*form), QDialog::Rejected);
        EXPECT_EQ(messages.texts(), (QStringList{kQuestion, QString::fromUtf8(message)}));
        EXPECT_EQ(form->focusWidget(), field(*form, label)) << label;
        type(*form, label, QString::fromUtf8(corrected), true);
    }
    EXPECT_EQ(database.count("T_Stamm_Musiker"), 0);
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    const int key = database.db().queryText("SELECT MusikerID FROM T_Stamm_Musiker").toInt();
    EXPECT_EQ(form->musikerId(), key);
    EXPECT_EQ(stored(columns.join(QStringLiteral(", ")), key), expected.join(u'|'));
    EXPECT_EQ(stored("MAnrede, MGeb, MOrt, MInstID1, MInstID2, MMinGage, Mbemerkungen", key),
              "1|'1970-12-24 00:00:00'|NULL|1|NULL|NULL|NULL");
}

TEST_F(MusicianFormsTest, MinimumFeeShowsWholeOrWithTwoDecimalsAndEmptyStoresNull) {
    // Typed, stored, shown when opened again.
    // clang-format off
    const char* const cases[][3] = {{"250", "250.0", "250"}, {"312,5", "312.5", "312,50"},
                                    {"0.75", "0.75", "0,75"}, {"", "NULL", ""}};
    // clang-format on
    for (const auto& [typed, storedFee, shown] : cases) {
        SCOPED_TRACE(typed);
        auto form = open(-1);
        EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("labelWaehrung"))->text(), "€");
        type(*form, "Name", QStringLiteral("Huber"));
        type(*form, "Mindestgage", QString::fromUtf8(typed));
        ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
        EXPECT_EQ(stored("MMinGage", form->musikerId()), QLatin1String(storedFee));
        EXPECT_EQ(field(*open(form->musikerId()), "Mindestgage")->text(), QLatin1String(shown));
    }
    database.exec("INSERT INTO T_Grunddaten (Waehrungkurz) VALUES ('CHF')");
    EXPECT_EQ(open(-1)->findChild<QLabel*>(QStringLiteral("labelWaehrung"))->text(), "CHF");
}

TEST_F(MusicianFormsTest, DeletedInstrumentStaysOfferedOnlyToItsMusicianAndEmptyRowStoresNull) {
    const int harpist = addMusician("'Huber', 1, 2, NULL");
    const int other = addMusician("'Meier', NULL, NULL, NULL");
    // In the order of the table, after the empty row.
    const auto offered = [](CMusikerDlg& form, const char* slot) {
        QStringList names;
        for (int row = 0; row < field<CPickList>(form, slot)->rowCount(); ++row)
            names << field<CPickList>(form, slot)->text(row, 0);
        return names.join(u',');
    };
    auto form = open(harpist);
    for (const char* slot : {"1.", "2.", "3.", "4.", "5.", "6."})
        EXPECT_EQ(offered(*form, slot), ",Gitarre,Harfe,Akkordeon") << slot;
    const auto shown = [&form](const char* slot) {
        return field<CPickList>(*form, slot)->currentIndex();
    };
    EXPECT_EQ(QList<int>({shown("1."), shown("2."), shown("3.")}), QList<int>({1, 2, -1}));
    EXPECT_EQ(field<CPickList>(*form, "1.")->text(1, 1), QStringLiteral("Git"));

    QTest::keyClick(field<CPickList>(*form, "1."), Qt::Key_Home);
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(stored("MInstID1, MInstID2, MInstID3", harpist), "NULL|2|NULL");

    form = open(other);
    for (const char* slot : {"1.", "2.", "3.", "4.", "5.", "6."})
        EXPECT_EQ(offered(*form, slot), ",Gitarre,Akkordeon") << slot;
}

TEST_F(MusicianFormsTest, StoredPhotoShowsTheFileOrTheDefaultPhoto) {
    QFile broken(file("kaputt.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("kein Bild") > 0 &&
                broken.flush());
    QImage picture(20, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    ASSERT_TRUE(picture.save(file("sepp.jpg")));
    // Stored file, file shown, message.
    // clang-format off
    const char* const cases[][3] = {{"sepp.jpg", "sepp.jpg", ""}, {"fehlt.jpg", "morvo.jpg", ""},
        {"kaputt.jpg", "morvo.jpg", "Bild %1 konnte nicht geladen werden."}};
    // clang-format on
    for (const auto& [path, shown, message] : cases) {
        SCOPED_TRACE(path);
        messages.clear();
        const int key = addMusician(QStringLiteral("'Huber', NULL, NULL, '%1'").arg(file(path)));
        EXPECT_TRUE(shows(*open(key), file(shown)));
        const QString expected = *message ? QString::fromUtf8(message).arg(file(path)) : QString();
        EXPECT_EQ(messages.texts().join(u'\n'), expected);
    }
}

TEST_F(MusicianFormsTest, InsertingAndRemovingThePhoto) {
    const int key = addMusician("'Huber', NULL, NULL, NULL");
    auto form = open(key);
    QStringList asked;
    QString choice;
    form->setFilePicker([&](QWidget*, const QString& folder, const QString& filter) {
        asked << folder << filter;
        return choice;
    });
    click(*form, "&Foto einfügen"); // cancelled: nothing changes
    EXPECT_EQ(asked,
              (QStringList{database.dir(), "JPEG File Interchange Format (JPG) (*.jpg *.jpeg)"}));
    EXPECT_FALSE(form->isChanged());
    EXPECT_EQ(profile.readText("PHOTO", "DirMusician", "-"), "-");

    // A file picked: shown, stored, and the folder the picker started in is kept.
    profile.writeText("PHOTO", "DirMusician", database.dir() + "/fotos");
    choice = file("morvo.jpg");
    click(*form, "&Foto einfügen");
    EXPECT_EQ(asked.at(2), database.dir() + "/fotos");
    EXPECT_TRUE(shows(*form, choice));
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("MFotopfad", key), QStringLiteral("'%1'").arg(choice));
    EXPECT_EQ(profile.readText("PHOTO", "DirMusician", "-"), database.dir() + "/fotos");

    form = open(key);
    click(*form, "Foto ent&fernen");
    EXPECT_FALSE(form->findChild<CPhotoCtrl*>()->isLoaded());
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("MFotopfad", key), "''");
    EXPECT_FALSE(open(key)->findChild<CPhotoCtrl*>()->isLoaded());
}

// --- instruments ---------------------------------------------------------------------------

TEST_F(MusicianFormsTest, InstrumentListAddsEditsAndDeletesRefusingAnEmptyField) {
    database.exec("INSERT INTO T_Stamm_Instrument (Instrument, Kurz) VALUES ('Tuba', 'Tb')");
    CInstrumenteDlg form(database.db());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* list = form.findChild<QTreeWidget*>();
    // The rows as "name|abbreviation", the selected one in brackets.
    const auto rows = [list] { return FormTest::listRows(*list, 2); };
    const auto choose = [list](int row) { FormTest::clickRow(*list, row); };
    const auto buttonsEnabled = [&form] {
        return button(form, "&Bearbeiten...")->isEnabled() + button(form, "&Löschen")->isEnabled();
    };
    // An edit form is first refused with the field empty, the focus on it.
    const auto refusedThenSaved = [this](QDialog& edit, const char* label, const char* text) {
        messages.clear();
        saveAndClose(edit);
        EXPECT_EQ(messages.texts(), (QStringList{kQuestion, QStringLiteral("Ungültige Eingabe!")}));
        EXPECT_EQ(edit.focusWidget(), field(edit, label));
        type(edit, label, QString::fromUtf8(text));
        EXPECT_EQ(saveAndClose(edit), QDialog::Accepted);
    };
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Instrumente"));
    EXPECT_EQ(rows(), "Akkordeon|Akk,Gitarre|Git,Tuba|Tb");
    EXPECT_EQ(buttonsEnabled(), 0);

    onNextModal([](QDialog& add) { click(add, "&Ende"); }); // untouched: nothing added
    click(form, "&Hinzufügen...");
    onNextModal([&](QDialog& add) {
        EXPECT_EQ(add.windowTitle(), QStringLiteral("Instrument hinzufügen"));
        type(add, "Instrument", QStringLiteral("bass"));
        refusedThenSaved(add, "Kurzform", "B");
    });
    click(form, "&Hinzufügen...");
    EXPECT_EQ(rows(), "Akkordeon|Akk,[bass|B],Gitarre|Git,Tuba|Tb");
    EXPECT_EQ(buttonsEnabled(), 2);
    EXPECT_EQ(database.count("T_Stamm_Instrument", "Instrument='bass' AND Kurz='B'"), 1);

    choose(0);
    onNextModal([&](QDialog& edit) {
        EXPECT_EQ(edit.windowTitle(), QStringLiteral("Instrument bearbeiten"));
        EXPECT_EQ(field(edit, "Kurzform")->text(), QStringLiteral("Akk"));
        type(edit, "Instrument", QString(), true);
        refusedThenSaved(edit, "Instrument", "Zither");
    });
    click(form, "&Bearbeiten...");
    EXPECT_EQ(rows(), "bass|B,Gitarre|Git,Tuba|Tb,[Zither|Akk]");
    EXPECT_EQ(database.count("T_Stamm_Instrument", "InstrumentID=3 AND Instrument='Zither'"), 1);

    // Deleting selects the row now in the same place, the new last row, or none at all.
    const std::pair<int, const char*> deletions[] = {{0, "[Gitarre|Git],Tuba|Tb,Zither|Akk"},
                                                     {2, "Gitarre|Git,[Tuba|Tb]"},
                                                     {1, "[Gitarre|Git]"},
                                                     {0, ""}};
    for (const auto& [row, after] : deletions) {
        const QString name = list->topLevelItem(row)->text(0);
        choose(row);
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        click(form, "&Löschen");
        EXPECT_EQ(messages.texts(),
                  QStringList{QStringLiteral("Soll \"%1\" wirklich gelöscht werden?").arg(name)});
        EXPECT_EQ(rows(), QLatin1String(after)) << name.toStdString();
    }
    EXPECT_EQ(buttonsEnabled(), 0);
    EXPECT_EQ(database.count("T_Stamm_Instrument", "fDeleted=0"), 0);
    EXPECT_EQ(database.count("T_Stamm_Instrument"), 5);
}

TEST_F(MusicianFormsTest, InstrumentListKeepsTheGermanOrderWhateverOrderTheRowsWereStoredIn) {
    // Stored out of order, with a name twice and names with umlauts and lower case.
    database.exec("INSERT INTO T_Stamm_Instrument (Instrument, Kurz) VALUES ('Zither', 'Zi'), "
                  "('Gitarre', 'Git'), ('Ölfass', 'Öl'), ('akustikgitarre', 'AGit'), "
                  "('Gitarre', 'E-Git'), ('Orgel', 'Org')");
    CInstrumenteDlg form(database.db());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* list = form.findChild<QTreeWidget*>();
    const auto rows = [list] { return FormTest::listRows(*list, 2); };
    EXPECT_EQ(rows(), "Akkordeon|Akk,akustikgitarre|AGit,Gitarre|E-Git,Gitarre|Git,Gitarre|Git,"
                      "Ölfass|Öl,Orgel|Org,Zither|Zi");

    // A new instrument and a renamed one take their places among the others.
    onNextModal([&](QDialog& add) {
        type(add, "Instrument", QStringLiteral("Harmonika"));
        type(add, "Kurzform", QStringLiteral("Harm"));
        EXPECT_EQ(saveAndClose(add), QDialog::Accepted);
    });
    click(form, "&Hinzufügen...");
    FormTest::clickRow(*list, 8); // Zither
    onNextModal([&](QDialog& edit) {
        type(edit, "Instrument", QStringLiteral("Bandoneon"), true);
        EXPECT_EQ(saveAndClose(edit), QDialog::Accepted);
    });
    click(form, "&Bearbeiten...");
    EXPECT_EQ(rows(), "Akkordeon|Akk,akustikgitarre|AGit,[Bandoneon|Zi],Gitarre|E-Git,Gitarre|Git,"
                      "Gitarre|Git,Harmonika|Harm,Ölfass|Öl,Orgel|Org");
}

// --- from the main window ----------------------------------------------------------------

class MusicianFormsFromMainWindowTest : public RunningProgramTest {};

TEST_F(MusicianFormsFromMainWindowTest, MusicianListAndMenuOpenTheForms) {
    frame->navigate(0, 1);
    ASSERT_EQ(list().listKind(), 3);
    onNextModal([this](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Musiker"));
        type(form, "Name", QStringLiteral("Huber"));
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
    });
    QTest::mouseClick(list().newButton(), Qt::LeftButton);
    EXPECT_EQ(column(0), QStringList{QStringLiteral("Huber")});

    QAction* instruments = frame->mainMenu()->action(CMainMenu::Instruments);
    ASSERT_TRUE(instruments->isEnabled());
    onNextModal([](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Instrumente"));
        click(form, "&Ende");
    });
    instruments->trigger();
}

} // namespace
