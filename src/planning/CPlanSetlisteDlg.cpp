#include "CPlanSetlisteDlg.h"

#include "CDragRowList.h"
#include "CDruckGemaDlg.h"

#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/PlanningStatus.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "masterdata/CSongDlg.h"
#include "masterdata/CSonglisteDlg.h"

#include "core/UserProfile.h"
#include "reports/SetListPrint.h"
#include "views/CViewPrintPreview.h"
#include "views/ReportPrinting.h"

#include "ui_CPlanSetlisteDlg.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTreeWidgetItem>

namespace {

const char* const kChooseSong = "Wählen Sie bitte einen Song aus der Liste.";
const char* const kDeleteQuestion = "Soll wirklich die gesamte Setliste gelöscht werden?";
const char* const kNoSongs = "Die Setliste enthält keine Songs. Die gespeicherte Setliste des "
                             "Events wurde gelöscht.";

QStringList columnTitles() {
    return {QStringLiteral("Titel"),      QStringLiteral("Tonart"),
            QStringLiteral("Tempo"),      QStringLiteral("Bemerkung"),
            QStringLiteral("Interpret"),  QStringLiteral("GEMA-Werk-Nr."),
            QStringLiteral("P/F"),        QStringLiteral("Komponist"),
            QStringLiteral("Bearbeiter"), QStringLiteral("Verleger")};
}

int selectedRow(const QTreeWidget& list) {
    const QList<QTreeWidgetItem*> rows = list.selectedItems();
    return rows.isEmpty() ? -1 : list.indexOfTopLevelItem(rows.first());
}

void selectRow(QTreeWidget& list, int row) {
    QTreeWidgetItem* item = row >= 0 ? list.topLevelItem(row) : nullptr;
    list.clearSelection();
    if (!item)
        return;
    list.setCurrentItem(item);
    item->setSelected(true);
    list.scrollToItem(item);
}

} // namespace

