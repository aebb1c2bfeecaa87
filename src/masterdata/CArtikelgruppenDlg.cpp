#include "CArtikelgruppenDlg.h"

#include "CArtikelgruppeDlg.h"
#include "core/ArticleGroups.h"
#include "core/BaseData.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/ListSelection.h"

#include "ui_CArtikelgruppenDlg.h"
#include "widgets/ReadOnlyForm.h"

namespace {

enum Column { NameColumn, DescriptionColumn };

// Each entry carries its group's category.
constexpr int kCategoryRole = Qt::UserRole;

} // namespace

CArtikelgruppenDlg::CArtikelgruppenDlg(CDatabase& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_ui(std::make_unique<Ui::CArtikelgruppenDlg>()) {
    m_ui->setupUi(this);
    QTreeWidget* list = m_ui->listArtikelgruppen;
    const int charWidth = list->fontMetrics().averageCharWidth();
    list->setColumnWidth(NameColumn, charWidth * 22);
    list->setColumnWidth(DescriptionColumn, charWidth * 40);
    fillList();
    updateButtons();

    connect(list, &QTreeWidget::itemSelectionChanged, this, &CArtikelgruppenDlg::updateButtons);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &CArtikelgruppenDlg::onEdit);
    connect(m_ui->buttonHinzufuegen, &QPushButton::clicked, this, &CArtikelgruppenDlg::onAdd);
    connect(m_ui->buttonBearbeiten, &QPushButton::clicked, this, &CArtikelgruppenDlg::onEdit);
    connect(m_ui->buttonLoeschen, &QPushButton::clicked, this, &CArtikelgruppenDlg::onDelete);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::accept);
    ReadOnlyForm::lockWriteButtons(m_db, *this);
}

CArtikelgruppenDlg::~CArtikelgruppenDlg() = default;

void CArtikelgruppenDlg::fillList() {
    QTreeWidget* list = m_ui->listArtikelgruppen;
    list->clear();
    try {
        CSetStammArtikelgruppe groups(m_db);
        groups.open(QStringLiteral("[fDeleted]=False"), QStringLiteral("[Artikelgruppe]"));
        for (; !groups.atEnd(); groups.moveNext()) {
            auto* row = new QTreeWidgetItem(
                list, {groups.getText("Artikelgruppe"), groups.getText("Beschreibung")});
            row->setData(NameColumn, kCategoryRole, groups.getInt("Kategorie"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CArtikelgruppenDlg::selectGroup(const QString& name) {
    QTreeWidget* list = m_ui->listArtikelgruppen;
    for (int index = 0; index < list->topLevelItemCount(); ++index) {
        if (list->topLevelItem(index)->text(NameColumn) == name)
            return select(list->topLevelItem(index));
    }
    select(nullptr);
}

void CArtikelgruppenDlg::select(QTreeWidgetItem* row) {
    ListSelection::select(*m_ui->listArtikelgruppen, row);
    updateButtons();
}

void CArtikelgruppenDlg::updateButtons() {
    const bool selected = !m_ui->listArtikelgruppen->selectedItems().isEmpty();
    m_ui->buttonBearbeiten->setEnabled(selected);
    m_ui->buttonLoeschen->setEnabled(selected);
}

void CArtikelgruppenDlg::onAdd() {
    CArtikelgruppeDlg form(m_db, this);
    if (form.exec() != QDialog::Accepted)
        return;
    // A group added under an existing name was updated: the list shows it once.
    fillList();
    selectGroup(form.group().name);
}

void CArtikelgruppenDlg::onEdit() {
    QTreeWidgetItem* row = m_ui->listArtikelgruppen->currentItem();
    if (!row || !row->isSelected())
        return;
    ArticleGroups::Group group;
    group.name = row->text(NameColumn);
    group.description = row->text(DescriptionColumn);
    group.category = row->data(NameColumn, kCategoryRole).toInt();
    CArtikelgruppeDlg form(m_db, group, this);
    if (form.exec() != QDialog::Accepted)
        return;
    fillList();
    selectGroup(form.group().name);
}

void CArtikelgruppenDlg::onDelete() {
    QTreeWidget* list = m_ui->listArtikelgruppen;
    QTreeWidgetItem* row = list->currentItem();
    if (!row || !row->isSelected())
        return;
    const QString name = row->text(NameColumn);
    if (!MessageService::askYesNo(this, QString::fromUtf8(Strings::kDeleteQuestion).arg(name)))
        return;
    try {
        CSetStammArtikelgruppe groups(m_db);
        softDelete(groups, ArticleGroups::nameFilter(name));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    ListSelection::removeAndSelectNeighbour(*list, row);
    updateButtons();
}
