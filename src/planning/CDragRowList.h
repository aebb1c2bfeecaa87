#pragma once

#include "widgets/CReportList.h"

// A report list whose rows can be dragged onto itself or onto another such list of the same
// window. The list moves nothing by itself: a drop only reports which row of which list was
// dropped on which row, and the form decides what that means.
class CDragRowList : public CReportList {
    Q_OBJECT
public:
    explicit CDragRowList(QWidget* parent = nullptr);

    // The format of the dragged data: the object name of the list and the row, "name:row".
    static const char* const kMimeType;

Q_SIGNALS:
    // `source` is the list the row came from (this list or another of the same window);
    // `targetRow` is the row under the cursor, or -1 below the last row.
    void rowDropped(CDragRowList* source, int sourceRow, int targetRow);

protected:
    QStringList mimeTypes() const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The list and row the data names, when the list belongs to this window.
    CDragRowList* sourceOf(const QMimeData* data, int* row) const;
};
