// The article groups and articles as a user meets them: group names stored and found exactly,
// renamed with their articles, added again after deletion; the article form's groups, categories,
// prices, choices and photo; the article list; the menu commands.
#include "app/CMainMenu.h"
#include "app/MainWindowSupport.h"
#include "core/ArticleGroups.h"
#include "core/DefaultPictures.h"
#include "core/Purge.h"
#include "data/CDaoException.h"
#include "masterdata/CArtikelDlg.h"
#include "masterdata/CArtikelgruppenDlg.h"
#include "masterdata/CArtikelverwaltungDlg.h"
#include "resources/Strings.h"
#include "support/FormTestSupport.h"
#include "support/ScaledWidths.h"
#include "support/TestDatabase.h"
#include "widgets/CPhotoCtrl.h"
#include "widgets/CReportList.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

using FormTest::button;
using FormTest::click;
using FormTest::field;
using FormTest::onNextModal;
using FormTest::type;
using Answer = MessageService::Answer;
const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);
// A name with both kinds of quotes, as a filter would cut it off if it pasted it in.
const QString kQuoted = QStringLiteral("12\" VINYL 'LIVE'");

class MerchandiseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DefaultPictures::writeAll(database.dir(), nullptr));
        database.exec("INSERT INTO T_Stamm_Artikelgruppe (Artikelgruppe, Beschreibung, Kategorie, "
                      "fDeleted) VALUES ('TONTRÄGER', 'CDs', 0, 0), ('TEXTIL', 'Shirts', 1, 0), "
                      "('ALT', 'früher', 0, -1)");
    }
    QString query(const QString& sql) { return database.db().queryText(sql.toStdString()); }
    // Columns of an article as SQLite quotes them (NULL, 'text', 12.5), joined by "|".
    QString stored(const QString& columns, int key) {
        QString joined = columns;
        joined.replace(QStringLiteral(", "), QStringLiteral(")||'|'||quote("));
        return query(QStringLiteral("SELECT quote(%1) FROM T_Stamm_Artikel WHERE ArtikelID=%2")
                         .arg(joined)
                         .arg(key));
    }
    // The groups as "name|description|category|deleted", by name.
    QString groups() {
        return query("SELECT group_concat(g, ',') FROM (SELECT Artikelgruppe||'|'||"
                     "coalesce(Beschreibung,'')||'|'||Kategorie||'|'||fDeleted AS g FROM "
                     "T_Stamm_Artikelgruppe ORDER BY Artikelgruppe)");
    }
    int addArticle(const QString& group, const QString& name, const QString& more = QString(),
                   const QString& values = QString()) {
        const QString sql = QStringLiteral("INSERT INTO T_Stamm_Artikel (Artikelgruppe, Artikel%1) "
                                           "VALUES (%2, %3%4)")
                                .arg(more, quote(group), quote(name), values);
        database.exec(sql.toUtf8().constData());
        return query(QStringLiteral("SELECT max(ArtikelID) FROM T_Stamm_Artikel")).toInt();
    }
    static QString quote(const QString& text) {
        QString doubled = text;
        doubled.replace(u'\'', QStringLiteral("''"));
        return u'\'' + doubled + u'\'';
    }
    std::unique_ptr<CArtikelDlg> open(std::int32_t key) {
        auto form = std::make_unique<CArtikelDlg>(database.db(), profile, database.dir(), key);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    int saveAndClose(QDialog& form) {
        messages.queueAnswer(Answer::Yes);
        click(form, "&Ende");
        return form.result();
    }
    // The entries of a drop-down list, the chosen one in brackets.
    static QString entries(QComboBox* list) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << (row == list->currentIndex() ? u'[' + list->itemText(row) + u']'
                                                  : list->itemText(row));
        return texts.join(u',');
    }
    static void choose(QComboBox* list, const QString& text) {
        const int row = list->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        list->setCurrentIndex(row);
        Q_EMIT list->activated(row);
    }
    QString file(const QString& name) const { return database.dir() + u'/' + name; }

    TestDatabase database;
    CProfileFile profile{database.dir() + QStringLiteral("/Kavio.ini")};
    MessageRecorder messages;
};

// --- storing groups ------------------------------------------------------------------------

