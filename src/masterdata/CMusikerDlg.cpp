#include "CMusikerDlg.h"

#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "widgets/CPickList.h"
#include "widgets/FormFields.h"
#include "widgets/RecordFields.h"

#include "ui_CMusikerDlg.h"

#include <QFileDialog>
#include <QFileInfo>

#include <optional>
#include <string_view>

namespace {

const char* const kSalutations = "Herr\nFrau";
const char* const kNameMissing = "Bitte \"Name\" eingegeben.";
// The currency text beside the minimum fee while the base data hold none.
const char* const kDefaultCurrency = "€";

// The abbreviation column of the instrument lists; the key column is never shown.
constexpr int kShortNameWidth = 70;

const std::array<std::string_view, 6> kInstrumentColumns = {"MInstID1", "MInstID2", "MInstID3",
                                                            "MInstID4", "MInstID5", "MInstID6"};

using TextField = RecordFields::TextBinding;

constexpr size_t kTextFields = 16;

// In the order of the form, so that the first faulty field is the one refused. "Name" first:
// the save checks it.
std::array<TextField, kTextFields> textFields(const Ui::CMusikerDlg& ui) {
    return {{
        {ui.editName, "MName", 20},
        {ui.editVorname, "MVorname", 20},
        {ui.editKName, "MKName", 20},
        {ui.editStrasse, "MStrasse", 40},
        {ui.editPLZ, "MPLZ", 10},
        {ui.editOrt, "MOrt", 40},
        {ui.editTel, "MTel", 20},
        {ui.editHandy, "MTelm", 20},
        {ui.editFax, "MFax", 20},
        {ui.editEmail, "Memail", 30},
        {ui.editHomepage, "MHomepage", 50},
        {ui.editSteuerNr, "MSteuerNr", 20},
        {ui.editFinanzamt, "MFinanzamt", 40},
        {ui.editBank, "MBank", 50},
        {ui.editKonto, "MKonto", 20},
        {ui.editBLZ, "MBLZ", 20},
    }};
}

// The short currency text of the base data, "€" while there is no base data record.
QString currencyText(CDatabase& db) {
    try {
        CSetGrunddaten baseData(db);
        baseData.open();
        if (!baseData.atEnd())
            return baseData.getText("Waehrungkurz");
    } catch (const CDaoException&) {
        // Without base data the amount still gets its usual currency.
    }
    return QString::fromUtf8(kDefaultCurrency);
}

// The key an instrument row carries in its third field; the empty row reads as 0.
std::int32_t rowKey(const CPickList& list, int row) {
    return list.text(row, 2).toInt();
}

QString openPhotoFile(QWidget* parent, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), startFolder, filter);
}

} // namespace

// Qt separates the patterns of one filter by blanks.
const char* const CMusikerDlg::kPhotoFilter = "JPEG File Interchange Format (JPG) (*.jpg *.jpeg)";

CMusikerDlg::CMusikerDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                         std::int32_t musikerId, QWidget* parent)
    : CFormDialog(parent), m_db(db), m_profile(profile), m_programDirectory(programDirectory),
      m_musikerId(musikerId), m_pickFile(&openPhotoFile),
      m_ui(std::make_unique<Ui::CMusikerDlg>()) {
    m_ui->setupUi(this);
    m_instruments = {m_ui->comboInst1, m_ui->comboInst2, m_ui->comboInst3,
                     m_ui->comboInst4, m_ui->comboInst5, m_ui->comboInst6};
    m_ui->photo->setProgramDirectory(m_programDirectory);

    // The record set stays open while the form lives; every save goes through it.
    try {
        m_set = std::make_unique<CSetStammMusiker>(m_db);
        m_set->open(QString::asprintf("[MusikerID]=%ld AND [fDeleted]=False", long(m_musikerId)),
                    QStringLiteral("[MName], [MVorname]"));
    } catch (const CDaoException& error) {
        MessageService::stop(parentWidget(), error.description());
        m_set.reset();
        m_ready = false;
        return;
    }
    // A key that matches no live musician opens an empty form for a new one, so that what the
    // user types there can be saved.
    const bool found = !m_set->atEnd();
    if (found)
        m_photoPath = m_set->getText("MFotopfad");
    else
        m_musikerId = -1;
    showPhoto();
    FormFields::fillFromLines(m_ui->comboAnrede, kSalutations);
    m_ui->comboAnrede->setCurrentIndex(0);
    RecordFields::clearTexts(textFields(*m_ui));
    FormFields::setDate(m_ui->editGeb, std::nullopt);
    FormFields::setDecimal(m_ui->editMinGage, std::nullopt);
    m_ui->labelWaehrung->setText(currencyText(m_db));
    fillInstrumentLists();
    if (found)
        showRecord();

    // Connected only now, so that loading is no change.
    connect(m_ui->comboAnrede, &QComboBox::currentIndexChanged, this, [this] { setChanged(); });
    for (CPickList* list : m_instruments)
        connect(list, &QComboBox::currentIndexChanged, this, [this] { setChanged(); });
    connect(m_ui->buttonFotoEinfuegen, &QPushButton::clicked, this, &CMusikerDlg::onInsertPhoto);
    connect(m_ui->buttonFotoEntfernen, &QPushButton::clicked, this, &CMusikerDlg::onRemovePhoto);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    setChanged(false);
}

CMusikerDlg::~CMusikerDlg() = default;

int CMusikerDlg::showModal(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                           std::int32_t& musikerId, QWidget* parent) {
    CMusikerDlg form(db, profile, programDirectory, musikerId, parent);
    if (!form.isReady())
        return QDialog::Rejected;
    const int result = form.exec();
    if (result == QDialog::Accepted)
        musikerId = form.musikerId();
    return result;
}

