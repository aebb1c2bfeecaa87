// The song list and the song form as a user meets them: what a save stores, the tempo rule, the
// values offered in the drop-downs, the list's order, widths and deleting, the set-list mode
// that hands its values back without touching the database, and the menu command.
#include "app/CMainMenu.h"
#include "app/MainWindowSupport.h"
#include "data/RecordSets.h"
#include "masterdata/CSongDlg.h"
#include "masterdata/CSonglisteDlg.h"
#include "support/FormTestSupport.h"
#include "support/ScaledWidths.h"
#include "support/TestDatabase.h"
#include "widgets/CReportList.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <utility>

namespace {

using FormTest::button;
using FormTest::click;
using FormTest::field;
using FormTest::onNextModal;
using FormTest::type;
using Answer = MessageService::Answer;
const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);

const char* const kAllColumns =
    "Titel, Interpret, Tonart, Tempo, Bemerkungen, GemaWerkNr, Komponist, Bearbeiter, Verleger, pf";

// The entries a drop-down offers, joined by "|".
QString offered(QComboBox* combo) {
    QStringList texts;
    for (int row = 0; row < combo->count(); ++row)
        texts << combo->itemText(row);
    return texts.join(u'|');
}

class SongFormsTest : public ::testing::Test {
protected:
    // Columns of a song as SQLite quotes them (NULL, 'text', 120), joined by "|".
    QString stored(const char* columns, int key) {
        QStringList quoted;
        for (const QString& column : QString::fromLatin1(columns).split(QStringLiteral(", ")))
            quoted << QStringLiteral("quote(%1)").arg(column);
        return database.db().queryText(
            QStringLiteral("SELECT %1 FROM T_Stamm_Songliste WHERE SongID=%2")
                .arg(quoted.join(QStringLiteral("||'|'||")))
                .arg(key)
                .toStdString());
    }
    // Every song, as text, in the order of the keys.
    QString allSongs() {
        QStringList quoted;
        for (const QString& column : QString::fromLatin1(kAllColumns).split(QStringLiteral(", ")))
            quoted << QStringLiteral("quote(%1)").arg(column);
        return database.db().queryText(
            QStringLiteral("SELECT group_concat(%1, ';') FROM (SELECT * FROM T_Stamm_Songliste "
                           "ORDER BY SongID)")
                .arg(quoted.join(QStringLiteral("||'|'||")))
                .toStdString());
    }
    // Adds a song from SQL values in the order of kAllColumns and returns its key.
    int addSong(const char* values) {
        database.exec(QStringLiteral("INSERT INTO T_Stamm_Songliste (%1) VALUES (%2)")
                          .arg(QLatin1String(kAllColumns), QString::fromUtf8(values))
                          .toUtf8()
                          .constData());
        return database.db().queryText("SELECT max(SongID) FROM T_Stamm_Songliste").toInt();
    }
    std::unique_ptr<CSongDlg> open(std::int32_t key) {
        auto form = std::make_unique<CSongDlg>(database.db(), key);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    int saveAndClose(QDialog& form) {
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
        return form.result();
    }
    static QComboBox* combo(QWidget& form, const char* label) {
        return field<QComboBox>(form, label);
    }
    static void pick(QWidget& form, const char* label, const char* text) {
        QComboBox* list = combo(form, label);
        list->setCurrentIndex(list->findText(QString::fromUtf8(text)));
    }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

// --- the song form ---------------------------------------------------------------------------

TEST_F(SongFormsTest, NewSongUntouchedStoresNothingTypedIsStoredAndShownAgain) {
    auto form = open(-1);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Song bearbeiten"));
    EXPECT_EQ(offered(combo(*form, "P/F")), "|P|F");
    click(*form, "&Ende");
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(database.count("T_Stamm_Songliste"), 0);

    form = open(-1);
    type(*form, "Titel", QStringLiteral("Walzer fuer Theresa"));
    type(*form, "Tonart", QStringLiteral("Es-Dur"));
    type(*form, "Tempo", QStringLiteral("8a4")); // digits only
    type(*form, "Bemerkung", QStringLiteral("langsamer Walzer"));
    type(*form, "GEMA-Werk-Nr.", QStringLiteral("4711205-001"));
    QTest::keyClicks(combo(*form, "Interpret"), QStringLiteral("Die Kranichtaler"));
    QTest::keyClicks(combo(*form, "Komponist"), QStringLiteral("Florian Wimmreuther"));
    QTest::keyClicks(combo(*form, "Verleger"), QStringLiteral("Edition Talklang"));
    pick(*form, "P/F", "F");
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    const int key = database.db().queryText("SELECT SongID FROM T_Stamm_Songliste").toInt();
    EXPECT_EQ(form->songId(), key);
    EXPECT_EQ(stored(kAllColumns, key),
              "'Walzer fuer Theresa'|'Die Kranichtaler'|'Es-Dur'|84|'langsamer Walzer'|"
              "'4711205-001'|'Florian Wimmreuther'|NULL|'Edition Talklang'|'F'");

    // Opened again it shows what is stored; a change overwrites that row and no other.
    form = open(key);
    EXPECT_EQ(combo(*form, "Interpret")->currentText(), "Die Kranichtaler");
    EXPECT_EQ(combo(*form, "P/F")->currentText(), "F");
    EXPECT_EQ(field(*form, "Tempo")->text(), "84");
    pick(*form, "P/F", "");
    type(*form, "Bemerkung", QString(), true);
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(database.count("T_Stamm_Songliste"), 1);
    EXPECT_EQ(stored("Bemerkungen, pf, Tempo", key), "NULL|NULL|84");
}

TEST_F(SongFormsTest, TempoZeroOrEmptyIsStoredAsNullAndAStoredTempoBelowOneShowsEmpty) {
    // Typed, stored, shown when opened again.
    const char* const cases[][3] = {
        {"0", "NULL", ""}, {"", "NULL", ""}, {"120", "120", "120"}, {"007", "7", "7"}};
    for (const auto& [typed, storedTempo, shown] : cases) {
        SCOPED_TRACE(typed);
        auto form = open(-1);
        type(*form, "Titel", QStringLiteral("Tango Lindenfeld"));
        type(*form, "Tempo", QString::fromUtf8(typed));
        ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
        EXPECT_EQ(stored("Tempo", form->songId()), QLatin1String(storedTempo));
        EXPECT_EQ(field(*open(form->songId()), "Tempo")->text(), QLatin1String(shown));
    }
    const int negative = addSong("'Alt', NULL, NULL, -3, NULL, NULL, NULL, NULL, NULL, NULL");
    EXPECT_EQ(field(*open(negative), "Tempo")->text(), "");

    // Beyond what the column holds: refused, the form stays open with the input.
    auto form = open(-1);
    type(*form, "Titel", QStringLiteral("Boogie im Heustadl"));
    type(*form, "Tempo", QStringLiteral("99999"));
    messages.clear();
    EXPECT_EQ(saveAndClose(*form), QDialog::Rejected);
    EXPECT_EQ(messages.texts(),
              (QStringList{kQuestion,
                           QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 0 und 32767 "
                                          "ein.")}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->focusWidget(), field(*form, "Tempo"));
    EXPECT_EQ(field(*form, "Titel")->text(), "Boogie im Heustadl");
    EXPECT_EQ(database.count("T_Stamm_Songliste", "Titel='Boogie im Heustadl'"), 0);
}

TEST_F(SongFormsTest, DropDownsOfferEveryValueAlreadyUsedOnceAndPickingOneIsAChange) {
    addSong("'A', 'Sandra Velten', NULL, NULL, NULL, NULL, 'Marc Ehrenreich', NULL, 'Silberklang', "
            "NULL");
    addSong("'B', 'ABBA-Revival', NULL, NULL, NULL, NULL, 'Marc Ehrenreich', 'Quirin Hollweck', "
            "'Silberklang', NULL");
    addSong("'C', 'Sandra Velten', NULL, NULL, NULL, NULL, NULL, NULL, 'Tonwiesen', NULL");
    addSong("'D', 'abba-revival', NULL, NULL, NULL, NULL, '', NULL, NULL, NULL");
    addSong("'E', 'Sandra Velten', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL");
    const int song = addSong("'F', 'ABBA-Revival', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL");

    auto form = open(song);
    // In the order of the song list's sort; texts differing in case are different values; an
    // empty text is no value.
    const QString performers = offered(combo(*form, "Interpret"));
    EXPECT_EQ(performers.count(QStringLiteral("Sandra Velten")), 1);
    EXPECT_EQ(performers.count(QStringLiteral("ABBA-Revival")), 1);
    EXPECT_EQ(performers.count(QStringLiteral("abba-revival")), 1);
    EXPECT_TRUE(performers.endsWith(QStringLiteral("|Sandra Velten")));
    EXPECT_EQ(offered(combo(*form, "Komponist")), "Marc Ehrenreich");
    EXPECT_EQ(offered(combo(*form, "Bearbeiter")), "Quirin Hollweck");
    EXPECT_EQ(offered(combo(*form, "Verleger")), "Silberklang|Tonwiesen");
    EXPECT_EQ(combo(*form, "Interpret")->currentText(), "ABBA-Revival");
    EXPECT_EQ(combo(*form, "Verleger")->currentText(), "");

    pick(*form, "Verleger", "Tonwiesen");
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(stored("Interpret, Verleger", song), "'ABBA-Revival'|'Tonwiesen'");

    // A mark the P/F list does not offer, written by another program, is shown and kept.
    database.exec("UPDATE T_Stamm_Songliste SET pf='p' WHERE Titel='F'");
    form = open(song);
    EXPECT_EQ(combo(*form, "P/F")->currentText(), "p");
    EXPECT_EQ(offered(combo(*form, "P/F")), "|P|F|p");
    type(*form, "Tonart", QStringLiteral("D-Dur"));
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Tonart, pf", song), "'D-Dur'|'p'");
}

TEST_F(SongFormsTest, SetListSongIsHandedBackWithoutQuestionAndTheSongListStaysUnchanged) {
    addSong("'Oldie-Potpourri', 'Die Kranichtaler', 'G-Dur', 140, NULL, '4711231-001', 'diverse', "
            "'Florian Wimmreuther', 'Edition Talklang', 'P'");
    const QString before = allSongs();
    // The set list copies the song as the song list shows it.
    CSetStammSongliste row(database.db());
    row.open();
    const SetListSong given = SetListSong::fromSongRow(row);
    row.close();
    EXPECT_EQ(given.columns(),
              (QStringList{"Oldie-Potpourri", "G-Dur", "140", "", "Die Kranichtaler", "4711231-001",
                           "P", "diverse", "Florian Wimmreuther", "Edition Talklang"}));
    EXPECT_EQ(SetListSong::fromColumns(given.columns()), given);

    // Shown as handed over; the drop-downs offer nothing from the song list.
    CSongDlg form(database.db(), given);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Song bearbeiten"));
    EXPECT_EQ(field(form, "Titel")->text(), "Oldie-Potpourri");
    EXPECT_EQ(field(form, "Tempo")->text(), "140");
    EXPECT_EQ(combo(form, "Komponist")->currentText(), "diverse");
    EXPECT_EQ(combo(form, "P/F")->currentText(), "P");
    EXPECT_EQ(offered(combo(form, "P/F")), "|P|F");
    for (const char* label : {"Interpret", "Komponist", "Bearbeiter", "Verleger"})
        EXPECT_EQ(combo(form, label)->count(), 0) << label;

    type(form, "Titel", QStringLiteral("Oldies"), true);
    type(form, "Tempo", QStringLiteral("0"), true);
    type(form, "Bemerkung", QStringLiteral("nur Teil 1"));
    QTest::keyClick(combo(form, "Bearbeiter"), Qt::Key_End);
    QTest::keyClicks(combo(form, "Bearbeiter"), QStringLiteral(" jun."));
    pick(form, "P/F", "F");
    click(form, "&Ende");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(form.setListSong().columns(),
              (QStringList{"Oldies", "G-Dur", "", "nur Teil 1", "Die Kranichtaler", "4711231-001",
                           "F", "diverse", "Florian Wimmreuther jun.", "Edition Talklang"}));
    EXPECT_EQ(allSongs(), before);
    EXPECT_EQ(database.count("T_Stamm_Songliste"), 1);
}

TEST_F(SongFormsTest, SetListSongKeepsItsValuesWhenClosedWithoutEndeOrRefused) {
    const SetListSong given = SetListSong::fromColumns({"Tango Lindenfeld", "d-Moll", "64"});
    EXPECT_EQ(given.verleger, "");

    // Escape: the caller keeps its values.
    SetListSong song = given;
    onNextModal([](QDialog& form) {
        QTest::keyClicks(field(form, "Tonart"), QStringLiteral("x"));
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_FALSE(CSongDlg::editSetListSong(database.db(), song));
    EXPECT_EQ(song, given);

    // The confirm key takes the values over; an impossible tempo is refused first.
    onNextModal([this](QDialog& form) {
        type(form, "Tempo", QStringLiteral("70000"), true);
        QTest::keyClick(field(form, "Tempo"), Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(messages.texts(),
                  QStringList{QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 0 und 32767 "
                                             "ein.")});
        type(form, "Tempo", QStringLiteral("66"), true);
        QTest::keyClick(field<QComboBox>(form, "Interpret")->lineEdit(), Qt::Key_Return);
    });
    EXPECT_TRUE(CSongDlg::editSetListSong(database.db(), song));
    EXPECT_EQ(song.tempo, "66");
    EXPECT_EQ(song.titel, "Tango Lindenfeld");
    EXPECT_EQ(database.count("T_Stamm_Songliste"), 0);
}

// --- the song list ---------------------------------------------------------------------------

class SongListTest : public SongFormsTest {
protected:
    void show(CSonglisteDlg& dialog) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        list = dialog.findChild<CReportList*>();
    }
    // The rows as "title|key|tempo|remark|performer", the selected one in brackets.
    QString rows() const { return FormTest::listRows(*list); }
    void choose(int row) { FormTest::clickRow(*list, row); }
    // Deletes the row, answering yes, and returns the question asked.
    QString deleteRow(CSonglisteDlg& dialog, int row) {
        choose(row);
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        click(dialog, "Song l&öschen");
        return messages.texts().join(u'\n');
    }

    CReportList* list = nullptr;
};

TEST_F(SongListTest, ShowsTheSongsByTitleWithTheirTempoByTheRuleInWidthsFromKavioIni) {
    addSong("'Zwiefacher', 'Die Kranichtaler', 'F-Dur', 0, 'gerade/ungerade', NULL, NULL, NULL, "
            "NULL, NULL");
    addSong("'Übermut', NULL, 'C-Dur', 132, NULL, NULL, NULL, NULL, NULL, NULL");
    addSong("'auf der Alm', 'Marlene Sommerau', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL");
    addSong("'Ballade', NULL, 'a-Moll', 1, NULL, NULL, NULL, NULL, NULL, NULL");

    // How the dialog is closed, and its result: nothing was changed while it was open.
    const std::pair<std::function<void(CSonglisteDlg&)>, int> closers[] = {
        {[](CSonglisteDlg& dialog) { click(dialog, "&Ende"); }, QDialog::Accepted},
        {[](CSonglisteDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
         QDialog::Rejected},
    };
    QString widths;
    int width = 150;
    for (const auto& [close, result] : closers) {
        CSonglisteDlg dialog(database.db(), profile);
        show(dialog);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Songliste"));
        QStringList titles;
        QStringList shownWidths;
        for (int column = 0; column < list->columnCount(); ++column) {
            titles << list->headerItem()->text(column);
            shownWidths << QString::number(list->header()->sectionSize(column));
        }
        EXPECT_EQ(titles.join(u','), "Titel,Tonart,Tempo,Bemerkung,Interpret");
        if (widths.isEmpty()) {
            // No widths stored: the defaults scaled for the font, widened where a title or a
            // row needs more.
            const QStringList defaults = scaledWidths("134,34,51,139,56", *list).split(u',');
            for (int column = 0; column + 1 < defaults.size(); ++column)
                EXPECT_GE(shownWidths[column].toInt(), defaults[column].toInt()) << column;
            widths = shownWidths.join(u',');
        }
        EXPECT_EQ(leading(shownWidths.join(u',')), leading(widths));
        // German order ignoring case; no row chosen, so nothing to edit or delete yet.
        EXPECT_EQ(rows(), "auf der Alm||||Marlene Sommerau,Ballade|a-Moll|1||,Übermut|C-Dur|132||,"
                          "Zwiefacher|F-Dur||gerade/ungerade|Die Kranichtaler");
        EXPECT_FALSE(button(dialog, "Song &bearbeiten...")->isEnabled());
        EXPECT_FALSE(button(dialog, "Song l&öschen")->isEnabled());

        list->header()->resizeSection(0, ++width);
        shownWidths[0] = QString::number(width);
        close(dialog);
        widths = shownWidths.join(u',');
        EXPECT_EQ(
            leading(profile.readText(QStringLiteral("LIST_COLS"), QStringLiteral("Songlist"))),
            leading(widths));
        EXPECT_EQ(dialog.result(), result);
    }
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(SongListTest, NewAndEditedSongsAreListedAtTheirPlaceAndSelected) {
    const int polka = addSong("'Polka', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL");
    addSong("'Walzer', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL");
    CSonglisteDlg dialog(database.db(), profile);
    show(dialog);

    onNextModal([](QDialog& form) { click(form, "&Ende"); }); // untouched: nothing added
    click(dialog, "&Neuer Song...");
    EXPECT_EQ(rows(), "Polka||||,Walzer||||");

    onNextModal([this](QDialog& form) {
        type(form, "Titel", QStringLiteral("Marsch"));
        type(form, "Tempo", QStringLiteral("116"));
        saveAndClose(form);
    });
    click(dialog, "&Neuer Song...");
    EXPECT_EQ(rows(), "[Marsch||116||],Polka||||,Walzer||||");

    // A double click edits the song; renamed, it moves to its new place.
    onNextModal([this](QDialog& form) {
        EXPECT_EQ(field(form, "Titel")->text(), "Polka");
        type(form, "Titel", QStringLiteral("Zugabe-Polka"), true);
        saveAndClose(form);
    });
    choose(1);
    FormTest::clickRow(*list, 1, true);
    EXPECT_EQ(rows(), "Marsch||116||,Walzer||||,[Zugabe-Polka||||]");
    EXPECT_EQ(stored("Titel", polka), "'Zugabe-Polka'");

    // Changed while open: accepted even when closed with Escape, so a caller reads the songs.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SongListTest, DeletingAsksByTitleRemovesTheSongAndSelectsTheRowInItsPlaceOrTheLast) {
    for (const char* title : {"Anton", "Berta", "Caesar", "Dora"})
        addSong(QStringLiteral("'%1', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL")
                    .arg(QLatin1String(title))
                    .toUtf8()
                    .constData());
    CSonglisteDlg dialog(database.db(), profile);
    show(dialog);

    // Answered no: nothing happens.
    choose(1);
    click(dialog, "Song l&öschen");
    EXPECT_EQ(messages.texts(), QStringList{"Soll \"Berta\" wirklich gelöscht werden?"});
    EXPECT_EQ(database.count("T_Stamm_Songliste"), 4);

    EXPECT_EQ(deleteRow(dialog, 1), "Soll \"Berta\" wirklich gelöscht werden?");
    EXPECT_EQ(rows(), "Anton||||,[Caesar||||],Dora||||");
    EXPECT_EQ(deleteRow(dialog, 2), "Soll \"Dora\" wirklich gelöscht werden?");
    EXPECT_EQ(rows(), "Anton||||,[Caesar||||]");
    deleteRow(dialog, 1);
    deleteRow(dialog, 0);
    EXPECT_EQ(rows(), "");
    EXPECT_FALSE(button(dialog, "Song l&öschen")->isEnabled());
    EXPECT_EQ(database.count("T_Stamm_Songliste"), 0);
}

// --- from the main window ----------------------------------------------------------------

class SongListFromMainWindowTest : public RunningProgramTest {};

TEST_F(SongListFromMainWindowTest, MenuCommandOpensTheSongList) {
    add<CSetStammSongliste>({{"Titel", QStringLiteral("Kranichtaler Polka")}});
    QAction* songs = frame->mainMenu()->action(CMainMenu::Songs);
    ASSERT_TRUE(songs->isEnabled());
    EXPECT_EQ(songs->text(), QStringLiteral("&Songliste..."));
    QStringList titles;
    onNextModal([&titles](QDialog& dialog) {
        titles << dialog.windowTitle()
               << dialog.findChild<CReportList*>()->topLevelItem(0)->text(0);
        click(dialog, "&Ende");
    });
    songs->trigger();
    EXPECT_EQ(titles, (QStringList{"Songliste", "Kranichtaler Polka"}));
}

} // namespace