TEST_F(MerchandiseTest, GroupNamesWithQuotesAreStoredAndFoundExactly) {
    using ArticleGroups::Result;
    CDatabase& db = database.db();
    ASSERT_EQ(ArticleGroups::store(db, {}, {kQuoted, QStringLiteral("Platten"), 0}),
              Result::Stored);
    ASSERT_EQ(ArticleGroups::store(db, {}, {QStringLiteral("12\" VINYL"), {}, 1}), Result::Stored);
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe"), 5);

    // Added again under the same name: the group is updated, not doubled.
    ASSERT_EQ(ArticleGroups::store(db, {}, {kQuoted, QStringLiteral("LPs"), 1}), Result::Stored);
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe"), 5);
    EXPECT_EQ(groups(), "12\" VINYL||1|0,12\" VINYL 'LIVE'|LPs|1|0,ALT|früher|0|-1,"
                        "TEXTIL|Shirts|1|0,TONTRÄGER|CDs|0|0");

    // Renamed, its articles go along, an article of the group with the shorter name stays.
    const int lp = addArticle(kQuoted, QStringLiteral("Live-LP"));
    const int single = addArticle(QStringLiteral("12\" VINYL"), QStringLiteral("Maxi"));
    ASSERT_EQ(ArticleGroups::store(db, kQuoted, {QStringLiteral("VINYL 'LIVE' \"2\""), {}, 0}),
              Result::Stored);
    EXPECT_EQ(stored("Artikelgruppe", lp), "'VINYL ''LIVE'' \"2\"'");
    EXPECT_EQ(stored("Artikelgruppe", single), "'12\" VINYL'");
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe", "Artikelgruppe LIKE '12\" VINYL ''%'"), 0);
}

TEST_F(MerchandiseTest, RenamingMovesTheArticlesButNotThePastSalesAndNeverOntoAnotherGroup) {
    using ArticleGroups::Result;
    CDatabase& db = database.db();
    const int cd = addArticle(QStringLiteral("TONTRÄGER"), QStringLiteral("CD"));
    const int gone = addArticle(QStringLiteral("TONTRÄGER"), QStringLiteral("MC"), ", fDeleted",
                                QStringLiteral(", -1"));
    const int shirt = addArticle(QStringLiteral("TEXTIL"), QStringLiteral("Shirt"));
    database.exec("INSERT INTO T_Event_Merchandising (EventID, ArtikelID, Artikelgruppe, Artikel, "
                  "Menge) VALUES (1, 1, 'TONTRÄGER', 'CD', 3)");

    ASSERT_EQ(ArticleGroups::store(db, QStringLiteral("TONTRÄGER"),
                                   {QStringLiteral("MUSIK"), QStringLiteral("CDs"), 0}),
              Result::Stored);
    EXPECT_EQ(stored("Artikelgruppe", cd) + stored("Artikelgruppe", gone), "'MUSIK''MUSIK'");
    EXPECT_EQ(stored("Artikelgruppe", shirt), "'TEXTIL'");
    EXPECT_EQ(query("SELECT Artikelgruppe FROM T_Event_Merchandising"), "TONTRÄGER");

    // Onto another group's name, deleted or not: refused, nothing written.
    const QString before = groups();
    for (const char* taken : {"TEXTIL", "textil", "ALT"}) {
        EXPECT_EQ(ArticleGroups::store(db, QStringLiteral("MUSIK"),
                                       {QString::fromUtf8(taken), QStringLiteral("x"), 1}),
                  Result::NameTaken)
            << taken;
    }
    EXPECT_EQ(groups(), before);
    EXPECT_EQ(stored("Artikelgruppe", cd), "'MUSIK'");

    // A failed write of one article leaves the group and every article as they were.
    database.exec("CREATE TRIGGER refuse BEFORE UPDATE ON T_Stamm_Artikel WHEN "
                  "old.Artikel = 'MC' BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    EXPECT_THROW(ArticleGroups::store(db, QStringLiteral("MUSIK"), {QStringLiteral("TÖNE"), {}, 0}),
                 CDaoException);
    EXPECT_EQ(groups(), before);
    EXPECT_EQ(stored("Artikelgruppe", cd) + stored("Artikelgruppe", gone), "'MUSIK''MUSIK'");
}

