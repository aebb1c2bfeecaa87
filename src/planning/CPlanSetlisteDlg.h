#pragma once

#include "core/PlanningContext.h"
#include "core/SetList.h"
#include "views/PrintRegistration.h"
#include "widgets/CFormDialog.h"

#include <cstdint>
#include <memory>

class CDatabase;
class CDragRowList;
class CPrintPreviewWindow;
class CProfileFile;

namespace Ui {
class CPlanSetlisteDlg;
}

// "Setlisten erstellen": the set list of one event. The band's song list on the left, the set
// list on the right: sets headed "Set 1", "Set 2" ..., each an ordered list of songs copied
// from the song list. Songs are added, removed and moved with the buttons or by dragging; a
// copy can be edited for this event without changing the song list.
//
// The set list is kept in the form until it is saved; saving replaces the event's stored set
// list (T_Event_Setliste with its T_Event_Setliste_Songs) in one transaction. The column widths
// of both lists live in Kavio.ini under "PlanSonglist" and "PlanSetlist".
class CPlanSetlisteDlg : public CFormDialog {
    Q_OBJECT
public:
    CPlanSetlisteDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& event,
                     QWidget* parent = nullptr);
    ~CPlanSetlisteDlg() override;

    // The set list among the planning areas (its status column Stat_Plan_Setliste).
    static constexpr int kPlanningArea = 7;

    // False when the stored set list could not be read (the error has been shown): such a form
    // is not shown, so that it never saves over the stored set list.
    bool isReady() const { return m_ready; }
    // The set list as the form holds it.
    const SetList::Entries& entries() const { return m_entries; }

    // What the print buttons hand the event over to.
    enum class Print { SetList, Gema };
    // Where the print command of the previews opened from here goes: the set list, or the GEMA
    // form while that is open.
    PrintRegistration& printRegistration() { return m_printRegistration; }

    // Stores the column widths and clears the print registration, whichever way the form
    // closes.
    void done(int result) override;

protected:
    bool save() override;

private:
    void fillSongs();
    void showEntries(int selectRow);
    int selectedSetListRow() const;
    void updateButtons();
    void markSetListChanged();

    void onCopySong();
    void onRemoveRow();
    void onNewSet();
    void onEditSong();
    void onEditSetListSong();
    void onEditSongList();
    void onDeleteSetList();
    void onPrint(Print kind);
    void onDropped(CDragRowList* target, CDragRowList* source, int sourceRow, int targetRow);
    // The one place where the set-list print and the GEMA music report take over the event.
    void handOverToPrint(Print kind);
    // The preview of the set-list print; while it is open, printing again brings it to the
    // front.
    void previewSetList();

    CDatabase& m_db;
    CProfileFile& m_profile;
    const PlanningContext m_event;
    SetList::Entries m_entries;
    bool m_ready = false;
    // The set list differs from the stored one (the status group keeps its own "touched").
    bool m_setListChanged = false;
    CPrintPreviewWindow* m_preview = nullptr;
    PrintSource m_setListSource;
    PrintRegistration m_printRegistration;
    std::unique_ptr<Ui::CPlanSetlisteDlg> m_ui;
};
