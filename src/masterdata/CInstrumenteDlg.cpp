#include "CInstrumenteDlg.h"

#include "CInstrumentDlg.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/GermanCollation.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/ListSelection.h"
#include "widgets/RecordFields.h"

#include "ui_CInstrumenteDlg.h"
#include "widgets/ReadOnlyForm.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

enum Column { NameColumn, ShortNameColumn, KeyColumn };

// The row text "name<TAB>abbreviation<TAB>key" that orders the list.
QByteArray rowText(const QString& name, const QString& shortName, std::int32_t key) {
    return QStringLiteral("%1\t%2\t%3").arg(name, shortName).arg(key).toUtf8();
}

QByteArray rowText(const QTreeWidgetItem& row) {
    return rowText(row.text(NameColumn), row.text(ShortNameColumn), row.text(KeyColumn).toInt());
}

bool sortsBefore(const QByteArray& left, const QByteArray& right) {
    return GermanCollation::compare(left.constData(), left.size(), right.constData(),
                                    right.size()) < 0;
}

// Horizontal dialog units of the form's font in pixels.
int dialogUnits(const QWidget& widget, int units) {
    return widget.fontMetrics().averageCharWidth() * units / 4;
}

} // namespace

CInstrumenteDlg::CInstrumenteDlg(CDatabase& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_ui(std::make_unique<Ui::CInstrumenteDlg>()) {
    m_ui->setupUi(this);
    QTreeWidget* list = m_ui->listInstrumente;
    // Abbreviations start 70 dialog units in, the key starts at 200, beyond the visible width.
    list->setColumnWidth(NameColumn, dialogUnits(*list, 70));
    list->setColumnWidth(ShortNameColumn, dialogUnits(*list, 200 - 70));
    list->setColumnHidden(KeyColumn, true);
    list->setMinimumWidth(dialogUnits(*list, 200) + 2 * list->frameWidth() +
                          list->verticalScrollBar()->sizeHint().width());
    fillList();
    updateButtons();

    connect(list, &QTreeWidget::itemSelectionChanged, this, &CInstrumenteDlg::updateButtons);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &CInstrumenteDlg::onEdit);
    connect(m_ui->buttonHinzufuegen, &QPushButton::clicked, this, &CInstrumenteDlg::onAdd);
    connect(m_ui->buttonBearbeiten, &QPushButton::clicked, this, &CInstrumenteDlg::onEdit);
    connect(m_ui->buttonLoeschen, &QPushButton::clicked, this, &CInstrumenteDlg::onDelete);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::accept);
    ReadOnlyForm::lockWriteButtons(m_db, *this);
}

CInstrumenteDlg::~CInstrumenteDlg() = default;

void CInstrumenteDlg::fillList() {
    QTreeWidget* list = m_ui->listInstrumente;
    list->clear();
    try {
        // The rows in the list's order, sorted once and added together: adding them one by one
        // in order would compare each with every row before it.
        std::vector<std::pair<QByteArray, QTreeWidgetItem*>> rows;
        CSetInstrumente instruments(m_db);
        instruments.open(QStringLiteral("[fDeleted]=False"), QStringLiteral("[Instrument]"));
        for (; !instruments.atEnd(); instruments.moveNext()) {
            const QString name = instruments.getText("Instrument");
            const QString shortName = instruments.getText("Kurz");
            const std::int32_t key = instruments.getLong("InstrumentID");
            rows.emplace_back(
                rowText(name, shortName, key),
                new QTreeWidgetItem(QStringList{name, shortName, QString::number(key)}));
        }
        std::stable_sort(rows.begin(), rows.end(), [](const auto& left, const auto& right) {
            return sortsBefore(left.first, right.first);
        });
        QList<QTreeWidgetItem*> items;
        items.reserve(qsizetype(rows.size()));
        for (const auto& row : rows)
            items.append(row.second);
        list->addTopLevelItems(items);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

QTreeWidgetItem* CInstrumenteDlg::insertRow(const QString& name, const QString& shortName,
                                            std::int32_t key) {
    QTreeWidget* list = m_ui->listInstrumente;
    const QByteArray text = rowText(name, shortName, key);
    // The list is in order: the row goes behind every row that does not sort after it.
    int low = 0;
    int high = list->topLevelItemCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (sortsBefore(text, rowText(*list->topLevelItem(middle))))
            high = middle;
        else
            low = middle + 1;
    }
    auto* row = new QTreeWidgetItem(QStringList{name, shortName, QString::number(key)});
    list->insertTopLevelItem(low, row);
    return row;
}

void CInstrumenteDlg::select(QTreeWidgetItem* row) {
    ListSelection::select(*m_ui->listInstrumente, row);
    updateButtons();
}

void CInstrumenteDlg::updateButtons() {
    const bool selected = !m_ui->listInstrumente->selectedItems().isEmpty();
    m_ui->buttonBearbeiten->setEnabled(selected);
    m_ui->buttonLoeschen->setEnabled(selected);
}

void CInstrumenteDlg::onAdd() {
    CInstrumentDlg form(CInstrumentDlg::Mode::Add, QString(), QString(), this);
    if (form.exec() != QDialog::Accepted)
        return;
    std::int32_t key = 0;
    CSetInstrumente instruments(m_db);
    const bool written = RecordFields::writeRow(this, instruments, "InstrumentID", key, [&] {
        instruments.open();
        instruments.addNew();
        instruments.setText("Instrument", form.name());
        instruments.setText("Kurz", form.shortName());
    });
    if (!written)
        return;
    select(insertRow(form.name(), form.shortName(), key));
}

void CInstrumenteDlg::onEdit() {
    QTreeWidgetItem* row = m_ui->listInstrumente->currentItem();
    if (!row || !row->isSelected())
        return;
    const std::int32_t key = row->text(KeyColumn).toInt();
    CInstrumentDlg form(CInstrumentDlg::Mode::Edit, row->text(NameColumn),
                        row->text(ShortNameColumn), this);
    if (form.exec() != QDialog::Accepted)
        return;
    CSetInstrumente instruments(m_db);
    try {
        instruments.open(QString::asprintf("[InstrumentID]=%ld", long(key)));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    if (instruments.atEnd())
        return;
    std::int32_t stored = key;
    const bool written = RecordFields::writeRow(this, instruments, "InstrumentID", stored, [&] {
        instruments.edit();
        instruments.setText("Instrument", form.name());
        instruments.setText("Kurz", form.shortName());
    });
    if (!written)
        return;
    delete row;
    select(insertRow(form.name(), form.shortName(), key));
}

void CInstrumenteDlg::onDelete() {
    QTreeWidget* list = m_ui->listInstrumente;
    QTreeWidgetItem* row = list->currentItem();
    if (!row || !row->isSelected())
        return;
    const QString question = QString::fromUtf8(Strings::kDeleteQuestion).arg(row->text(NameColumn));
    if (!MessageService::askYesNo(this, question))
        return;
    try {
        CSetInstrumente instruments(m_db);
        instruments.open(
            QString::asprintf("[InstrumentID]=%ld", long(row->text(KeyColumn).toInt())));
        if (!instruments.atEnd()) {
            instruments.edit();
            try {
                instruments.setBool("fDeleted", true);
                instruments.update();
            } catch (const CDaoException&) {
                instruments.cancelUpdate();
                throw;
            }
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    ListSelection::removeAndSelectNeighbour(*list, row);
    updateButtons();
}