TEST_F(MerchandiseTest, GroupAddedAgainAfterDeletionIsLiveAndSurvivesTheExit) {
    ASSERT_EQ(ArticleGroups::store(database.db(), {}, {QStringLiteral("ALT"), {}, 1}),
              ArticleGroups::Result::Stored);
    purgeDeletedMasterRecords(database.db());
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe", "Artikelgruppe='ALT'"), 1);
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe", "fDeleted<>0"), 0);
}

// --- the group list ------------------------------------------------------------------------

TEST_F(MerchandiseTest, GroupListAddsEditsAndDeletesGroups) {
    const int shirt = addArticle(QStringLiteral("TEXTIL"), QStringLiteral("Shirt"));
    CArtikelgruppenDlg form(database.db());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* list = form.findChild<QTreeWidget*>();
    const auto rows = [list] { return FormTest::listRows(*list, 2); };
    const auto chooseRow = [list](int row) { FormTest::clickRow(*list, row); };
    EXPECT_EQ(form.windowTitle(), "Artikelgruppen");
    EXPECT_EQ(list->headerItem()->text(0) + u'|' + list->headerItem()->text(1),
              "Artikel-Grp.|Beschreibung");
    EXPECT_EQ(rows(), "TEXTIL|Shirts,TONTRÄGER|CDs");
    EXPECT_FALSE(button(form, "&Bearbeiten...")->isEnabled() ||
                 button(form, "&Löschen")->isEnabled());

    // A new group: typed in capitals, refused without a name, stored with its category.
    onNextModal([this](QDialog& add) {
        EXPECT_EQ(add.windowTitle(), "Artikelgruppe hinzufügen");
        EXPECT_TRUE(button<QRadioButton>(add, "Tonträger")->isChecked());
        type(add, "Beschreibung", QStringLiteral("Platten"));
        EXPECT_EQ(saveAndClose(add), QDialog::Rejected);
        EXPECT_EQ(messages.texts().value(messages.texts().size() - 1),
                  "Geben Sie bitte einen Namen für die Artikelgruppe ein.");
        EXPECT_EQ(add.focusWidget(), field(add, "Artikelgruppe"));
        type(add, "Artikelgruppe", QStringLiteral("12\" vinyl 'live'"));
        EXPECT_EQ(field(add, "Artikelgruppe")->text(), kQuoted);
        click(add, "Sonstiges");
        EXPECT_EQ(saveAndClose(add), QDialog::Accepted);
    });
    click(form, "&Hinzufügen...");
    EXPECT_EQ(rows(), "[12\" VINYL 'LIVE'|Platten],TEXTIL|Shirts,TONTRÄGER|CDs");
    EXPECT_TRUE(button(form, "&Bearbeiten...")->isEnabled() &&
                button(form, "&Löschen")->isEnabled());

    // Under an existing name, and under the name of a deleted group: that group, listed once.
    for (const char* name : {"textil", "alt"}) {
        onNextModal([this, name](QDialog& add) {
            type(add, "Artikelgruppe", QString::fromUtf8(name));
            type(add, "Beschreibung", QStringLiteral("neu"));
            EXPECT_EQ(saveAndClose(add), QDialog::Accepted);
        });
        click(form, "&Hinzufügen...");
    }
    EXPECT_EQ(rows(), "12\" VINYL 'LIVE'|Platten,[ALT|neu],TEXTIL|neu,TONTRÄGER|CDs");
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe"), 4);

    // Renamed: the form shows the group, the articles go along; another group's name is refused.
    chooseRow(2);
    onNextModal([this](QDialog& edit) {
        EXPECT_EQ(edit.windowTitle(), "Artikelgruppe bearbeiten");
        EXPECT_EQ(field(edit, "Artikelgruppe")->text() + field(edit, "Beschreibung")->text(),
                  "TEXTILneu");
        // Added again with the category of a new group, sound carriers.
        EXPECT_TRUE(button<QRadioButton>(edit, "Tonträger")->isChecked());
        type(edit, "Artikelgruppe", QStringLiteral("alt"), true);
        messages.clear();
        EXPECT_EQ(saveAndClose(edit), QDialog::Rejected);
        EXPECT_EQ(messages.texts().value(messages.texts().size() - 1),
                  "Eine Artikelgruppe \"ALT\" gibt es bereits.");
        type(edit, "Artikelgruppe", QStringLiteral("Kleidung"), true);
        EXPECT_EQ(saveAndClose(edit), QDialog::Accepted);
    });
    click(form, "&Bearbeiten...");
    EXPECT_EQ(rows(), "12\" VINYL 'LIVE'|Platten,ALT|neu,[KLEIDUNG|neu],TONTRÄGER|CDs");
    EXPECT_EQ(stored("Artikelgruppe", shirt), "'KLEIDUNG'");

    // Deleted: flagged; the entry now in its place, or the last one, is selected.
    const std::pair<int, const char*> deletions[] = {
        {3, "12\" VINYL 'LIVE'|Platten,ALT|neu,[KLEIDUNG|neu]"}, {0, "[ALT|neu],KLEIDUNG|neu"}};
    for (const auto& [row, after] : deletions) {
        const QString name = list->topLevelItem(row)->text(0);
        chooseRow(row);
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        click(form, "&Löschen");
        EXPECT_EQ(messages.texts(),
                  QStringList{QStringLiteral("Soll \"%1\" wirklich gelöscht werden?").arg(name)});
        EXPECT_EQ(rows(), QString::fromUtf8(after));
    }
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe", "fDeleted<>0"), 2);
    EXPECT_EQ(database.count("T_Stamm_Artikelgruppe"), 4);
}

