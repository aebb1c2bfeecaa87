#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class CDatabase;
class CProfileFile;

namespace Ui {
class CEventSelectDlg;
}

// "Event wählen": every event, latest first, with its planning state, times, organiser and
// venue; "&Weiter" or a double click returns the chosen event. The column widths live in
// Kavio.ini under "EventSelect". The form never writes to the database.
class CEventSelectDlg : public QDialog {
    Q_OBJECT
public:
    CEventSelectDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr);
    ~CEventSelectDlg() override;

    // The chosen event (EventID), or -1.
    std::int32_t eventId() const { return m_eventId; }

    void done(int result) override;

private:
    void fill(CDatabase& db);
    void onWeiter();

    std::int32_t m_eventId = -1;
    std::unique_ptr<Ui::CEventSelectDlg> m_ui;
};
