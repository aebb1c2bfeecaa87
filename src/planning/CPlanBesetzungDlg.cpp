#include "CPlanBesetzungDlg.h"

#include "core/ChangeNotifier.h"
#include "core/Conflicts.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"

#include "ui_CPlanBesetzungDlg.h"

#include <QSet>
#include <QSignalBlocker>

namespace {

// The line-up's planning area (Stat_Plan_Besetzung).
constexpr int kLineUpArea = 0;

QTreeWidgetItem* rowOf(const QTreeWidget& list, std::int32_t musicianId) {
    for (int index = 0; index < list.topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = list.topLevelItem(index);
        if (row->data(0, Qt::UserRole).toInt() == musicianId)
            return row;
    }
    return nullptr;
}

} // namespace

CPlanBesetzungDlg::CPlanBesetzungDlg(CDatabase& db, CProfileFile& profile,
                                     const PlanningContext& event, QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_event(event),
      m_ui(std::make_unique<Ui::CPlanBesetzungDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupEvent->setEvent(event);
    const QStringList titles = {QString::fromUtf8(Strings::kInstrumentsColumn),
                                QString::fromUtf8(Strings::kMusicianColumn)};
    m_ui->listMusiker->setUp(profile, Settings::PlanCast1, titles);
    m_ui->listBesetzung->setUp(profile, Settings::PlanCast2, titles);
    m_ui->listMusiker->setPartner(m_ui->listBesetzung);
    m_ui->listBesetzung->setPartner(m_ui->listMusiker);

    try {
        m_instruments.load(db);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    try {
        showLineUp(LineUp::readLineUp(db, event.eventId));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        m_ready = false;
    }
    fillInstrumentChoice();
    fillMusicians();
    m_ui->groupStatus->load(db, event.eventId, kLineUpArea);
    m_ui->buttonHinzu->setEnabled(false);
    m_ui->buttonWeg->setEnabled(false);
    m_lineUpChanged = false;
    setChanged(false);

    connect(m_ui->groupStatus, &CPlanningStatusGroup::touched, this, [this] { setChanged(); });
    connect(m_ui->listInstrument, &QComboBox::currentIndexChanged, this,
            [this] { fillMusicians(); });
    connect(m_ui->listMusiker, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_ui->buttonHinzu->setEnabled(m_ui->listMusiker->selectedKey() >= 0); });
    connect(m_ui->listBesetzung, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_ui->buttonWeg->setEnabled(m_ui->listBesetzung->selectedKey() >= 0); });
    connect(m_ui->buttonHinzu, &QPushButton::clicked, this, [this] {
        const std::int32_t key = m_ui->listMusiker->selectedKey();
        if (key >= 0)
            moveIn(key);
    });
    connect(m_ui->buttonWeg, &QPushButton::clicked, this, [this] {
        const std::int32_t key = m_ui->listBesetzung->selectedKey();
        if (key >= 0)
            moveOut(key);
    });
    connect(m_ui->listBesetzung, &CLineUpList::musicianDropped, this, &CPlanBesetzungDlg::moveIn);
    connect(m_ui->listMusiker, &CLineUpList::musicianDropped, this, &CPlanBesetzungDlg::moveOut);
    connect(m_ui->buttonStandardWaehlen, &QPushButton::clicked, this,
            &CPlanBesetzungDlg::chooseStandard);
    connect(m_ui->buttonStandardFestlegen, &QPushButton::clicked, this,
            &CPlanBesetzungDlg::storeAsStandard);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CPlanBesetzungDlg::~CPlanBesetzungDlg() = default;

QList<std::int32_t> CPlanBesetzungDlg::lineUpKeys() const {
    QList<std::int32_t> keys;
    const CLineUpList& list = *m_ui->listBesetzung;
    for (int index = 0; index < list.topLevelItemCount(); ++index)
        keys << list.topLevelItem(index)->data(0, Qt::UserRole).toInt();
    return keys;
}

void CPlanBesetzungDlg::showLineUp(const std::vector<LineUp::Row>& rows) {
    CLineUpList& list = *m_ui->listBesetzung;
    list.clearRows();
    for (const LineUp::Row& row : rows)
        list.addRow({row.instruments, row.name}, row.musicianId);
    m_ui->buttonWeg->setEnabled(false);
}

void CPlanBesetzungDlg::fillInstrumentChoice() {
    CPickList& choice = *m_ui->listInstrument;
    const QSignalBlocker quiet(choice);
    choice.setColumnWidths({choice.minimumWidth(), 70, 0});
    choice.clearRows();
    choice.addRow({QString::fromUtf8(Strings::kAllInstruments), QStringLiteral("*"),
                   QString::number(LineUp::kAllInstruments)},
                  LineUp::kAllInstruments);
    try {
        CSetInstrumente instruments(m_db);
        for (instruments.open(QStringLiteral("[fDeleted]=False"), QStringLiteral("[Instrument]"));
             !instruments.atEnd(); instruments.moveNext()) {
            const std::int32_t key = instruments.getLong("InstrumentID");
            choice.addRow({instruments.getText("Instrument"), instruments.getText("Kurz"),
                           QString::number(key)},
                          key);
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    choice.setCurrentIndex(0);
}

void CPlanBesetzungDlg::fillMusicians() {
    CLineUpList& list = *m_ui->listMusiker;
    list.clearRows();
    m_ui->buttonHinzu->setEnabled(false);
    const QList<std::int32_t> inLineUp = lineUpKeys();
    const QSet<std::int32_t> lineUp(inLineUp.cbegin(), inLineUp.cend());
    try {
        const std::vector<LineUp::Row> rows = LineUp::readMusicians(
            m_db, m_instruments, m_ui->listInstrument->selectedData(LineUp::kAllInstruments),
            lineUp);
        for (const LineUp::Row& row : rows)
            list.addRow({row.instruments, row.name}, row.musicianId);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CPlanBesetzungDlg::moveIn(std::int32_t musicianId) {
    CLineUpList& musicians = *m_ui->listMusiker;
    QTreeWidgetItem* source = rowOf(musicians, musicianId);
    if (!source)
        return;
    CLineUpList& lineUp = *m_ui->listBesetzung;
    if (!rowOf(lineUp, musicianId))
        lineUp.addRow({source->text(0), source->text(1)}, musicianId);
    QTreeWidgetItem* added = rowOf(lineUp, musicianId);
    lineUp.setCurrentItem(added);
    lineUp.scrollToItem(added);
    lineUp.setFocus();
    m_ui->buttonWeg->setEnabled(true);
    // Listed once per slot in which he plays the chosen instrument: every one of his rows goes,
    // so that nobody enters the line-up twice.
    while (QTreeWidgetItem* row = rowOf(musicians, musicianId))
        delete row;
    musicians.clearSelection();
    m_ui->buttonHinzu->setEnabled(false);
    m_lineUpChanged = true;
    setChanged();
}

void CPlanBesetzungDlg::moveOut(std::int32_t musicianId) {
    QTreeWidgetItem* row = rowOf(*m_ui->listBesetzung, musicianId);
    if (!row)
        return;
    delete row;
    m_ui->listBesetzung->clearSelection();
    m_ui->buttonWeg->setEnabled(false);
    fillMusicians();
    m_lineUpChanged = true;
    setChanged();
}

void CPlanBesetzungDlg::chooseStandard() {
    std::vector<LineUp::Row> standard;
    try {
        standard = LineUp::readLineUp(m_db, LineUp::kStandardEvent);
    } catch (const CDaoException& error) {
        // The list stays as it was: an unread standard never replaces the line-up.
        MessageService::stop(this, error.description());
        return;
    }
    showLineUp(standard);
    m_lineUpChanged = true;
    setChanged();
    fillMusicians();
}

void CPlanBesetzungDlg::storeAsStandard() {
    try {
        LineUp::ensureStandardEvent(m_db);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    // Only a line-up the user changed becomes the standard. The event's own line-up and its
    // planning status are written when the form saves.
    if (m_lineUpChanged)
        storeLineUp(LineUp::kStandardEvent);
}

bool CPlanBesetzungDlg::storeLineUp(std::int32_t eventId) {
    const QStringList errors = LineUp::store(m_db, eventId, lineUpKeys());
    for (const QString& error : errors)
        MessageService::stop(this, error);
    return errors.isEmpty();
}

bool CPlanBesetzungDlg::save() {
    bool stored = true;
    if (m_lineUpChanged) {
        if (!Conflicts::confirmSave(
                this, [this] { return Conflicts::musicians(m_db, m_event.eventId, lineUpKeys()); }))
            return false;
        // A row that could not be written keeps the form open with the list as the user left
        // it; the status waits until the line-up is stored.
        if (!storeLineUp(m_event.eventId)) {
            Changes::planning(m_event.eventId);
            return false;
        }
        stored = m_ui->groupStatus->store(true);
    } else {
        stored = m_ui->groupStatus->store(false);
    }
    Changes::planning(m_event.eventId);
    return stored;
}

void CPlanBesetzungDlg::done(int result) {
    m_ui->listMusiker->saveWidths();
    m_ui->listBesetzung->saveWidths();
    CFormDialog::done(result);
}
