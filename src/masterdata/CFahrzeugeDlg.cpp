#include "CFahrzeugeDlg.h"

#include "CFahrzeugDlg.h"
#include "core/BaseData.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"

#include "ui_CFahrzeugeDlg.h"

namespace {

constexpr int kCarHire = 5;

} // namespace

CFahrzeugeDlg::CFahrzeugeDlg(CDatabase& db, CProfileFile& profile, std::int32_t extId,
                             QWidget* parent)
    : CMasterListDlg(db, parent), m_extId(extId), m_ui(std::make_unique<Ui::CFahrzeugeDlg>()) {
    m_ui->setupUi(this);
    m_ready = showFirm();
    if (!m_ready)
        return;
    setUpList(profile, Settings::CarList,
              {QStringLiteral("Typ"), QStringLiteral("Zul. Gewicht"), QStringLiteral("Sitzpl."),
               QStringLiteral("Kennzeichen")},
              m_ui->listFahrzeuge, m_ui->buttonNeu, m_ui->buttonBearbeiten, m_ui->buttonLoeschen,
              m_ui->buttonEnde);
}

CFahrzeugeDlg::~CFahrzeugeDlg() = default;

bool CFahrzeugeDlg::showFirm() {
    QWidget* messageParent = parentWidget() ? parentWidget() : this;
    try {
        CSetStammExtFirma firm(database());
        firm.open(QString::asprintf("[Art]=%d AND [ExtID]=%ld", kCarHire,
                                    long(m_extId > 0 ? m_extId : 0)));
        if (firm.atEnd()) {
            MessageService::stop(messageParent,
                                 QStringLiteral("Fahrzeuge gibt es nur zu einem gespeicherten "
                                                "Kfz-Verleiher."));
            return false;
        }
        QString name;
        if (firm.getBool("fPrivat")) {
            name = firm.getText("Name");
            const QString firstName = firm.getText("Vorname");
            if (!firstName.isEmpty())
                name += QStringLiteral(", ") + firstName;
        } else {
            name = firm.getText("Firma");
        }
        m_ui->editName->setText(name);
        m_ui->editArt->setText(
            QString::fromUtf8(firm.getBool("fPrivat") ? Strings::kPrivate : Strings::kBusiness));
        m_ui->editTel->setText(firm.getText("Tel"));
        m_ui->editFax->setText(firm.getText("Fax"));
        m_ui->editHandy->setText(firm.getText("Telm"));
        m_ui->editEmail->setText(firm.getText("Email"));
        for (QLineEdit* field : {m_ui->editName, m_ui->editArt, m_ui->editTel, m_ui->editFax,
                                 m_ui->editHandy, m_ui->editEmail})
            field->setCursorPosition(0);
    } catch (const CDaoException& error) {
        MessageService::stop(messageParent, error.description());
        return false;
    }
    return true;
}

void CFahrzeugeDlg::fillRows() {
    CSetStammKfz vehicles(database());
    vehicles.open(
        QString::asprintf("[Art]=%d AND [ExtID]=%ld AND [fDeleted]=False", kCarHire, long(m_extId)),
        QStringLiteral("[Typ]"));
    for (; !vehicles.atEnd(); vehicles.moveNext()) {
        // No weight and no seats show as empty columns, not as 0. The weight has one decimal,
        // with the comma the vehicle form shows.
        const float weight = vehicles.getSingle("ZulGewicht");
        const int seats = vehicles.getInt("Sitzpl");
        const QString tonnes =
            QString::number(double(weight), 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
        list().addRow({vehicles.getText("Typ"), weight > 0 ? tonnes : QString(),
                       seats >= 1 ? QString::number(seats) : QString(),
                       vehicles.getText("Kennzeichen")},
                      vehicles.getLong("KfzID"));
    }
}

bool CFahrzeugeDlg::openForm(std::int32_t key, std::int32_t& saved) {
    CFahrzeugDlg form(database(), m_extId, key, this);
    if (!form.isReady() || form.exec() != QDialog::Accepted)
        return false;
    saved = form.kfzId();
    return true;
}

void CFahrzeugeDlg::deleteRow(std::int32_t key) {
    CSetStammKfz vehicle(database());
    softDelete(vehicle, QString::asprintf("[Art]=%d AND [ExtID]=%ld AND [KfzID]=%ld", kCarHire,
                                          long(m_extId), long(key)));
}
