#include "CExtFirmaDlg.h"

#include "CAnsprechDlg.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/FormFields.h"
#include "widgets/RecordFields.h"

#include "ui_CExtFirmaDlg.h"

#include <array>
#include <optional>
#include <string_view>

namespace {

const char* const kSalutations = "Herr\nFrau";
const char* const kNameMissing = "Bitte \"Firma\" oder \"Name\"  eingegeben.";

constexpr int kFirmaLength = 50;
constexpr int kNameLength = 20;

using TextField = RecordFields::TextBinding;

constexpr size_t kTextFields = 16;

// In the order of the form, so that the first faulty field is the one refused. "Firma",
// "Name" and "Vorname" come first: the save treats them by mode.
std::array<TextField, kTextFields> textFields(const Ui::CExtFirmaDlg& ui) {
    return {{
        {ui.editFirma, "Firma", kFirmaLength},
        {ui.editName, "Name", kNameLength},
        {ui.editVorname, "Vorname", kNameLength},
        {ui.editStrasse, "Strasse", 40},
        {ui.editPLZ, "PLZ", 10},
        {ui.editOrt, "Ort", 40},
        {ui.editTel, "Tel", 20},
        {ui.editFax, "Fax", 20},
        {ui.editHandy, "Telm", 20},
        {ui.editEmail, "Email", 30},
        {ui.editHomepage, "Homepage", 50},
        {ui.editSteuerNr, "SteuerNr", 20},
        {ui.editFinanzamt, "Finanzamt", 40},
        {ui.editBank, "Bank", 50},
        {ui.editKonto, "Konto", 20},
        {ui.editBLZ, "BLZ", 20},
    }};
}

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
    : CFormDialog(parent), m_db(db), m_profile(profile), m_firmKind(firmKind), m_extId(extId),
      m_ui(std::make_unique<Ui::CExtFirmaDlg>()) {
    m_ui->setupUi(this);

    // The record set stays open while the form lives; every save of the firm goes through it.
    try {
        m_set = std::make_unique<CSetStammExtFirma>(m_db);
        m_set->open(QStringLiteral("[ExtID]=%1 AND [Art]=%2").arg(m_extId).arg(m_firmKind));
    } catch (const CDaoException& error) {
        MessageService::stop(parentWidget(), error.description());
        m_set.reset();
        m_ready = false;
        return;
    }

    setWindowTitle(kindTitle(m_firmKind));
    m_ui->buttonFahrzeuge->setVisible(m_firmKind == CarHire);
    // The birth date keeps its place while hidden, so the form keeps its layout in both modes.
    for (QWidget* birthday : QList<QWidget*>{m_ui->labelGebDate, m_ui->editGebDate}) {
        QSizePolicy policy = birthday->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        birthday->setSizePolicy(policy);
    }
    FormFields::fillFromLines(m_ui->comboAnrede, kSalutations);
    m_ui->comboAnrede->setCurrentIndex(0);
    m_ui->listContacts->setUp(m_profile, Settings::ExtCompany,
                              {QStringLiteral("Name"), QStringLiteral("Tel."),
                               QStringLiteral("Fax"), QStringLiteral("Handy"),
                               QStringLiteral("EMail")});
    RecordFields::clearTexts(textFields(*m_ui));
    FormFields::setDate(m_ui->editGebDate, std::nullopt);

    if (m_extId == -1 || m_set->atEnd()) {
        // A key that matches no firm of this kind opens an empty form for a new firm.
        m_extId = -1;
        m_ui->radioGewerbe->setChecked(true);
        enterBusinessMode();
    } else {
        loadRecord();
        fillContacts();
    }
    updateContactButtons();

    // Connected only now, so that loading is no change. Only a click on the other button
    // switches the mode; a click on the chosen one counts as a change all the same.
    connect(m_ui->radioPrivat, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            enterPrivateMode();
        else
            enterBusinessMode();
    });
    for (QRadioButton* mode : {m_ui->radioGewerbe, m_ui->radioPrivat})
        connect(mode, &QRadioButton::clicked, this, [this] { setChanged(); });
    connect(m_ui->comboAnrede, &QComboBox::currentIndexChanged, this, [this] { setChanged(); });
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
    if (m_set)
        m_set->close();
    // A firm saved while the form was open (for a new contact or its vehicles) exists now,
    // however the form is closed: the caller lists it and can pick it.
    CFormDialog::done(m_savedWhileOpen ? QDialog::Accepted : result);
}