CPlanSetlisteDlg::CPlanSetlisteDlg(CDatabase& db, CProfileFile& profile,
                                   const PlanningContext& event, QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_profile(profile), m_event(event),
      m_ui(std::make_unique<Ui::CPlanSetlisteDlg>()) {
    m_ui->setupUi(this);
    m_ui->buttonSonglisteDrucken->setVisible(false);
    m_ui->groupEvent->setEvent(event);
    m_ui->listSongs->setUp(profile, Settings::PlanSonglist, columnTitles());
    m_ui->listSetliste->setUp(profile, Settings::PlanSetlist, columnTitles());

    fillSongs();
    try {
        m_entries = SetList::load(db, event.eventId);
        m_ready = true;
    } catch (const CDaoException& error) {
        MessageService::stop(parent ? parent : this, error.description());
    }
    showEntries(-1);
    m_ui->groupStatus->load(db, event.eventId, kPlanningArea);
    m_printRegistration.setSource(&m_setListSource);
    m_setListChanged = false;
    setChanged(false);

    // Room for both lists side by side, as far as the screen allows.
    QSize size = sizeHint().expandedTo(QSize(1180, 620));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(20, 40));
    resize(size.expandedTo(minimumSizeHint()));

    connect(m_ui->groupStatus, &CPlanningStatusGroup::touched, this, [this] { setChanged(); });
    connect(m_ui->listSongs, &QTreeWidget::itemSelectionChanged, this,
            &CPlanSetlisteDlg::updateButtons);
    connect(m_ui->listSetliste, &QTreeWidget::itemSelectionChanged, this,
            &CPlanSetlisteDlg::updateButtons);
    connect(m_ui->listSongs, &QTreeWidget::itemDoubleClicked, this, &CPlanSetlisteDlg::onEditSong);
    connect(m_ui->listSetliste, &QTreeWidget::itemDoubleClicked, this,
            &CPlanSetlisteDlg::onEditSetListSong);
    for (CDragRowList* target : {m_ui->listSongs, m_ui->listSetliste})
        connect(target, &CDragRowList::rowDropped, this,
                [this, target](CDragRowList* source, int sourceRow, int targetRow) {
                    onDropped(target, source, sourceRow, targetRow);
                });
    connect(m_ui->buttonKopieren, &QPushButton::clicked, this, &CPlanSetlisteDlg::onCopySong);
    connect(m_ui->buttonEntfernen, &QPushButton::clicked, this, &CPlanSetlisteDlg::onRemoveRow);
    connect(m_ui->buttonNeuesSet, &QPushButton::clicked, this, &CPlanSetlisteDlg::onNewSet);
    connect(m_ui->buttonSongBearbeiten, &QPushButton::clicked, this, &CPlanSetlisteDlg::onEditSong);
    connect(m_ui->buttonSetSongBearbeiten, &QPushButton::clicked, this,
            &CPlanSetlisteDlg::onEditSetListSong);
    connect(m_ui->buttonSonglisteBearbeiten, &QPushButton::clicked, this,
            &CPlanSetlisteDlg::onEditSongList);
    connect(m_ui->buttonSetlisteLoeschen, &QPushButton::clicked, this,
            &CPlanSetlisteDlg::onDeleteSetList);
    connect(m_ui->buttonSetlisteDrucken, &QPushButton::clicked, this,
            [this] { onPrint(Print::SetList); });
    connect(m_ui->buttonGemaDrucken, &QPushButton::clicked, this, [this] { onPrint(Print::Gema); });
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CPlanSetlisteDlg::~CPlanSetlisteDlg() = default;

void CPlanSetlisteDlg::done(int result) {
    m_ui->listSongs->saveWidths();
    m_ui->listSetliste->saveWidths();
    m_printRegistration.setSource(nullptr);
    CFormDialog::done(result);
}

void CPlanSetlisteDlg::fillSongs() {
    CDragRowList* list = m_ui->listSongs;
    const std::int32_t selected = list->selectedKey();
    list->clearRows();
    // Read from the last title to the first, each row put before the ones read so far.
    QList<QPair<QStringList, std::int32_t>> rows;
    try {
        CSetStammSongliste songs(m_db);
        for (songs.open(QString(), QStringLiteral("[Titel] DESC")); !songs.atEnd();
             songs.moveNext())
            rows.prepend({SetListSong::fromSongRow(songs).columns(), songs.getLong("SongID")});
    } catch (const CDaoException& error) {
        MessageService::stop(isVisible() ? this : parentWidget(), error.description());
    }
    for (const auto& [texts, key] : rows)
        list->addRow(texts, key);
    if (selected >= 0)
        list->selectKey(selected);
    updateButtons();
}

void CPlanSetlisteDlg::showEntries(int select) {
    CDragRowList* list = m_ui->listSetliste;
    list->clearRows();
    for (const SetList::Entry& entry : m_entries) {
        if (!entry.isHeader()) {
            list->addRow(entry.columns, 0);
            continue;
        }
        list->addRow({SetList::headerText(entry.setNumber)}, entry.setNumber);
        QTreeWidgetItem* header = list->topLevelItem(list->topLevelItemCount() - 1);
        QFont bold = header->font(0);
        bold.setBold(true);
        header->setFont(0, bold);
    }
    selectRow(*list, select);
    updateButtons();
}

int CPlanSetlisteDlg::selectedSetListRow() const {
    return selectedRow(*m_ui->listSetliste);
}

void CPlanSetlisteDlg::updateButtons() {
    const bool song = m_ui->listSongs->selectedKey() >= 0;
    m_ui->buttonKopieren->setEnabled(song);
    m_ui->buttonSongBearbeiten->setEnabled(song);
    // The header of set 1 stays; only songs are edited.
    const int row = selectedSetListRow();
    const bool removable = row > 0 && row < static_cast<int>(m_entries.size());
    m_ui->buttonEntfernen->setEnabled(removable);
    m_ui->buttonSetSongBearbeiten->setEnabled(removable && !m_entries[size_t(row)].isHeader());
}

void CPlanSetlisteDlg::markSetListChanged() {
    m_setListChanged = true;
    setChanged();
}

void CPlanSetlisteDlg::onCopySong() {
    const int row = selectedRow(*m_ui->listSongs);
    if (row < 0)
        return;
    QStringList columns;
    const QTreeWidgetItem* song = m_ui->listSongs->topLevelItem(row);
    for (int column = 0; column < SetList::kColumnCount; ++column)
        columns << song->text(column);
    showEntries(SetList::insertSong(m_entries, -1, columns));
    m_ui->listSetliste->setFocus();
    markSetListChanged();
}

void CPlanSetlisteDlg::onRemoveRow() {
    if (!SetList::removeRow(m_entries, selectedSetListRow()))
        return;
    showEntries(-1);
    markSetListChanged();
}

void CPlanSetlisteDlg::onNewSet() {
    showEntries(SetList::addSet(m_entries));
    m_ui->listSetliste->setFocus();
    markSetListChanged();
}

void CPlanSetlisteDlg::onDropped(CDragRowList* target, CDragRowList* source, int sourceRow,
                                 int targetRow) {
    const bool fromSongs = source == m_ui->listSongs;
    if (target == m_ui->listSetliste) {
        if (fromSongs) {
            // A copy of the song goes after the row it was dropped on.
            QStringList columns;
            for (int column = 0; column < SetList::kColumnCount; ++column)
                columns << source->topLevelItem(sourceRow)->text(column);
            showEntries(SetList::insertSong(m_entries, targetRow, columns));
        } else {
            const int moved = SetList::moveRow(m_entries, sourceRow, targetRow);
            if (moved < 0)
                return;
            showEntries(moved);
        }
        m_ui->listSetliste->setFocus();
        markSetListChanged();
        return;
    }
    // A set-list row dropped on the song list leaves the set list.
    if (!fromSongs && SetList::removeRow(m_entries, sourceRow)) {
        showEntries(-1);
        markSetListChanged();
    }
}

void CPlanSetlisteDlg::onEditSong() {
    std::int32_t songId = m_ui->listSongs->selectedKey();
    if (songId < 0) {
        MessageService::exclamation(this, QString::fromUtf8(kChooseSong));
        return;
    }
    if (CSongDlg::showModal(m_db, songId, this) != QDialog::Accepted)
        return;
    fillSongs();
    m_ui->listSongs->selectKey(songId);
    m_ui->listSongs->setFocus();
}

void CPlanSetlisteDlg::onEditSetListSong() {
    const int row = selectedSetListRow();
    if (row <= 0 || row >= static_cast<int>(m_entries.size()) || m_entries[size_t(row)].isHeader())
        return;
    SetListSong song = SetListSong::fromColumns(m_entries[size_t(row)].columns);
    if (!CSongDlg::editSetListSong(m_db, song, this))
        return;
    // Only this event's copy changes; the song list keeps its values.
    m_entries[size_t(row)] = SetList::Entry::song(song.columns());
    showEntries(row);
    m_ui->listSetliste->setFocus();
    markSetListChanged();
}

void CPlanSetlisteDlg::onEditSongList() {
    CSonglisteDlg songList(m_db, m_profile, this);
    if (songList.exec() == QDialog::Accepted)
        fillSongs();
}

void CPlanSetlisteDlg::onDeleteSetList() {
    if (!MessageService::askYesNo(this, QString::fromUtf8(kDeleteQuestion)))
        return;
    try {
        SetList::remove(m_db, m_event.eventId);
    } catch (const CDaoException& error) {
        // Nothing was deleted: the form keeps showing the set list.
        MessageService::stop(this, error.description());
        return;
    }
    m_entries = SetList::emptyList();
    showEntries(-1);
    m_setListChanged = false;
    setChanged(m_ui->groupStatus->isTouched());
    Changes::planning(m_event.eventId);
}

bool CPlanSetlisteDlg::save() {
    if (!m_ready)
        return false;
    bool planningSaved = false;
    if (m_setListChanged) {
        try {
            planningSaved = SetList::store(
                m_db, m_event.eventId, SetList::headName(m_event.kind, m_event.begin), m_entries);
        } catch (const CDaoException& error) {
            // The stored set list is as it was; the form keeps the user's list.
            MessageService::stop(this, error.description());
            return false;
        }
        if (!planningSaved) {
            Changes::planning(m_event.eventId);
            // Nothing is left to store: the form now shows what the database holds.
            m_setListChanged = false;
            setChanged(m_ui->groupStatus->isTouched());
            MessageService::exclamation(this, QString::fromUtf8(kNoSongs));
            return false;
        }
        m_setListChanged = false;
    }
    const bool stored = m_ui->groupStatus->store(planningSaved);
    Changes::planning(m_event.eventId);
    return stored;
}

void CPlanSetlisteDlg::onPrint(Print kind) {
    if (isChanged()) {
        switch (MessageService::askYesNoCancel(this, QString::fromUtf8(kSaveQuestion))) {
        case MessageService::Answer::Yes:
            // The print reads the stored set list; a failed save has been shown and the stored
            // one is printed.
            if (save())
                markSaved();
            break;
        case MessageService::Answer::No:
            break;
        default:
            return;
        }
    }
    handOverToPrint(kind);
}

void CPlanSetlisteDlg::handOverToPrint(Print kind) {
    if (kind == Print::SetList) {
        previewSetList();
        return;
    }
    CDruckGemaDlg gema(m_db, m_event.eventId, m_printRegistration, this);
    gema.exec();
}

void CPlanSetlisteDlg::previewSetList() {
    if (m_preview) {
        m_preview->raise();
        m_preview->activateWindow();
        return;
    }
    UserProfile user;
    try {
        user = UserProfile::load(m_db);
    } catch (const CDaoException& error) {
        // The sheets are printed without the band's data.
        MessageService::stop(this, error.description());
    }
    const std::int32_t eventId = m_event.eventId;
    CDatabase& db = m_db;
    m_setListSource.render = [&db, eventId, user](const PageMetrics& metrics) {
        return SetListPrint::render(db, eventId, user, metrics);
    };
    Report::Document document =
        m_setListSource.render(ReportPrinting::metricsOf(ReportPrinting::printer()));
    if (document.pages.empty()) {
        MessageService::exclamation(
            this, QStringLiteral("Für diesen Event ist keine Setliste zum Drucken gespeichert."));
        return;
    }
    CPrintPreviewWindow window(this);
    CViewPrintPreview* view = window.view();
    view->setPdfName(ReportPrinting::eventPdfName(m_db, document.title, eventId));
    view->setRenderer(m_setListSource.render);
    view->setDocument(std::move(document));
    view->setPrintHandler([this, &window, view] {
        m_printRegistration.print(&window, view->document().pageCount());
    });
    m_preview = &window;
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
    m_preview = nullptr;
}
