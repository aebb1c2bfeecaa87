#include "CSonglisteDlg.h"

#include "CSongDlg.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"

#include "ui_CSonglisteDlg.h"
#include "widgets/ReadOnlyForm.h"

#include <QList>
#include <QPair>
#include <QTreeWidgetItem>

#include <algorithm>

CSonglisteDlg::CSonglisteDlg(CDatabase& db, CProfileFile& profile, QWidget* parent)
    : QDialog(parent), m_db(db), m_ui(std::make_unique<Ui::CSonglisteDlg>()) {
    m_ui->setupUi(this);
    CReportList* list = m_ui->listSongs;
    list->setUp(profile, Settings::Songlist,
                {QStringLiteral("Titel"), QStringLiteral("Tonart"), QStringLiteral("Tempo"),
                 QStringLiteral("Bemerkung"), QStringLiteral("Interpret")});
    fillList();
    updateButtons();

    connect(list, &QTreeWidget::itemSelectionChanged, this, &CSonglisteDlg::updateButtons);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &CSonglisteDlg::onEdit);
    connect(m_ui->buttonNeu, &QPushButton::clicked, this, &CSonglisteDlg::onNew);
    connect(m_ui->buttonBearbeiten, &QPushButton::clicked, this, &CSonglisteDlg::onEdit);
    connect(m_ui->buttonLoeschen, &QPushButton::clicked, this, &CSonglisteDlg::onDelete);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::accept);
    ReadOnlyForm::lockWriteButtons(m_db, *this);
}

CSonglisteDlg::~CSonglisteDlg() = default;

void CSonglisteDlg::done(int result) {
    m_ui->listSongs->saveWidths();
    QDialog::done(m_changed ? QDialog::Accepted : result);
}

void CSonglisteDlg::fillList() {
    CReportList* list = m_ui->listSongs;
    list->clearRows();
    // Read from the last title to the first, each row put before the ones read so far.
    QList<QPair<QStringList, std::int32_t>> rows;
    try {
        CSetStammSongliste songs(m_db);
        songs.open(QString(), QStringLiteral("[Titel] DESC"));
        for (; !songs.atEnd(); songs.moveNext())
            rows.prepend(
                {{songs.getText("Titel"), songs.getText("Tonart"), CSongDlg::tempoText(songs),
                  songs.getText("Bemerkungen"), songs.getText("Interpret")},
                 songs.getLong("SongID")});
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (const auto& [texts, key] : rows)
        list->addRow(texts, key);
    updateButtons();
}

void CSonglisteDlg::selectRow(int row) {
    CReportList* list = m_ui->listSongs;
    list->clearSelection();
    QTreeWidgetItem* item = row >= 0 ? list->topLevelItem(row) : nullptr;
    list->setCurrentItem(item);
    if (item)
        list->scrollToItem(item);
    updateButtons();
}

void CSonglisteDlg::updateButtons() {
    const bool selected = m_ui->listSongs->selectedKey() >= 0;
    m_ui->buttonBearbeiten->setEnabled(selected);
    m_ui->buttonLoeschen->setEnabled(selected);
}

void CSonglisteDlg::onNew() {
    std::int32_t songId = -1;
    if (CSongDlg::showModal(m_db, songId, this) != QDialog::Accepted)
        return;
    m_changed = true;
    fillList();
    m_ui->listSongs->selectKey(songId);
    updateButtons();
}

void CSonglisteDlg::onEdit() {
    std::int32_t songId = m_ui->listSongs->selectedKey();
    if (songId < 0)
        return;
    if (CSongDlg::showModal(m_db, songId, this) != QDialog::Accepted)
        return;
    m_changed = true;
    fillList();
    m_ui->listSongs->selectKey(songId);
    updateButtons();
}

void CSonglisteDlg::onDelete() {
    CReportList* list = m_ui->listSongs;
    const std::int32_t songId = list->selectedKey();
    if (songId < 0)
        return;
    const int position = list->indexOfTopLevelItem(list->selectedItems().value(0));
    const QString question = QString::fromUtf8(Strings::kDeleteQuestion).arg(list->selectedText(0));
    if (!MessageService::askYesNo(this, question))
        return;
    try {
        CSetStammSongliste song(m_db);
        song.open(QString::asprintf("[SongID]=%ld", long(songId)));
        if (!song.atEnd())
            song.deleteCurrent();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    m_changed = true;
    fillList();
    // The row now at the same place takes the selection, or the new last row.
    const int count = list->topLevelItemCount();
    selectRow(count == 0 ? -1 : std::min(position, count - 1));
}
