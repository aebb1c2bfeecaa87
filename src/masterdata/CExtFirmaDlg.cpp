#include "CExtFirmaDlg.h"

#include "CAnsprechDlg.h"
#include "CFahrzeugeDlg.h"
#include "core/BaseData.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/FormFields.h"

#include "ui_CExtFirmaDlg.h"

#include <QSignalBlocker>

#include <array>
#include <optional>
#include <string_view>

namespace {

const char* const kNameMissing = "Bitte \"Firma\" oder \"Name\"  eingegeben.";

constexpr int kFirmaLength = 50;
constexpr int kNameLength = 20;

} // namespace

QString CExtFirmaDlg::kindTitle(int firmKind) {
    static const char* const titles[] = {"Veranstalter", "Technik",      "Backline",
                                         "PA Verleiher", "LA Verleiher", "Kfz Verleiher"};
    if (firmKind < 0 || firmKind >= static_cast<int>(std::size(titles)))
        return QString();
    return QString::fromUtf8(titles[firmKind]);
}

CExtFirmaDlg::CExtFirmaDlg(CDatabase& db, CProfileFile& profile, int firmKind, std::int32_t extId,
                           QWidget* parent)
    : CRecordFormDialog(db, CSetStammExtFirma::definition(), "ExtID", extId, parent),
      m_profile(profile), m_firmKind(firmKind), m_ui(std::make_unique<Ui::CExtFirmaDlg>()) {
    m_ui->setupUi(this);
    setWindowTitle(kindTitle(m_firmKind));
    m_ui->buttonFahrzeuge->setVisible(m_firmKind == CarHire);
    // The birth date keeps its place while hidden, so the form keeps its layout in both modes.
    for (QWidget* birthday : QList<QWidget*>{m_ui->labelGebDate, m_ui->editGebDate}) {
        QSizePolicy policy = birthday->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        birthday->setSizePolicy(policy);
    }
    FormFields::fillFromLines(m_ui->comboAnrede, Strings::kSalutations);
    m_ui->listContacts->setUp(m_profile, Settings::ExtCompany,
                              {QStringLiteral("Name"), QStringLiteral("Tel."),
                               QStringLiteral("Fax"), QStringLiteral("Handy"),
                               QStringLiteral("EMail")});

    // In the order of the form, so that the first faulty field is the one refused. "Firma",
    // "Name" and "Vorname" are stored by mode.
    FieldBindings& f = fields();
    m_firma = f.add<TextBinding>(m_ui->editFirma, "Firma", kFirmaLength);
    m_name = f.add<TextBinding>(m_ui->editName, "Name", kNameLength);
    m_vorname = f.add<TextBinding>(m_ui->editVorname, "Vorname", kNameLength);
    f.add<TextBinding>(m_ui->editStrasse, "Strasse", 40);
    f.add<TextBinding>(m_ui->editPLZ, "PLZ", 10);
    f.add<TextBinding>(m_ui->editOrt, "Ort", 40);
    f.add<TextBinding>(m_ui->editTel, "Tel", 20);
    f.add<TextBinding>(m_ui->editFax, "Fax", 20);
    f.add<TextBinding>(m_ui->editHandy, "Telm", 20);
    f.add<TextBinding>(m_ui->editEmail, "Email", 30);
    f.add<TextBinding>(m_ui->editHomepage, "Homepage", 50);
    f.add<TextBinding>(m_ui->editSteuerNr, "SteuerNr", 20);
    f.add<TextBinding>(m_ui->editFinanzamt, "Finanzamt", 40);
    f.add<TextBinding>(m_ui->editBank, "Bank", 50);
    f.add<TextBinding>(m_ui->editKonto, "Konto", 20);
    f.add<TextBinding>(m_ui->editBLZ, "BLZ", 20);
    f.add<ComboIndexBinding>(m_ui->comboAnrede, "Anrede");
    f.add<DateBinding>(m_ui->editGebDate, "GebDate", DateBinding::Kind::Birth);
    f.add<MemoBinding>(m_ui->editBemerkungen, "Bemerkungen");
    loadRow();
    if (!isNew())
        fillContacts();
    updateContactButtons();

    // Only a click on the other button switches the mode; a click on the chosen one counts as a
    // change all the same.
    connect(m_ui->radioPrivat, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            enterPrivateMode();
        else
            enterBusinessMode();
    });
    for (QRadioButton* mode : {m_ui->radioGewerbe, m_ui->radioPrivat})
        connect(mode, &QRadioButton::clicked, this, [this] { setChanged(); });
    connect(m_ui->listContacts, &QTreeWidget::itemSelectionChanged, this,
            &CExtFirmaDlg::updateContactButtons);
    connect(m_ui->listContacts, &QTreeWidget::itemDoubleClicked, this,
            &CExtFirmaDlg::onEditContact);
    connect(m_ui->buttonNeuAnsprech, &QPushButton::clicked, this, &CExtFirmaDlg::onNewContact);
    connect(m_ui->buttonBearbeitenAnsprech, &QPushButton::clicked, this,
            &CExtFirmaDlg::onEditContact);
    connect(m_ui->buttonLoeschenAnsprech, &QPushButton::clicked, this,
            &CExtFirmaDlg::onDeleteContact);
    connect(m_ui->buttonFahrzeuge, &QPushButton::clicked, this, &CExtFirmaDlg::onVehicles);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    setChanged(false);
}

