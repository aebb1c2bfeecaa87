#pragma once

#include "core/LineUp.h"
#include "core/PlanningContext.h"
#include "widgets/CFormDialog.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDatabase;
class CProfileFile;

namespace Ui {
class CPlanBesetzungDlg;
}

// "Besetzung planen": which of the band's musicians play at an event. On the left the musicians
// not in the line-up, optionally only those who play a chosen instrument; on the right the
// line-up. Rows move by "-->" and "<--" or by dragging them between the lists. The line-up is
// written when the form saves; a standard line-up can be stored and loaded into any event.
class CPlanBesetzungDlg : public CFormDialog {
    Q_OBJECT
public:
    CPlanBesetzungDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& event,
                      QWidget* parent = nullptr);
    ~CPlanBesetzungDlg() override;

    // False when the event's line-up could not be read: the error has been shown, and the form
    // is not to be shown, so that an empty list is never saved over the stored line-up.
    bool isReady() const { return m_ready; }

    // The musicians of the line-up list, top to bottom.
    QList<std::int32_t> lineUpKeys() const;

public Q_SLOTS:
    // Moves the musician from the musician list into the line-up ("-->" or a drop).
    void moveIn(std::int32_t musicianId);
    // Takes the musician out of the line-up ("<--" or a drop).
    void moveOut(std::int32_t musicianId);

protected:
    bool save() override;
    void done(int result) override;

private:
    void showLineUp(const std::vector<LineUp::Row>& rows);
    void fillInstrumentChoice();
    void fillMusicians();
    void chooseStandard();
    void storeAsStandard();
    // Writes the line-up list as the line-up of the event key. False when a row failed; every
    // error has been shown.
    bool storeLineUp(std::int32_t eventId);

    CDatabase& m_db;
    const PlanningContext m_event;
    LineUp::InstrumentTable m_instruments;
    // A move between the lists or the standard loaded: the line-up list is to be written.
    bool m_lineUpChanged = false;
    bool m_ready = true;
    std::unique_ptr<Ui::CPlanBesetzungDlg> m_ui;
};