void CExtFirmaDlg::loadRecord() {
    const CSetStammExtFirma& set = *m_set;
    RecordFields::showTexts(set, textFields(*m_ui));
    const int salutation = set.getInt("Anrede");
    if (salutation >= 0 && salutation < m_ui->comboAnrede->count())
        m_ui->comboAnrede->setCurrentIndex(salutation);
    FormFields::setDate(m_ui->editGebDate, RecordFields::date(set, "GebDate"));
    m_ui->editBemerkungen->setPlainText(set.getText("Bemerkungen"));
    m_ui->editBemerkungen->document()->setModified(false);

    // The mode moves the other mode's texts aside, as a click on its button does.
    if (set.getBool("fPrivat")) {
        m_ui->radioPrivat->setChecked(true);
        m_stashName = set.getText("Name");
        m_stashVorname = set.getText("Vorname");
        enterPrivateMode();
    } else {
        m_ui->radioGewerbe->setChecked(true);
        m_stashFirma = set.getText("Firma");
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

bool CExtFirmaDlg::save() {
    if (!m_set)
        return false; // the firm could not be read; the form is not shown
    if (!isChanged())
        return true;

    const auto texts = textFields(*m_ui);
    std::array<QString, kTextFields> values;
    if (!RecordFields::readTexts(texts, values))
        return false;
    std::optional<QDate> birthday;
    if (!FormFields::readDate(m_ui->editGebDate, birthday, FieldRules::DateKind::Birth))
        return false;

    // A private person has no firm name, a business no personal name.
    const bool isPrivatePerson = isPrivate();
    if (isPrivatePerson) {
        values[0].clear();
    } else {
        values[1].clear();
        values[2].clear();
    }
    if (values[0].isEmpty() && values[1].isEmpty()) {
        QLineEdit* missing = isPrivatePerson ? m_ui->editName : m_ui->editFirma;
        missing->setFocus(Qt::OtherFocusReason);
        MessageService::exclamation(this, QString::fromUtf8(kNameMissing));
        return false;
    }

    CSetStammExtFirma& set = *m_set;
    const bool written = RecordFields::writeRow(this, set, "ExtID", m_extId, [&] {
        if (m_extId == -1) {
            set.addNew();
            set.setInt("Art", m_firmKind);
        } else {
            set.edit();
        }
        set.setBool("fPrivat", isPrivatePerson);
        RecordFields::storeTexts(set, texts, values);
        set.setInt("Anrede", m_ui->comboAnrede->currentIndex());
        RecordFields::setDate(set, "GebDate", birthday);
        RecordFields::setText(set, "Bemerkungen", m_ui->editBemerkungen->toPlainText());
    });
    if (!written)
        return false;
    m_savedWhileOpen = true;
    return true;
}

void CExtFirmaDlg::fillContacts() {
    m_ui->listContacts->clearRows();
    try {
        CSetStammExtAnsprech contacts(m_db);
        contacts.open(QStringLiteral("[ExtID]=%1 AND [fDeleted]=False").arg(m_extId),
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
    if (m_extId != -1)
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
    CAnsprechDlg contact(m_db, m_firmKind, m_extId, -1, this);
    if (contact.exec() == QDialog::Accepted)
        fillContacts();
}

void CExtFirmaDlg::onEditContact() {
    const std::int32_t apId = m_ui->listContacts->selectedKey();
    if (apId < 0)
        return;
    CAnsprechDlg contact(m_db, m_firmKind, m_extId, apId, this);
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
        CSetStammExtAnsprech contact(m_db);
        contact.open(QStringLiteral("[APID]= %1").arg(apId));
        if (contact.atEnd())
            return;
        contact.edit();
        try {
            contact.setBool("fDeleted", true);
            contact.update();
        } catch (const CDaoException&) {
            contact.cancelUpdate();
            throw;
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    m_ui->listContacts->removeSelectedRow();
    updateContactButtons();
}

void CExtFirmaDlg::onVehicles() {
    if (!saveNewFirmFirst())
        return;
    // The vehicle list of a car hire firm comes with the vehicle forms.
    MessageService::information(this, QString::fromUtf8(Strings::kNotAvailable));
}

void CExtFirmaDlg::updateContactButtons() {
    const bool selected = m_ui->listContacts->selectedKey() >= 0;
    m_ui->buttonBearbeitenAnsprech->setEnabled(selected);
    m_ui->buttonLoeschenAnsprech->setEnabled(selected);
}