void CMusikerDlg::done(int result) {
    if (m_set)
        m_set->close();
    CFormDialog::done(result);
}

void CMusikerDlg::showPhoto() {
    if (m_photoPath.isEmpty())
        m_ui->photo->clearPhoto();
    else
        m_ui->photo->showFile(m_photoPath);
}

void CMusikerDlg::fillInstrumentLists() {
    // Live instruments, and those this musician still plays although they were deleted since.
    QString filter = QStringLiteral("[fDeleted]=False");
    if (m_musikerId != -1) {
        for (std::string_view column : kInstrumentColumns) {
            if (!m_set->isNull(column))
                filter += QString::asprintf(" OR [InstrumentID]=%ld", long(m_set->getLong(column)));
        }
    }
    for (CPickList* list : m_instruments) {
        // The name column is as wide as the closed list.
        list->setColumnWidths({list->minimumWidth(), kShortNameWidth, 0});
        list->clearRows();
        list->addRow({QString(), QString(), QString()}, 0);
    }
    try {
        CSetInstrumente instruments(m_db);
        instruments.open(filter);
        for (; !instruments.atEnd(); instruments.moveNext()) {
            const std::int32_t key = instruments.getLong("InstrumentID");
            const QStringList row{instruments.getText("Instrument"), instruments.getText("Kurz"),
                                  QString::number(key)};
            for (CPickList* list : m_instruments)
                list->addRow(row, key);
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CMusikerDlg::showRecord() {
    const CSetStammMusiker& set = *m_set;
    RecordFields::showTexts(set, textFields(*m_ui));
    const int salutation = set.getInt("MAnrede");
    if (salutation >= 0 && salutation < m_ui->comboAnrede->count())
        m_ui->comboAnrede->setCurrentIndex(salutation);
    FormFields::setDate(m_ui->editGeb, RecordFields::date(set, "MGeb"));
    FormFields::setDecimal(
        m_ui->editMinGage,
        set.isNull("MMinGage") ? std::nullopt : std::optional<double>(set.getSingle("MMinGage")));
    m_ui->editBemerkungen->setPlainText(set.getText("Mbemerkungen"));
    m_ui->editBemerkungen->document()->setModified(false);

    for (size_t slot = 0; slot < m_instruments.size(); ++slot) {
        CPickList& list = *m_instruments[slot];
        int selected = -1;
        if (!set.isNull(kInstrumentColumns[slot])) {
            const std::int32_t key = set.getLong(kInstrumentColumns[slot]);
            for (int row = 0; row < list.rowCount() && selected < 0; ++row) {
                if (rowKey(list, row) == key)
                    selected = row;
            }
        }
        list.setCurrentIndex(selected);
    }
}

void CMusikerDlg::onInsertPhoto() {
    const QString startFolder =
        Settings::readDirectory(m_profile, Settings::DirMusician, m_programDirectory);
    const QString chosen = m_pickFile(this, startFolder, QString::fromUtf8(kPhotoFilter));
    if (chosen.isEmpty())
        return;
    m_photoPath = QFileInfo(chosen).absoluteFilePath();
    m_ui->photo->showFile(m_photoPath);
    setChanged();
    Settings::writeText(m_profile, Settings::DirMusician, startFolder);
}

void CMusikerDlg::onRemovePhoto() {
    m_photoPath.clear();
    setChanged();
    m_ui->photo->clearPhoto();
}

bool CMusikerDlg::save() {
    if (!m_set)
        return false; // the musicians could not be read; the form is not shown

    const auto texts = textFields(*m_ui);
    std::array<QString, kTextFields> values;
    if (!RecordFields::readTexts(texts, values))
        return false;
    std::optional<QDate> birthday;
    if (!FormFields::readDate(m_ui->editGeb, birthday, FieldRules::DateKind::Birth))
        return false;
    std::optional<double> minimumFee;
    if (!FormFields::readDecimal(m_ui->editMinGage, minimumFee))
        return false;
    // The empty first row, or no row at all, is no instrument.
    std::array<std::optional<std::int32_t>, 6> slots;
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        const CPickList& list = *m_instruments[slot];
        if (list.currentIndex() > 0)
            slots[slot] = rowKey(list, list.currentIndex());
    }
    if (values[0].isEmpty()) {
        m_ui->editName->setFocus(Qt::OtherFocusReason);
        MessageService::exclamation(this, QString::fromUtf8(kNameMissing));
        return false;
    }

    CSetStammMusiker& set = *m_set;
    const bool written = RecordFields::writeRow(this, set, "MusikerID", m_musikerId, [&] {
        if (m_musikerId == -1)
            set.addNew();
        else
            set.edit();
        RecordFields::storeTexts(set, texts, values);
        set.setInt("MAnrede", m_ui->comboAnrede->currentIndex());
        RecordFields::setDate(set, "MGeb", birthday);
        RecordFields::setAmount(set, "MMinGage", minimumFee);
        for (size_t slot = 0; slot < slots.size(); ++slot) {
            if (slots[slot])
                set.setLong(kInstrumentColumns[slot], *slots[slot]);
            else
                set.setNull(kInstrumentColumns[slot]);
        }
        RecordFields::setText(set, "Mbemerkungen", m_ui->editBemerkungen->toPlainText());
        // A removed photo leaves an empty path behind.
        set.setText("MFotopfad", m_photoPath);
    });
    if (!written)
        return false;
    try {
        showRecord();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return false;
    }
    return true;
}
