#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;

namespace Ui {
class CArtikelverwaltungDlg;
}

// "Fanartikelverwaltung": the live merchandise articles (T_Stamm_Artikel) by group and name with
// their prices, with adding, editing and deleting. Deleting only flags an article: past sales
// keep it. The column widths live in Kavio.ini under "Product".
class CArtikelverwaltungDlg : public QDialog {
    Q_OBJECT
public:
    CArtikelverwaltungDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                          QWidget* parent = nullptr);
    ~CArtikelverwaltungDlg() override;

    void onAdd();
    void onEdit();
    void onDelete();

    // Stores the column widths, whichever way the form closes.
    void done(int result) override;

private:
    // Reads the articles again and selects the one with the key (none: no selection).
    void fillList(std::int32_t selectKey = -1);
    void updateButtons();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const QString m_programDirectory;
    std::unique_ptr<Ui::CArtikelverwaltungDlg> m_ui;
};
