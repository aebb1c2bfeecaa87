#include "CGigUpdateDlg.h"

#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "resources/Strings.h"
#include "widgets/FormFields.h"

#include "ui_CGigUpdateDlg.h"

#include <QHeaderView>

namespace {
constexpr int kKindRole = Qt::UserRole + 1;
} // namespace

CGigUpdateDlg::CGigUpdateDlg(CDatabase& db, CProfileFile& profile, const QDate& today,
                             QWidget* parent)
    : QDialog(parent), m_db(db), m_ui(std::make_unique<Ui::CGigUpdateDlg>()) {
    m_ui->setupUi(this);
    CReportList* list = m_ui->listCrew;
    // The kind of each row is kept with the row; the three visible columns have the widths
    // stored under "Prt_GigUpdate".
    list->setUp(profile, Settings::PrtGigUpdate,
                {QStringLiteral("Crew"), QStringLiteral("Funktion"), QStringLiteral("Gigs")});
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);

    GigUpdate::Selection opening;
    opening.from = opening.to = today;
    try {
        opening = GigUpdate::openingSelection(db, today);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    FormFields::setDate(m_ui->editVon, opening.from);
    FormFields::setDate(m_ui->editBis, opening.to);
    for (QCheckBox* box :
         {m_ui->checkAngefragt, m_ui->checkReserviert, m_ui->checkGebucht, m_ui->checkAbgesagt}) {
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, &CGigUpdateDlg::fillCrew);
    }
    m_ui->checkIndividuell->setChecked(false);
    // Typed dates count once the field is left or Enter is pressed.
    connect(m_ui->editVon, &QLineEdit::editingFinished, this, &CGigUpdateDlg::fillCrew);
    connect(m_ui->editBis, &QLineEdit::editingFinished, this, &CGigUpdateDlg::fillCrew);
    connect(m_ui->checkIndividuell, &QCheckBox::toggled, this, &CGigUpdateDlg::updateCrewEnabled);
    connect(m_ui->buttonDrucken, &QPushButton::clicked, this, &CGigUpdateDlg::onDrucken);
    connect(m_ui->buttonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    updateCrewEnabled();
    fillCrew();
}

CGigUpdateDlg::~CGigUpdateDlg() = default;

GigUpdate::Selection CGigUpdateDlg::readForm() const {
    GigUpdate::Selection selection;
    // A date that cannot be read yet lists nothing; "&Drucken" says why.
    bool ok = false;
    selection.from = FieldRules::parseDate(m_ui->editVon->text(), &ok).value_or(QDate());
    selection.to = FieldRules::parseDate(m_ui->editBis->text(), &ok).value_or(QDate());
    selection.statuses = {{m_ui->checkAngefragt->isChecked(), m_ui->checkReserviert->isChecked(),
                           m_ui->checkGebucht->isChecked(), m_ui->checkAbgesagt->isChecked()}};
    return selection;
}

void CGigUpdateDlg::fillCrew() {
    CReportList* list = m_ui->listCrew;
    list->clearRows();
    const GigUpdate::Selection selection = readForm();
    if (selection.statuses == std::array<bool, 4>{{false, false, false, false}} ||
        !selection.from.isValid() || !selection.to.isValid())
        return;
    std::vector<GigUpdate::CrewRow> rows;
    try {
        GigUpdate::loadCrew(m_db, GigUpdate::filter(selection), rows);
    } catch (const CDaoException& error) {
        // The list keeps what was read.
        MessageService::stop(this, error.description());
    }
    for (const GigUpdate::CrewRow& row : rows) {
        list->addRow({row.name, row.function, QString::number(row.gigs)}, row.entry.key);
        list->topLevelItem(list->topLevelItemCount() - 1)->setData(0, kKindRole, row.entry.kind);
    }
}

void CGigUpdateDlg::updateCrewEnabled() {
    m_ui->listCrew->setEnabled(m_ui->checkIndividuell->isChecked());
}

void CGigUpdateDlg::onDrucken() {
    GigUpdate::Selection selection = readForm();
    if (!FormFields::readRequiredDate(m_ui->editVon, selection.from) ||
        !FormFields::readRequiredDate(m_ui->editBis, selection.to))
        return;
    if (selection.to < selection.from) {
        MessageService::exclamation(
            this, QStringLiteral("Das Ende des Zeitraums liegt vor seinem Beginn."));
        m_ui->editBis->setFocus();
        return;
    }
    if (m_ui->checkIndividuell->isChecked()) {
        // Every selected row counts, in the order of the list.
        const CReportList* list = m_ui->listCrew;
        for (int index = 0; index < list->topLevelItemCount(); ++index) {
            const QTreeWidgetItem* row = list->topLevelItem(index);
            if (row->isSelected())
                selection.crew.push_back(
                    {row->data(0, Qt::UserRole).toInt(), row->data(0, kKindRole).toInt()});
        }
        if (selection.crew.empty()) {
            MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
            return;
        }
    }
    m_selection = selection;
    accept();
}

void CGigUpdateDlg::done(int result) {
    m_ui->listCrew->saveWidths();
    QDialog::done(result);
}
