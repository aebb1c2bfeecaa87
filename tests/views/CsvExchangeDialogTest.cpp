// The CSV import dialog: the user picks a file, reads the preview, and only "Importieren"
// writes; the lists hear of it. The export writes the chosen table.
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "data/RecordSets.h"
#include "support/FormTestSupport.h"
#include "support/TestDatabase.h"
#include "views/CDatenaustauschDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CsvExchangeDialogTest, ImportShowsThePreviewAndWritesOnlyOnConfirmation) {
    TestDatabase db;
    const QString path = db.dir() + QStringLiteral("/Musiker.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Name;Vorname;Schuhgr\xC3\xB6\xC3\x9F"
               "e\nBerg;Ida;38\n;Ohne;40\n");
    file.close();

    MessageRecorder messages;
    CDatenaustauschDlg dialog(db.db(), CDatenaustauschDlg::Mode::Import);
    dialog.findChild<QComboBox*>()->setCurrentIndex(1); // Musiker
    dialog.setFilePicker([&path](QWidget*, bool save, const QString&) {
        EXPECT_FALSE(save);
        return path;
    });
    QPushButton* confirm = FormTest::button(dialog, "&Importieren");
    EXPECT_FALSE(confirm->isEnabled()) << "nothing to import before a file is chosen";
    FormTest::click(dialog, "&Auswählen...");
    const QString preview = dialog.findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_TRUE(preview.contains(QStringLiteral("Unbekannte Spalten (werden nicht eingelesen): "
                                                "Schuhgröße")))
        << preview.toStdString();
    EXPECT_TRUE(preview.contains(QStringLiteral("Neu: 1 Musiker"))) << preview.toStdString();
    EXPECT_TRUE(preview.contains(QStringLiteral("Abgewiesen: 1 Zeile"))) << preview.toStdString();
    EXPECT_TRUE(preview.contains(QStringLiteral("Zeile 3: \"Name\" fehlt.")))
        << preview.toStdString();
    EXPECT_EQ(db.count("T_Stamm_Musiker"), 0);

    std::vector<ChangeNotifier::Topic> changes;
    const QMetaObject::Connection listening =
        QObject::connect(&ChangeNotifier::instance(), &ChangeNotifier::changed,
                         [&changes](ChangeNotifier::Topic topic) { changes.push_back(topic); });
    ASSERT_TRUE(confirm->isEnabled());
    FormTest::click(dialog, "&Importieren");
    EXPECT_EQ(db.count("T_Stamm_Musiker", "MName='Berg' AND MVorname='Ida' AND fDeleted=0"), 1);
    QObject::disconnect(listening);
    EXPECT_EQ(changes, std::vector<ChangeNotifier::Topic>{ChangeNotifier::Topic::Musicians});
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Import der Musiker abgeschlossen – neu: 1 Musiker, "
                                         "geändert: 0 Musiker, unverändert: 0 Musiker, "
                                         "abgewiesen: 1 Zeile.")});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(CsvExchangeDialogTest, ATypedPathShowsItsPreviewAndEnterImportsNothing) {
    TestDatabase db;
    const QString path = db.dir() + QStringLiteral("/Songs.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Titel;Tempo\nAtemlos;128\n");
    file.close();

    MessageRecorder messages;
    CDatenaustauschDlg dialog(db.db(), CDatenaustauschDlg::Mode::Import);
    dialog.setFilePicker([](QWidget*, bool, const QString&) {
        ADD_FAILURE() << "Enter in the path field opened the file picker";
        return QString();
    });
    dialog.show();
    auto* combo = dialog.findChild<QComboBox*>();
    // The longest table name fits the box.
    EXPECT_GE(combo->width(), combo->fontMetrics().horizontalAdvance(
                                  QStringLiteral("Firmen mit Ansprechpartnern")));
    QLineEdit* edit = FormTest::field(dialog, "&Datei");
    edit->setFocus();
    FormTest::type(dialog, "&Datei", QDir::toNativeSeparators(path));
    QTest::keyClick(edit, Qt::Key_Return);
    const QString preview = dialog.findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_TRUE(preview.contains(QStringLiteral("Neu: 1 Song"))) << preview.toStdString();
    EXPECT_EQ(db.count("T_Stamm_Songliste"), 0) << "Enter in the path field only reads the file";
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_TRUE(FormTest::button(dialog, "&Importieren")->isEnabled());

    // A path being typed disables the import until its own preview is shown.
    FormTest::type(dialog, "&Datei", QStringLiteral(".bak"));
    EXPECT_FALSE(FormTest::button(dialog, "&Importieren")->isEnabled());
    FormTest::click(dialog, "&Importieren");
    EXPECT_EQ(db.count("T_Stamm_Songliste"), 0);

    // A path that names no file says so.
    FormTest::type(dialog, "&Datei", path + QStringLiteral(".fehlt"), true);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.findChild<QPlainTextEdit*>()->toPlainText().startsWith(
        QStringLiteral("Die Datei kann nicht gelesen werden")));
    EXPECT_FALSE(FormTest::button(dialog, "&Importieren")->isEnabled());
}

TEST(CsvExchangeDialogTest, ExportWritesTheChosenTable) {
    TestDatabase db;
    {
        CSetStammSongliste song(db.db());
        song.open(QStringLiteral("[SongID]=0"));
        song.addNew();
        song.setText("Titel", QStringLiteral("Über den Wolken"));
        song.update();
    }
    const QString path = db.dir() + QStringLiteral("/Songs.csv");
    MessageRecorder messages;
    CDatenaustauschDlg dialog(db.db(), CDatenaustauschDlg::Mode::Export);
    dialog.setFilePicker([&path](QWidget*, bool save, const QString& suggestion) {
        EXPECT_TRUE(save);
        EXPECT_TRUE(suggestion.endsWith(QStringLiteral("Songs.csv")));
        return path;
    });
    dialog.show();
    auto* combo = dialog.findChild<QComboBox*>();
    EXPECT_GE(combo->width(), combo->fontMetrics().horizontalAdvance(
                                  QStringLiteral("Firmen mit Ansprechpartnern")));
    FormTest::click(dialog, "&Exportieren...");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    EXPECT_TRUE(data.startsWith("\xEF\xBB\xBFNr.;Titel;Interpret;"));
    EXPECT_TRUE(data.contains("\r\n1;\xC3\x9C"
                              "ber den Wolken;;"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
