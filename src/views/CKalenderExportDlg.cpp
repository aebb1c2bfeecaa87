#include "CKalenderExportDlg.h"

#include "ExportFile.h"
#include "core/GigUpdateSelection.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "exchange/CalendarExport.h"
#include "widgets/FormFields.h"

#include "ui_CKalenderExportDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// The program directory, which holds the database: where the other documents are offered too.
QDir programFolder(const CDatabase& db) {
    return QFileInfo(db.path()).absoluteDir();
}

} // namespace

CKalenderExportDlg::CKalenderExportDlg(CDatabase& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_ui(std::make_unique<Ui::CKalenderExportDlg>()) {
    m_ui->setupUi(this);
    const QDate today = QDate::currentDate();
    GigUpdate::Selection opening;
    try {
        opening = GigUpdate::openingSelection(db, today);
    } catch (const CDaoException&) {
        opening.from = opening.to = today;
    }
    FormFields::setDate(m_ui->editVon, opening.from);
    FormFields::setDate(m_ui->editBis, opening.to < opening.from ? opening.from : opening.to);
    fillPeople();
    connect(m_ui->buttonExport, &QPushButton::clicked, this, &CKalenderExportDlg::onExport);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::reject);
}

CKalenderExportDlg::~CKalenderExportDlg() = default;

void CKalenderExportDlg::fillPeople() {
    m_ui->comboPerson->addItem(QStringLiteral("Alle Termine der Band"));
    std::vector<GigUpdate::CrewRow> rows;
    try {
        GigUpdate::loadCrew(m_db, QStringLiteral("[EventID]>0"), rows);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (const GigUpdate::CrewRow& row : rows)
        m_ui->comboPerson->addItem(QStringLiteral("%1 (%2)").arg(row.name, row.function),
                                   QList<QVariant>{row.entry.key, row.entry.kind});
}

void CKalenderExportDlg::onExport() {
    Calendar::Request request;
    if (!FormFields::readRequiredDate(m_ui->editVon, request.from) ||
        !FormFields::readRequiredDate(m_ui->editBis, request.to))
        return;
    if (request.to < request.from) {
        MessageService::stop(this, QStringLiteral("Das Ende des Zeitraums muß nach seinem Beginn "
                                                  "liegen."));
        m_ui->editBis->setFocus();
        return;
    }
    const QList<QVariant> person = m_ui->comboPerson->currentData().toList();
    if (person.size() == 2) {
        request.forPerson = true;
        request.person = {person[0].toInt(), person[1].toInt()};
    }
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Termine exportieren"),
                                     programFolder(m_db).filePath(QStringLiteral("Termine.ics")),
                                     QStringLiteral("iCalendar-Dateien (*.ics)"));
    if (path.isEmpty())
        return;
    if (!saveExportFile(this, path, [this, &request] {
            return Calendar::exportCalendar(m_db, request, QDateTime::currentDateTime());
        }))
        return;
    MessageService::information(this, QStringLiteral("Die Termine wurden in %1 gespeichert.")
                                          .arg(QDir::toNativeSeparators(path)));
    accept();
}
