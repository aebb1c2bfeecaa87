#include "CMasterListDlg.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "resources/Strings.h"
#include "widgets/CReportList.h"
#include "widgets/ReadOnlyForm.h"

#include <QPushButton>

CMasterListDlg::CMasterListDlg(CDatabase& db, QWidget* parent) : QDialog(parent), m_db(db) {}

CMasterListDlg::~CMasterListDlg() = default;

void CMasterListDlg::setUpList(CProfileFile& profile, const SettingKey& widths,
                               const QStringList& titles, CReportList* list, QPushButton* newButton,
                               QPushButton* editButton, QPushButton* deleteButton,
                               QPushButton* endButton) {
    m_list = list;
    m_editButton = editButton;
    m_deleteButton = deleteButton;
    m_list->setUp(profile, widths, titles);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CMasterListDlg::updateButtons);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CMasterListDlg::onEdit);
    connect(newButton, &QPushButton::clicked, this, &CMasterListDlg::onNew);
    connect(editButton, &QPushButton::clicked, this, &CMasterListDlg::onEdit);
    connect(deleteButton, &QPushButton::clicked, this, &CMasterListDlg::onDelete);
    connect(endButton, &QPushButton::clicked, this, &QDialog::accept);
    ReadOnlyForm::lockWriteButtons(m_db, *this);
    refill(-1);
}

void CMasterListDlg::done(int result) {
    if (m_list)
        m_list->saveWidths();
    QDialog::done(result);
}

void CMasterListDlg::refill(std::int32_t select) {
    m_list->clearRows();
    try {
        fillRows();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    if (select >= 0)
        m_list->selectKey(keyAfterFill(select));
    updateButtons();
}

void CMasterListDlg::selectRow(int index) {
    m_list->clearSelection();
    if (index >= 0 && index < m_list->topLevelItemCount()) {
        QTreeWidgetItem* row = m_list->topLevelItem(index);
        m_list->setCurrentItem(row);
        m_list->scrollToItem(row);
    }
    updateButtons();
}

void CMasterListDlg::updateButtons() {
    const bool selected = m_list->selectedKey() >= 0;
    m_editButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected);
}

void CMasterListDlg::onNew() {
    std::int32_t saved = -1;
    if (openForm(-1, saved))
        refill(saved);
}

void CMasterListDlg::onEdit() {
    const std::int32_t key = m_list->selectedKey();
    if (key < 0)
        return;
    std::int32_t saved = key;
    if (openForm(key, saved))
        refill(saved);
}

void CMasterListDlg::onDelete() {
    const std::int32_t key = m_list->selectedKey();
    if (key < 0)
        return;
    const QString question =
        QString::fromUtf8(Strings::kDeleteQuestion).arg(m_list->selectedText(0));
    if (!MessageService::askYesNo(this, question))
        return;
    const int position = m_list->indexOfTopLevelItem(m_list->selectedItems().value(0));
    try {
        deleteRow(key);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    refill(-1);
    const int count = m_list->topLevelItemCount();
    selectRow(position < count ? position : count - 1);
}
