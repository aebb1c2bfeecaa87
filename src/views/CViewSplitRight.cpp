#include "CViewSplitRight.h"

#include "core/BaseData.h"
#include "core/ChangeNotifier.h"
#include "core/ListKinds.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/CReportListModel.h"
#include "widgets/ListColumns.h"
#include "widgets/ReadOnlyForm.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

CViewSplitRight::CViewSplitRight(CDatabase& db, CProfileFile& profile, QWidget* parent)
    : QWidget(parent), m_db(db), m_profile(profile), m_model(new CReportListModel(this)),
      m_list(new QTreeView(this)), m_new(new QPushButton(this)), m_delete(new QPushButton(this)),
      m_edit(new QPushButton(this)), m_end(new QPushButton(QStringLiteral("E&nde"), this)) {
    // The list pane's mid grey.
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0xBF, 0xBF, 0xBF));
    setPalette(background);
    setAutoFillBackground(true);

    // A small sans-serif list font; default widths are scaled for it.
    QFont listFont(QStringLiteral("Liberation Sans"));
    listFont.setPointSize(8);
    m_list->setFont(listFont);
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_new);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_edit);
    buttons->addStretch();
    buttons->addWidget(m_end);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_new, &QPushButton::clicked, this, &CViewSplitRight::onNew);
    connect(m_delete, &QPushButton::clicked, this, &CViewSplitRight::onDelete);
    connect(m_edit, &QPushButton::clicked, this, &CViewSplitRight::onEdit);
    connect(m_end, &QPushButton::clicked, this, &CViewSplitRight::endRequested);
    connect(m_list, &QTreeView::doubleClicked, this, &CViewSplitRight::onEdit);

    for (QPushButton* button : {m_new, m_delete, m_edit})
        button->hide();

    connect(&ChangeNotifier::instance(), &ChangeNotifier::changed, this,
            [this](ChangeNotifier::Topic topic, std::int32_t key, int detail) {
                if (!shows(topic, detail))
                    return;
                // The entry a "new" form stored is the one to choose once it closes.
                if (m_newKey == 0 && key > 0)
                    m_newKey = key;
                refreshList();
            });
}

CViewSplitRight::~CViewSplitRight() {
    saveWidths();
}

void CViewSplitRight::saveWidths() {
    const ListKindInfo* info = listKindInfo(m_kind);
    if (!info || !info->saveWidths || m_model->columnCount() == 0)
        return;
    QList<int> widths;
    for (int column = 0; column < m_model->columnCount(); ++column)
        widths << m_list->header()->sectionSize(column);
    Settings::writeWidths(m_profile, *info->widthsKey, widths);
}

void CViewSplitRight::setListKind(int kind) {
    saveWidths();
    m_list->clearSelection();
    m_kind = kind;
    const ListKindInfo* info = listKindInfo(kind);
    if (!info) {
        m_model->setColumns({});
        return;
    }
    m_model->setColumns(
        QString::fromUtf8(info->titles).split(QLatin1Char('\n')).mid(0, info->columns));
    const bool stored = info->saveWidths && ListColumns::stored(m_profile, *info->widthsKey);
    const QList<int> widths =
        info->saveWidths
            ? ListColumns::read(m_profile, *info->widthsKey, info->columns, m_list->font())
            : ListColumns::defaults(*info->widthsKey, info->columns, m_list->font());
    ListColumns::apply(*m_list->header(), widths);

    const struct {
        QPushButton* button;
        const char* caption;
    } buttons[] = {
        {m_new, info->newCaption}, {m_delete, info->deleteCaption}, {m_edit, info->editCaption}};
    for (const auto& each : buttons) {
        each.button->setVisible(each.caption != nullptr);
        if (each.caption)
            each.button->setText(QString::fromUtf8(each.caption));
    }
    // Reading only: new and delete are disabled; an entry's form opens read-only.
    m_new->setEnabled(!m_db.isReadOnly());
    m_delete->setEnabled(!m_db.isReadOnly());
    refreshList();
    // Default widths make room for what the rows show, once the list has its width.
    if (!stored) {
        QTimer::singleShot(0, this, [this, kind, widths] {
            if (m_kind == kind)
                ListColumns::apply(*m_list->header(), ListColumns::fitted(*m_list, widths));
        });
    }
}

