#include "CGeburtstagDlg.h"

#include "core/GemaDeadline.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CMusikerDlg.h"

#include "ui_CGeburtstagDlg.h"

namespace {

QString shortDate(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yy"));
}

} // namespace

CGeburtstagDlg::CGeburtstagDlg(CDatabase& db, CProfileFile& profile,
                               const QString& programDirectory, const QDate& today, QWidget* parent)
    : QDialog(parent), m_db(db), m_profile(profile), m_programDirectory(programDirectory),
      m_today(today), m_ui(std::make_unique<Ui::CGeburtstagDlg>()) {
    m_ui->setupUi(this);
    m_ui->editHeute->setText(shortDate(today));
    CReportList* list = m_ui->listBirthdays;
    list->setUp(profile, Settings::BirthReminderList,
                {QString(), QString(), QString(), QStringLiteral("Geburtsdatum"),
                 QStringLiteral("Funktion"), QStringLiteral("Name"), QStringLiteral("Firma"),
                 QStringLiteral("Alter")});
    // The key columns are there for whoever reads the list, not for the eye.
    for (int column : {ColKey, ColType, ColId})
        list->hideColumn(column);
    connect(list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_ui->buttonDetails->setEnabled(m_ui->listBirthdays->selectedKey() >= 0); });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { onDetails(); });
    connect(m_ui->buttonDetails, &QPushButton::clicked, this, &CGeburtstagDlg::onDetails);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::reject);
    fill();
    // No row looks chosen before the user chooses one.
    m_ui->buttonEnde->setFocus();
}

CGeburtstagDlg::~CGeburtstagDlg() = default;

bool CGeburtstagDlg::remindAtStartup(CDatabase& db, CProfileFile& profile,
                                     const QString& programDirectory, const QDate& today,
                                     QWidget* parent) {
    // The events whose GEMA report is due come first, whether a birthday is due or not.
    if (GemaDeadline::startupNoteOn(profile)) {
        try {
            const QString gema = GemaDeadline::startupText(GemaDeadline::dueForStartup(db, today));
            if (!gema.isEmpty())
                MessageService::exclamation(parent, gema);
        } catch (const CDaoException&) {
            // The birthdays below report a database that cannot be read.
        }
    }
    try {
        if (!BirthdayReminder::anyDue(db, profile, today))
            return false;
    } catch (const CDaoException& error) {
        MessageService::stop(parent, error.description());
        return false;
    }
    CGeburtstagDlg form(db, profile, programDirectory, today, parent);
    form.exec();
    return true;
}

void CGeburtstagDlg::done(int result) {
    m_ui->listBirthdays->saveWidths();
    QDialog::done(result);
}

void CGeburtstagDlg::fill() {
    CReportList* list = m_ui->listBirthdays;
    list->clearRows();
    m_entries.clear();
    // The list shows the days of the setting even while the start-up reminder is off.
    const BirthdayReminder::Setting setting = BirthdayReminder::Setting::read(m_profile);
    try {
        BirthdayReminder::collect(
            m_db, BirthdayWindow::around(m_today, setting.daysBefore, setting.daysAfter),
            m_entries);
    } catch (const CDaoException& error) {
        MessageService::stop(parentWidget() ? parentWidget() : this, error.description());
    }
    BirthdayReminder::sort(m_entries);
    for (size_t row = 0; row < m_entries.size(); ++row) {
        const BirthdayReminder::Entry& entry = m_entries[row];
        list->addRow({QString::number(BirthdayWindow::birthdayKey(entry.birthDate)),
                      QString::number(entry.type), QString::number(entry.id),
                      shortDate(entry.birthDate), entry.typeText, entry.name, entry.firm,
                      QString::number(entry.age)},
                     std::int32_t(row));
    }
    m_ui->buttonDetails->setEnabled(false);
}

void CGeburtstagDlg::onDetails() {
    const std::int32_t row = m_ui->listBirthdays->selectedKey();
    if (row < 0 || size_t(row) >= m_entries.size())
        return;
    const BirthdayReminder::Entry entry = m_entries[size_t(row)];
    if (entry.type == BirthdayReminder::Musician) {
        std::int32_t id = entry.id;
        CMusikerDlg::showModal(m_db, m_profile, m_programDirectory, id, this);
    } else if (entry.type < BirthdayReminder::FirstContact) {
        std::int32_t id = entry.id;
        CExtFirmaDlg::showModal(m_db, m_profile, entry.firmKind, id, this);
    } else {
        CAnsprechDlg form(m_db, entry.firmKind, entry.extId, entry.id, this);
        if (form.isReady())
            form.exec();
    }
    // A birth date or a name may have changed: the list shows what is stored now.
    fill();
    for (size_t index = 0; index < m_entries.size(); ++index) {
        if (m_entries[index].type == entry.type && m_entries[index].id == entry.id)
            m_ui->listBirthdays->selectKey(std::int32_t(index));
    }
}
