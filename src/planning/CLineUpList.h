#pragma once

#include "widgets/CReportList.h"

#include <cstdint>

class QMimeData;

// One of the two lists of the line-up form. Rows are dragged from one list to its partner,
// with the dragged rows as the drag image; a drop on the partner reports the dragged
// musicians, a drop anywhere else does nothing.
class CLineUpList : public CReportList {
    Q_OBJECT
public:
    explicit CLineUpList(QWidget* parent = nullptr);

    // The list whose rows may be dropped here (and which takes this list's rows).
    void setPartner(CLineUpList* partner) { m_partner = partner; }

    // What a drag of the selected row carries: the musician's key and the list it comes from.
    // Nullptr without a selection.
    QMimeData* dragData() const;
    // The musician a drag carries when it may be dropped on this list, or -1.
    std::int32_t acceptedMusician(const QMimeData* data) const;

Q_SIGNALS:
    // A musician of the partner list was dropped here.
    void musicianDropped(std::int32_t musicianId);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QPixmap dragImage() const;

    CLineUpList* m_partner = nullptr;
};