CExtFirmaDlg::~CExtFirmaDlg() = default;

int CExtFirmaDlg::showModal(CDatabase& db, CProfileFile& profile, int firmKind, std::int32_t& extId,
                            QWidget* parent) {
    CExtFirmaDlg form(db, profile, firmKind, extId, parent);
    if (!form.isReady())
        return QDialog::Rejected;
    const int result = form.exec();
    if (result == QDialog::Accepted)
        extId = form.extId();
    return result;
}

bool CExtFirmaDlg::isPrivate() const {
    return m_ui->radioPrivat->isChecked();
}

void CExtFirmaDlg::done(int result) {
    m_ui->listContacts->saveWidths();
    // A firm saved while the form was open (for a new contact or its vehicles) exists now,
    // however the form is closed: the caller lists it and can pick it.
    CFormDialog::done(m_savedWhileOpen ? QDialog::Accepted : result);
}

QString CExtFirmaDlg::rowFilter(std::int32_t key) const {
    return QStringLiteral("[ExtID]=%1 AND [Art]=%2").arg(key).arg(m_firmKind);
}

void CExtFirmaDlg::showNewRow() {
    const QSignalBlocker quiet(m_ui->radioPrivat);
    m_ui->radioGewerbe->setChecked(true);
    m_stashFirma.clear();
    m_stashName.clear();
    m_stashVorname.clear();
    enterBusinessMode();
}

void CExtFirmaDlg::showRow(const CRecordset& row) {
    // The mode moves the other mode's texts aside, as a click on its button does.
    const QSignalBlocker quiet(m_ui->radioPrivat);
    if (row.getBool("fPrivat")) {
        m_ui->radioPrivat->setChecked(true);
        m_stashName = row.getText("Name");
        m_stashVorname = row.getText("Vorname");
        enterPrivateMode();
    } else {
        m_ui->radioGewerbe->setChecked(true);
        m_stashFirma = row.getText("Firma");
        enterBusinessMode();
    }
}

void CExtFirmaDlg::enterBusinessMode() {
    setChanged();
    m_ui->editFirma->setEnabled(true);
    m_ui->comboAnrede->setEnabled(false);
    m_ui->editName->setEnabled(false);
    m_ui->editVorname->setEnabled(false);
    m_stashName = m_ui->editName->text();
    m_stashVorname = m_ui->editVorname->text();
    FormFields::setText(m_ui->editFirma, m_stashFirma, kFirmaLength);
    FormFields::setText(m_ui->editName, QString(), kNameLength);
    FormFields::setText(m_ui->editVorname, QString(), kNameLength);
    m_ui->labelGebDate->hide();
    m_ui->editGebDate->hide();
}

void CExtFirmaDlg::enterPrivateMode() {
    setChanged();
    m_ui->editFirma->setEnabled(false);
    m_ui->comboAnrede->setEnabled(true);
    m_ui->editName->setEnabled(true);
    m_ui->editVorname->setEnabled(true);
    m_stashFirma = m_ui->editFirma->text();
    FormFields::setText(m_ui->editFirma, QString(), kFirmaLength);
    FormFields::setText(m_ui->editName, m_stashName, kNameLength);
    FormFields::setText(m_ui->editVorname, m_stashVorname, kNameLength);
    m_ui->labelGebDate->show();
    m_ui->editGebDate->show();
}

