#pragma once

#include "core/GigUpdateSelection.h"

#include <QDialog>

#include <memory>

class CDatabase;
class CProfileFile;

namespace Ui {
class CGigUpdateDlg;
}

// "Drucken Gig-Update": the period, the event statuses and, with "Gig-Update individuell", the
// crew members to print the Gig-Update for one by one. The crew list shows the musicians,
// technicians and backliners booked for the events the period and statuses cover, each with
// the number of those events, and follows every change of dates and statuses. "&Drucken"
// returns the selection. The column widths live in Kavio.ini under "Prt_GigUpdate". The form
// never writes to the database.
class CGigUpdateDlg : public QDialog {
    Q_OBJECT
public:
    // today: the first day of the period offered.
    CGigUpdateDlg(CDatabase& db, CProfileFile& profile, const QDate& today,
                  QWidget* parent = nullptr);
    ~CGigUpdateDlg() override;

    // What "&Drucken" handed over.
    const GigUpdate::Selection& selection() const { return m_selection; }

    void done(int result) override;

private:
    GigUpdate::Selection readForm() const;
    void fillCrew();
    void updateCrewEnabled();
    void onDrucken();

    CDatabase& m_db;
    GigUpdate::Selection m_selection;
    std::unique_ptr<Ui::CGigUpdateDlg> m_ui;
};