// --- the article form ----------------------------------------------------------------------

TEST_F(MerchandiseTest, NewArticleIsCheckedAndStoredWithItsPrices) {
    auto form = open(-1);
    EXPECT_EQ(form->windowTitle(), "Artikel hinzufügen");
    QComboBox* group = field<QComboBox>(*form, "Artikelgruppe");
    EXPECT_EQ(entries(group), "TEXTIL,TONTRÄGER");
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("labelWaehrung1"))->text(), "€");
    click(*form, "&Ende"); // untouched: nothing stored, nothing asked
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(messages.texts().isEmpty());

    form = open(-1);
    group = field<QComboBox>(*form, "Artikelgruppe");
    EXPECT_EQ(field(*form, "Artikel")->maxLength(), 30);
    EXPECT_EQ(field<QComboBox>(*form, "Label ")->lineEdit()->maxLength(), 50);
    EXPECT_EQ(field<QComboBox>(*form, "Interpret")->lineEdit()->maxLength(), 50);
    type(*form, "Preis 1", QStringLiteral("-3"));
    QTest::keyClicks(field<QComboBox>(*form, "Label ")->lineEdit(), QStringLiteral("Talklang"));
    QTest::keyClicks(field<QComboBox>(*form, "Interpret")->lineEdit(), QStringLiteral("Kraniche"));
    QTest::keyClicks(field<QPlainTextEdit>(*form, "Beschreibung"), QStringLiteral("14 Titel"));

    // Each refusal keeps the form open with the input; corrected, it saves.
    const char* const refusals[] = {"Ein Preis kann nicht kleiner als 0 sein.",
                                    Strings::kChooseEntry, "Bitte \"Artikel\" eingeben."};
    for (const char* message : refusals) {
        messages.clear();
        EXPECT_EQ(saveAndClose(*form), QDialog::Rejected);
        EXPECT_EQ(messages.texts(), (QStringList{kQuestion, QString::fromUtf8(message)}));
        if (messages.texts().value(messages.texts().size() - 1) == QString::fromUtf8(refusals[0]))
            type(*form, "Preis 1", QStringLiteral("12,5"), true);
        else if (group->currentIndex() < 0)
            choose(group, QStringLiteral("TONTRÄGER"));
    }
    EXPECT_EQ(form->focusWidget(), field(*form, "Artikel"));
    EXPECT_EQ(database.count("T_Stamm_Artikel"), 0);
    type(*form, "Artikel", QStringLiteral("CD \"Kranich\" 'live'"));
    type(*form, "Preis 2", QStringLiteral("0"));
    type(*form, "Preis 4", QStringLiteral("3.25"));
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    const int key = form->artikelId();
    EXPECT_EQ(stored("Artikelgruppe, Artikel, Label, Interpret, Artikelbeschreibung", key),
              "'TONTRÄGER'|'CD \"Kranich\" ''live'''|'Talklang'|'Kraniche'|'14 Titel'");
    EXPECT_EQ(stored("Preis1, Preis2, Preis3, Preis4, Fotopfad, fDeleted", key),
              "12.5|0.0|NULL|3.25|NULL|0");

    // Shown again: two decimals, 0 as empty; untouched prices keep their stored value.
    database.exec("UPDATE T_Stamm_Artikel SET Preis3 = 9.9899997711181640625");
    const QString prices = stored("Preis1, Preis2, Preis3, Preis4", key);
    form = open(key);
    EXPECT_EQ(form->windowTitle(), "Artikel bearbeiten");
    QStringList shown;
    for (const char* price : {"Preis 1", "Preis 2", "Preis 3", "Preis 4"})
        shown << field(*form, price)->text();
    EXPECT_EQ(shown.join(u'|'), "12,50||9,99|3,25");
    type(*form, "Artikel", QStringLiteral("!"));
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Preis1, Preis2, Preis3, Preis4", key), prices);
}

