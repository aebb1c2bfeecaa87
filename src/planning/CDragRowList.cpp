#include "CDragRowList.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

const char* const CDragRowList::kMimeType = "application/x-vorlanto-row";

CDragRowList::CDragRowList(QWidget* parent) : CReportList(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A drop lands on the row under the cursor, never between two rows.
    setDragDropOverwriteMode(true);
    setDefaultDropAction(Qt::MoveAction);
}

QStringList CDragRowList::mimeTypes() const {
    return {QString::fromLatin1(kMimeType)};
}

void CDragRowList::startDrag(Qt::DropActions) {
    QTreeWidgetItem* row = currentItem();
    if (!row || objectName().isEmpty())
        return;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimeType),
                  QStringLiteral("%1:%2").arg(objectName()).arg(indexOfTopLevelItem(row)).toUtf8());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

CDragRowList* CDragRowList::sourceOf(const QMimeData* data, int* row) const {
    if (!data || !data->hasFormat(QString::fromLatin1(kMimeType)))
        return nullptr;
    const QString text = QString::fromUtf8(data->data(QString::fromLatin1(kMimeType)));
    const int colon = text.lastIndexOf(u':');
    if (colon <= 0)
        return nullptr;
    bool ok = false;
    const int sourceRow = text.mid(colon + 1).toInt(&ok);
    if (!ok || sourceRow < 0)
        return nullptr;
    const QString name = text.left(colon);
    CDragRowList* source = name == objectName() ? const_cast<CDragRowList*>(this)
                                                : window()->findChild<CDragRowList*>(name);
    if (!source || sourceRow >= source->topLevelItemCount())
        return nullptr;
    if (row)
        *row = sourceRow;
    return source;
}

void CDragRowList::dragEnterEvent(QDragEnterEvent* event) {
    if (!sourceOf(event->mimeData(), nullptr)) {
        event->ignore();
        return;
    }
    CReportList::dragEnterEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void CDragRowList::dragMoveEvent(QDragMoveEvent* event) {
    if (!sourceOf(event->mimeData(), nullptr)) {
        event->ignore();
        return;
    }
    // The base draws the mark on the row under the cursor and scrolls near the edges.
    CReportList::dragMoveEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void CDragRowList::dropEvent(QDropEvent* event) {
    int sourceRow = -1;
    CDragRowList* source = sourceOf(event->mimeData(), &sourceRow);
    if (!source) {
        event->ignore();
        return;
    }
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    const int targetRow = target ? indexOfTopLevelItem(target) : -1;
    // The rows are changed by whoever listens, not by the view's own drop handling.
    event->setDropAction(Qt::MoveAction);
    event->accept();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    Q_EMIT rowDropped(source, sourceRow, targetRow);
}