void CViewSplitRight::refreshList() {
    if (!listKindInfo(m_kind))
        return;
    // The selection stays on its record when that is still listed, else on the same row, so
    // that a second press of a button never aims at another record than the user sees.
    const std::int32_t selected = selectedKey();
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    const int position = rows.isEmpty() ? -1 : rows.first().row();
    try {
        m_model->setRows(loadListRows(m_db, m_kind));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    if (selected < 0)
        return;
    int row = m_model->rowOfKey(selected);
    if (row < 0)
        row = std::min(position, m_model->rowCount() - 1);
    if (row >= 0) {
        const QModelIndex index = m_model->index(row, 0);
        m_list->setCurrentIndex(index);
        m_list->scrollTo(index);
    }
}

bool CViewSplitRight::shows(ChangeNotifier::Topic topic, int detail) const {
    const ListKindInfo* info = listKindInfo(m_kind);
    if (!info)
        return false;
    switch (topic) {
    case ChangeNotifier::Topic::Events:
    case ChangeNotifier::Topic::Planning:
        return isEventList(m_kind);
    case ChangeNotifier::Topic::Firms:
        return info->firmKind >= 0 && (detail < 0 || detail == info->firmKind);
    case ChangeNotifier::Topic::Musicians:
        return m_kind == ListKind::Musicians;
    default:
        return false;
    }
}

std::int32_t CViewSplitRight::selectedKey() const {
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return -1;
    return m_model->row(selected.first().row()).key;
}

QString CViewSplitRight::selectedText(int column) const {
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return QString();
    return m_model->row(selected.first().row()).texts[static_cast<size_t>(column)];
}

void CViewSplitRight::selectKey(std::int32_t key) {
    const int row = m_model->rowOfKey(key);
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

bool CViewSplitRight::openForm(std::int32_t key) {
    const int result = m_openForm ? m_openForm(this, m_kind, key) : kFormNotAvailable;
    if (result == kFormNotAvailable) {
        MessageService::information(this, QString::fromUtf8(Strings::kNotAvailable));
        return false;
    }
    // A form that stored something has said so; the list has filled itself again.
    return result == QDialog::Accepted;
}

void CViewSplitRight::onEdit() {
    if (!listKindInfo(m_kind))
        return;
    const std::int32_t key = selectedKey();
    if (key < 0) {
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    if (key > 0)
        openForm(key);
}

void CViewSplitRight::onNew() {
    const ListKindInfo* info = listKindInfo(m_kind);
    if (!info || !info->newCaption)
        return;
    if (ReadOnlyForm::refuse(m_db, this))
        return;
    m_newKey = 0;
    openForm(-1);
    // A new entry that was stored is shown chosen, however the form was closed.
    if (m_newKey > 0)
        selectKey(m_newKey);
    m_newKey = -1;
}

void CViewSplitRight::onDelete() {
    const ListKindInfo* info = listKindInfo(m_kind);
    if (!info)
        return;
    if (ReadOnlyForm::refuse(m_db, this))
        return;
    if (info->firmKind >= 0)
        deleteFirm(*info);
    else if (m_kind == ListKind::Musicians)
        deleteMusician();
    else if (m_kind == ListKind::Events)
        deleteEvent();
}

void CViewSplitRight::deleteFirm(const ListKindInfo& info) {
    const std::int32_t key = selectedKey();
    if (key < 0) {
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    if (!MessageService::askYesNo(this,
                                  QString::fromUtf8(Strings::kDeleteQuestion).arg(selectedText(1))))
        return;
    try {
        CSetStammExtFirma firms(m_db);
        softDelete(firms, QString::asprintf("[ExtID]=%ld AND [Art]=%d", long(key), info.firmKind));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    refreshList();
}

void CViewSplitRight::deleteMusician() {
    const std::int32_t key = selectedKey();
    if (key < 0) {
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    if (!MessageService::askYesNo(
            this,
            QString::fromUtf8(Strings::kDeleteMusician).arg(selectedText(1), selectedText(0))))
        return;
    try {
        CSetStammMusiker musicians(m_db);
        softDelete(musicians, QString::asprintf("[MusikerID]=%ld", long(key)));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    refreshList();
}

void CViewSplitRight::deleteEvent() {
    const std::int32_t key = selectedKey();
    if (key < 0) {
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEvent));
        return;
    }
    if (!MessageService::askYesNo(
            this, QString::fromUtf8(Strings::kDeleteEvent).arg(selectedText(3), selectedText(1))))
        return;
    try {
        // The event's line-up, bookings, stays and set lists go with it.
        CSetEvent events(m_db);
        events.open(QString::asprintf("[EventID]=%ld", long(key)));
        if (!events.atEnd())
            events.deleteCurrent();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    refreshList();
}