TEST_F(MerchandiseTest, OtherMerchandiseIsStoredWithoutLabelAndPerformer) {
    const int key = addArticle(QStringLiteral("TONTRÄGER"), QStringLiteral("CD"),
                               ", Label, Interpret", QStringLiteral(", 'Talklang', 'Kraniche'"));
    auto form = open(key);
    QComboBox* group = field<QComboBox>(*form, "Artikelgruppe");
    QComboBox* label = field<QComboBox>(*form, "Label ");
    EXPECT_EQ(entries(group), "TEXTIL,[TONTRÄGER]");
    EXPECT_TRUE(label->isVisible() && field<QComboBox>(*form, "Interpret")->isVisible());
    EXPECT_EQ(label->currentText(), "Talklang");

    // Hidden with their captions for "Sonstiges", shown again for sound carriers.
    choose(group, QStringLiteral("TEXTIL"));
    const QStringList hidden{QStringLiteral("labelLabel"), QStringLiteral("comboLabel"),
                             QStringLiteral("labelInterpret"), QStringLiteral("comboInterpret")};
    for (const QString& name : hidden)
        EXPECT_FALSE(form->findChild<QWidget*>(name)->isVisible()) << name.toStdString();
    choose(group, QStringLiteral("TONTRÄGER"));
    EXPECT_TRUE(label->isVisible());
    QTest::keyClicks(label->lineEdit(), QStringLiteral(" Records"));
    choose(group, QStringLiteral("TEXTIL"));
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Artikelgruppe, Label, Interpret", key), "'TEXTIL'|NULL|NULL");
}

TEST_F(MerchandiseTest, ArticleKeepsItsDeletedOrVanishedGroup) {
    const int old = addArticle(QStringLiteral("ALT"), QStringLiteral("Kassette"));
    const int vanished = addArticle(QStringLiteral("WEG"), QStringLiteral("Poster"));
    const int shirt = addArticle(QStringLiteral("TEXTIL"), QStringLiteral("Shirt"));

    auto form = open(old);
    EXPECT_EQ(entries(field<QComboBox>(*form, "Artikelgruppe")), "[ALT],TEXTIL,TONTRÄGER");
    type(*form, "Artikel", QStringLiteral("Kassette C60"), true);
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Artikelgruppe, Artikel", old), "'ALT'|'Kassette C60'");

    form = open(vanished);
    EXPECT_EQ(entries(field<QComboBox>(*form, "Artikelgruppe")), "TEXTIL,TONTRÄGER,[WEG]");
    type(*form, "Artikel", QStringLiteral("!"));
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Artikelgruppe", vanished), "'WEG'");

    // Offered to its own articles only.
    EXPECT_EQ(entries(field<QComboBox>(*open(shirt), "Artikelgruppe")), "[TEXTIL],TONTRÄGER");
}