bool CExtFirmaDlg::checkInput() {
    // A private person has no firm name, a business no personal name.
    if (isPrivate()) {
        m_firma->setValue(QString());
    } else {
        m_name->setValue(QString());
        m_vorname->setValue(QString());
    }
    if (!m_firma->value().isEmpty() || !m_name->value().isEmpty())
        return true;
    QLineEdit* missing = isPrivate() ? m_ui->editName : m_ui->editFirma;
    missing->setFocus(Qt::OtherFocusReason);
    MessageService::exclamation(this, QString::fromUtf8(kNameMissing));
    return false;
}

void CExtFirmaDlg::storeRow(CRecordset& row, bool isNew) {
    if (isNew)
        row.setInt("Art", m_firmKind);
    row.setBool("fPrivat", isPrivate());
}

void CExtFirmaDlg::rowSaved() {
    m_savedWhileOpen = true;
    Changes::firms(m_firmKind, key());
}

bool CExtFirmaDlg::save() {
    return !isChanged() || CRecordFormDialog::save();
}

void CExtFirmaDlg::fillContacts() {
    m_ui->listContacts->clearRows();
    try {
        CSetStammExtAnsprech contacts(database());
        contacts.open(QStringLiteral("[ExtID]=%1 AND [fDeleted]=False").arg(key()),
                      QStringLiteral("[APName]"));
        for (; !contacts.atEnd(); contacts.moveNext()) {
            // First name, blank, surname: without a first name the text starts with the blank.
            const QString name = QStringLiteral("%1 %2").arg(contacts.getText("APVorname"),
                                                             contacts.getText("APName"));
            m_ui->listContacts->addRow({name, contacts.getText("APTel"), contacts.getText("APFax"),
                                        contacts.getText("APTelm"), contacts.getText("APEmail")},
                                       contacts.getLong("APID"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    updateContactButtons();
}

bool CExtFirmaDlg::saveNewFirmFirst() {
    if (!isNew())
        return true;
    if (MessageService::askYesNoCancel(this, QString::fromUtf8(kSaveQuestion)) !=
        MessageService::Answer::Yes)
        return false;
    setChanged();
    if (!save())
        return false;
    m_savedWhileOpen = true;
    markSaved();
    return true;
}

void CExtFirmaDlg::onNewContact() {
    if (!saveNewFirmFirst())
        return;
    CAnsprechDlg contact(database(), m_firmKind, key(), -1, this);
    if (contact.exec() == QDialog::Accepted)
        fillContacts();
}

void CExtFirmaDlg::onEditContact() {
    const std::int32_t apId = m_ui->listContacts->selectedKey();
    if (apId < 0)
        return;
    CAnsprechDlg contact(database(), m_firmKind, key(), apId, this);
    if (contact.exec() == QDialog::Accepted)
        fillContacts();
}

void CExtFirmaDlg::onDeleteContact() {
    const std::int32_t apId = m_ui->listContacts->selectedKey();
    if (apId < 0)
        return;
    const QString question =
        QString::fromUtf8(Strings::kDeleteQuestion).arg(m_ui->listContacts->selectedText(0));
    if (!MessageService::askYesNo(this, question))
        return;
    try {
        CSetStammExtAnsprech contact(database());
        softDelete(contact, QStringLiteral("[APID]= %1").arg(apId));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    m_ui->listContacts->removeSelectedRow();
    updateContactButtons();
}

void CExtFirmaDlg::onVehicles() {
    // Vehicles hang on the firm's key: a new firm is stored first.
    if (!saveNewFirmFirst())
        return;
    CFahrzeugeDlg vehicles(database(), m_profile, key(), this);
    if (vehicles.isReady())
        vehicles.exec();
}

void CExtFirmaDlg::updateContactButtons() {
    const bool selected = m_ui->listContacts->selectedKey() >= 0;
    m_ui->buttonBearbeitenAnsprech->setEnabled(selected);
    m_ui->buttonLoeschenAnsprech->setEnabled(selected);
}
