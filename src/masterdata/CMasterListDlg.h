#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>

class CDatabase;
class CProfileFile;
class CReportList;
class QPushButton;
struct SettingKey;

// The shape of a small master list (hotels, the vehicles of a car-hire firm, GEMA district
// offices): a report list whose widths live in Kavio.ini, "new", "edit" (also a double click)
// and "delete" for the selected row, and "&Ende".
//
// After a form stored a row the list is read again and that row selected. Deleting asks "Soll
// \"%s\" wirklich gelöscht werden?" with the text of the row's first column; afterwards the row
// now at the same place is selected, or the last row when the deleted one was the last.
class CMasterListDlg : public QDialog {
    Q_OBJECT
public:
    ~CMasterListDlg() override;

    // Stores the list's widths, whichever way the dialog closes.
    void done(int result) override;

    void onNew();
    void onEdit();
    void onDelete();

protected:
    CMasterListDlg(CDatabase& db, QWidget* parent);

    CDatabase& database() const { return m_db; }
    CReportList& list() const { return *m_list; }

    // Called by the dialog's constructor once its controls exist: sets up the columns, wires the
    // buttons and fills the list.
    void setUpList(CProfileFile& profile, const SettingKey& widths, const QStringList& titles,
                   CReportList* list, QPushButton* newButton, QPushButton* editButton,
                   QPushButton* deleteButton, QPushButton* endButton);

    // Adds the rows, each with its key. Throws CDaoException.
    virtual void fillRows() = 0;
    // Opens the form of a row (-1: a new row). True when the form stored the row; `saved` then
    // names the row to select once the list is filled again.
    virtual bool openForm(std::int32_t key, std::int32_t& saved) = 0;
    // Deletes (or flags) the row. Throws CDaoException; the row then stays as it was.
    virtual void deleteRow(std::int32_t key) = 0;
    // The key the list gives the row `saved` named once it is filled again (keys of rows that
    // carry no number of their own change with every fill).
    virtual std::int32_t keyAfterFill(std::int32_t saved) const { return saved; }

    // Fills the list again and selects the row with that key (none for -1).
    void refill(std::int32_t select);
    void selectRow(int index);

private:
    void updateButtons();

    CDatabase& m_db;
    CReportList* m_list = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
};