TEST_F(MerchandiseTest, LabelsAndPerformersInUseAreOfferedOnceEach) {
    addArticle("TONTRÄGER", "A", ", Label, Interpret", ", 'Zett', 'Kraniche'");
    addArticle("TONTRÄGER", "B", ", Label, Interpret", ", 'Alpha', NULL");
    addArticle("TONTRÄGER", "C", ", Label, Interpret", ", 'Zett', 'Amseln'");
    addArticle("TONTRÄGER", "D", ", Label, fDeleted", ", 'Geheim', -1");
    auto form = open(-1);
    QComboBox* label = field<QComboBox>(*form, "Label ");
    QComboBox* performer = field<QComboBox>(*form, "Interpret");
    EXPECT_EQ(entries(label) + u'/' + entries(performer), "Alpha,Zett/Amseln,Kraniche");
    EXPECT_EQ(label->currentText() + performer->currentText(), QString());

    // Picked from the list, the choice counts as a change and is stored.
    choose(field<QComboBox>(*form, "Artikelgruppe"), QStringLiteral("TONTRÄGER"));
    type(*form, "Artikel", QStringLiteral("E"));
    form->markSaved();
    choose(label, QStringLiteral("Zett"));
    EXPECT_TRUE(form->isChanged());
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Label, Interpret", form->artikelId()), "'Zett'|NULL");
}

TEST_F(MerchandiseTest, NewGroupFromTheArticleFormIsChosen) {
    auto form = open(-1);
    onNextModal([this](QDialog& add) {
        EXPECT_EQ(add.windowTitle(), "Artikelgruppe hinzufügen");
        type(add, "Artikelgruppe", QStringLiteral("Kleinkram"));
        click(add, "Sonstiges");
        EXPECT_EQ(saveAndClose(add), QDialog::Accepted);
    });
    click(*form, "&Neue Artikelgruppe...");
    EXPECT_EQ(entries(field<QComboBox>(*form, "Artikelgruppe")), "[KLEINKRAM],TEXTIL,TONTRÄGER");
    EXPECT_FALSE(field<QComboBox>(*form, "Label ")->isVisible());
    EXPECT_TRUE(form->isChanged());
}

TEST_F(MerchandiseTest, PhotoIsInsertedShownAndRemoved) {
    ASSERT_TRUE(QDir(database.dir()).mkpath(QStringLiteral("fotos")));
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    const QString shirtPhoto = file(QStringLiteral("fotos/shirt.jpg"));
    ASSERT_TRUE(picture.save(shirtPhoto));
    const auto shows = [](CArtikelDlg& form, const QString& path) {
        const CPhotoCtrl* photo = form.findChild<CPhotoCtrl*>();
        return photo->isLoaded() && photo->picture().image() == QImage(path);
    };

    const int key = addArticle(QStringLiteral("TEXTIL"), QStringLiteral("Shirt"));
    auto form = open(key);
    EXPECT_FALSE(form->findChild<CPhotoCtrl*>()->isLoaded());
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

    // Picked: shown, stored, and the next dialog starts in the folder of the picked file.
    choice = shirtPhoto;
    click(*form, "&Foto einfügen");
    EXPECT_TRUE(shows(*form, shirtPhoto));
    EXPECT_EQ(profile.readText("PHOTO", "DirMerch", "-"), file(QStringLiteral("fotos")));
    choice.clear();
    click(*form, "&Foto einfügen");
    EXPECT_EQ(asked.at(4), file(QStringLiteral("fotos")));
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Fotopfad", key), quote(shirtPhoto));
    EXPECT_TRUE(shows(*open(key), shirtPhoto));

    // A photo file gone since shows the default article photo, without a message.
    database.exec("UPDATE T_Stamm_Artikel SET Fotopfad = 'weg.jpg'");
    EXPECT_TRUE(shows(*open(key), file(QStringLiteral("tshirt.jpg"))));
    EXPECT_TRUE(messages.texts().endsWith(kQuestion));

    form = open(key);
    click(*form, "Foto ent&fernen");
    EXPECT_FALSE(form->findChild<CPhotoCtrl*>()->isLoaded());
    ASSERT_EQ(saveAndClose(*form), QDialog::Accepted);
    EXPECT_EQ(stored("Fotopfad", key), "NULL");
}

// --- the article list ----------------------------------------------------------------------

