#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;

namespace Ui {
class CSonglisteDlg;
}

// "Songliste": the band's songs (T_Stamm_Songliste) in the order of their titles, with adding,
// editing and deleting. A song has no deletion flag: deleting removes it at once; set lists keep
// their own copies of its values.
//
// The column widths live in Kavio.ini under "Songlist". The dialog is accepted whenever a song
// was added, changed or deleted while it was open, however it is closed, so that a caller
// showing songs reads them again.
class CSonglisteDlg : public QDialog {
    Q_OBJECT
public:
    CSonglisteDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr);
    ~CSonglisteDlg() override;

    void onNew();
    void onEdit();
    void onDelete();

    // Stores the column widths, whichever way the dialog closes.
    void done(int result) override;

private:
    void fillList();
    void selectRow(int row);
    void updateButtons();

    CDatabase& m_db;
    bool m_changed = false;
    std::unique_ptr<Ui::CSonglisteDlg> m_ui;
};
