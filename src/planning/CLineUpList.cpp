#include "CLineUpList.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>

namespace {

const QString kMusicianFormat = QStringLiteral("application/x-vorlanto-musician");

} // namespace

CLineUpList::CLineUpList(QWidget* parent) : CReportList(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

QMimeData* CLineUpList::dragData() const {
    const std::int32_t key = selectedKey();
    if (key < 0)
        return nullptr;
    auto* data = new QMimeData;
    // The source list travels with the key, so that only the partner list takes the row.
    data->setData(kMusicianFormat, QByteArray::number(reinterpret_cast<quintptr>(this)) + ' ' +
                                       QByteArray::number(key));
    return data;
}

std::int32_t CLineUpList::acceptedMusician(const QMimeData* data) const {
    if (!m_partner || !data || !data->hasFormat(kMusicianFormat))
        return -1;
    const QList<QByteArray> parts = data->data(kMusicianFormat).split(' ');
    if (parts.size() != 2)
        return -1;
    bool sourceOk = false;
    bool keyOk = false;
    const quintptr source = parts.at(0).toULongLong(&sourceOk);
    const int key = parts.at(1).toInt(&keyOk);
    if (!sourceOk || !keyOk || source != reinterpret_cast<quintptr>(m_partner) || key < 0)
        return -1;
    return key;
}

QPixmap CLineUpList::dragImage() const {
    const QList<QTreeWidgetItem*> rows = selectedItems();
    if (rows.isEmpty())
        return QPixmap();
    QTreeWidgetItem* row = rows.first();
    const QRect shown = visualItemRect(row).intersected(viewport()->rect());
    if (shown.height() == visualItemRect(row).height() && shown.width() > 0)
        return viewport()->grab(shown);
    // A row scrolled out of sight is drawn from its texts.
    int width = 0;
    for (int column = 0; column < columnCount(); ++column)
        width += header()->sectionSize(column);
    const QFontMetrics metrics(font());
    QPixmap image(qMax(width, 1), metrics.height() + 4);
    image.fill(palette().color(QPalette::Highlight));
    QPainter painter(&image);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::HighlightedText));
    int left = 0;
    for (int column = 0; column < columnCount(); ++column) {
        const int columnWidth = header()->sectionSize(column);
        painter.drawText(QRect(left + 3, 0, columnWidth - 6, image.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, row->text(column));
        left += columnWidth;
    }
    return image;
}

void CLineUpList::startDrag(Qt::DropActions) {
    QMimeData* data = dragData();
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QPixmap image = dragImage();
    if (!image.isNull()) {
        drag->setPixmap(image);
        drag->setHotSpot(QPoint(image.width() / 4, image.height() / 2));
    }
    // The row moves only through the partner's drop; the list itself never removes it here.
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void CLineUpList::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptedMusician(event->mimeData()) >= 0) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CLineUpList::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptedMusician(event->mimeData()) >= 0) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CLineUpList::dropEvent(QDropEvent* event) {
    const std::int32_t musicianId = acceptedMusician(event->mimeData());
    if (musicianId < 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    Q_EMIT musicianDropped(musicianId);
}