TEST_F(MerchandiseTest, ArticleListShowsAddsEditsAndDeletesArticles) {
    addArticle("TONTRÄGER", "CD", ", Artikelbeschreibung, Preis1, Preis2",
               ", '14 Titel\nlive\r\naufgenommen', 15, 0");
    const int shirt = addArticle("TEXTIL", "Shirt", ", Preis1, Preis3", ", 19.9, 17.5");
    addArticle("TEXTIL", "Alt", ", fDeleted", ", -1");
    CArtikelverwaltungDlg form(database.db(), profile, database.dir());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* list = form.findChild<CReportList*>();
    const auto rows = [list] { return FormTest::listRows(*list, -1, u'\n'); };
    EXPECT_EQ(form.windowTitle(), "Fanartikelverwaltung");
    EXPECT_EQ(list->headerItem()->text(6), "Preis 4");
    EXPECT_EQ(rows(), "TEXTIL|Shirt||19,90||17,50|\n"
                      "TONTRÄGER|CD|14 Titel live aufgenommen|15,00|0,00||");
    EXPECT_FALSE(button(form, "Artikel &bearbeiten...")->isEnabled() ||
                 button(form, "Artikel l&öschen")->isEnabled());

    onNextModal([this](QDialog& add) {
        choose(field<QComboBox>(add, "Artikelgruppe"), QStringLiteral("TEXTIL"));
        type(add, "Artikel", QStringLiteral("Kappe"));
        type(add, "Preis 1", QStringLiteral("12"));
        EXPECT_EQ(saveAndClose(add), QDialog::Accepted);
    });
    click(form, "Artikel &hinzufügen...");
    EXPECT_EQ(rows(), "[TEXTIL|Kappe||12,00|||]\n"
                      "TEXTIL|Shirt||19,90||17,50|\n"
                      "TONTRÄGER|CD|14 Titel live aufgenommen|15,00|0,00||");

    list->selectKey(shirt);
    onNextModal([this](QDialog& edit) {
        EXPECT_EQ(edit.windowTitle(), "Artikel bearbeiten");
        type(edit, "Artikel", QStringLiteral("Zipper"), true);
        EXPECT_EQ(saveAndClose(edit), QDialog::Accepted);
    });
    click(form, "Artikel &bearbeiten...");
    const QString cd = QStringLiteral("TONTRÄGER|CD|14 Titel live aufgenommen|15,00|0,00||");
    EXPECT_EQ(rows(), "TEXTIL|Kappe||12,00|||\n[TEXTIL|Zipper||19,90||17,50|]\n" + cd);

    // Deleted: asked with its name, flagged, gone from the list.
    messages.clear();
    messages.queueAnswer(Answer::Yes);
    click(form, "Artikel l&öschen");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Soll \"Zipper\" wirklich gelöscht werden?")});
    EXPECT_EQ(stored("fDeleted", shirt), "-1");
    EXPECT_EQ(rows(), "TEXTIL|Kappe||12,00|||\n" + cd);
    EXPECT_FALSE(button(form, "Artikel &bearbeiten...")->isEnabled());

    // The column widths: the default, stored when the form closes.
    QStringList widths;
    for (int column = 0; column < list->columnCount(); ++column)
        widths << QString::number(list->header()->sectionSize(column));
    EXPECT_EQ(leading(widths.join(u',')), leading(scaledWidths("77,143,113,52,51,53,50", *list)));
    list->header()->resizeSection(1, 200);
    click(form, "&Ende");
    EXPECT_EQ(leading(profile.readText("LIST_COLS", "Product", "-")),
              leading(scaledWidths("77,143,113,52,51,53,50", *list, {{1, 200}})));
}

// --- from the main window ----------------------------------------------------------------

class MerchandiseFromMainWindowTest : public RunningProgramTest {};

TEST_F(MerchandiseFromMainWindowTest, MenuOpensGroupsAndArticles) {
    const struct {
        CMainMenu::Command command;
        const char* title;
    } commands[] = {{CMainMenu::ArticleGroups, "Artikelgruppen"},
                    {CMainMenu::Articles, "Fanartikelverwaltung"}};
    for (const auto& [command, title] : commands) {
        QAction* action = frame->mainMenu()->action(command);
        ASSERT_TRUE(action->isEnabled()) << title;
        QString shown;
        onNextModal([&shown](QDialog& form) {
            shown = form.windowTitle();
            click(form, "&Ende");
        });
        action->trigger();
        EXPECT_EQ(shown, QString::fromUtf8(title));
    }
}

} // namespace
