#include "CAnsprechDlg.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "widgets/FormFields.h"
#include "widgets/RecordFields.h"

#include "ui_CAnsprechDlg.h"

#include <array>
#include <optional>
#include <string_view>

namespace {

const char* const kSalutations = "Herr\nFrau";

using TextField = RecordFields::TextBinding;

constexpr size_t kTextFields = 7;

// Name first: the save checks it.
std::array<TextField, kTextFields> textFields(const Ui::CAnsprechDlg& ui) {
    return {{
        {ui.editName, "APName", 20},
        {ui.editVorname, "APVorname", 20},
        {ui.editFunktion, "APFunktion", 30},
        {ui.editTel, "APTel", 20},
        {ui.editFax, "APFax", 20},
        {ui.editHandy, "APTelm", 20},
        {ui.editEmail, "APEmail", 30},
    }};
}

} // namespace

CAnsprechDlg::CAnsprechDlg(CDatabase& db, int firmKind, std::int32_t extId, std::int32_t apId,
                           QWidget* parent)
    : CFormDialog(parent), m_db(db), m_firmKind(firmKind), m_extId(extId), m_apId(apId),
      m_ui(std::make_unique<Ui::CAnsprechDlg>()) {
    m_ui->setupUi(this);
    FormFields::fillFromLines(m_ui->comboAnrede, kSalutations);
    m_ui->comboAnrede->setCurrentIndex(0);
    load();
    connect(m_ui->comboAnrede, &QComboBox::currentIndexChanged, this, [this] { setChanged(); });
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    setChanged(false);
}

CAnsprechDlg::~CAnsprechDlg() = default;

void CAnsprechDlg::load() {
    const auto texts = textFields(*m_ui);
    RecordFields::clearTexts(texts);
    FormFields::setDate(m_ui->editGebDate, std::nullopt);
    if (m_apId == -1)
        return;
    try {
        CSetStammExtAnsprech set(m_db);
        set.open(QStringLiteral("[APID]=%1").arg(m_apId));
        if (set.atEnd())
            return;
        m_firmKind = set.getInt("Art");
        m_extId = set.getLong("ExtID");
        const int salutation = set.getInt("APAnrede");
        if (salutation >= 0 && salutation < m_ui->comboAnrede->count())
            m_ui->comboAnrede->setCurrentIndex(salutation);
        for (const TextField& field : texts)
            FormFields::setText(field.edit, set.getText(field.column), field.maximum);
        const QDateTime birthday = set.getDate("APGebDate");
        FormFields::setDate(m_ui->editGebDate, birthday.isValid()
                                                   ? std::optional<QDate>(birthday.date())
                                                   : std::nullopt);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

bool CAnsprechDlg::save() {
    const auto texts = textFields(*m_ui);
    std::array<QString, kTextFields> values;
    if (!RecordFields::readTexts(texts, values))
        return false;
    std::optional<QDate> birthday;
    if (!FormFields::readDate(m_ui->editGebDate, birthday, FieldRules::DateKind::Birth))
        return false;
    if (values[0].isEmpty()) {
        m_ui->editName->setFocus(Qt::OtherFocusReason);
        MessageService::exclamation(this, QStringLiteral("Bitte \"Name\" eingegeben."));
        return false;
    }

    CSetStammExtAnsprech set(m_db);
    return RecordFields::writeRow(this, set, "APID", m_apId, [&] {
        set.open(QStringLiteral("[APID]=%1").arg(m_apId));
        if (m_apId == -1 || set.atEnd())
            set.addNew();
        else
            set.edit();
        set.setInt("Art", m_firmKind);
        set.setLong("ExtID", m_extId);
        set.setInt("APAnrede", m_ui->comboAnrede->currentIndex());
        RecordFields::storeTexts(set, texts, values);
        RecordFields::setDate(set, "APGebDate", birthday);
    });
}
