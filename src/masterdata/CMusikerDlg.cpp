#include "CMusikerDlg.h"

#include "core/BaseData.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/CPickList.h"
#include "widgets/FormFields.h"

#include "ui_CMusikerDlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSignalBlocker>

#include <optional>
#include <string_view>

namespace {

const char* const kNameMissing = "Bitte \"Name\" eingegeben.";

// The abbreviation column of the instrument lists; the key column is never shown.
constexpr int kShortNameWidth = 70;

const std::array<std::string_view, 6> kInstrumentColumns = {"MInstID1", "MInstID2", "MInstID3",
                                                            "MInstID4", "MInstID5", "MInstID6"};

QString openPhotoFile(QWidget* parent, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), startFolder, filter);
}

} // namespace

// Qt separates the patterns of one filter by blanks.
const char* const CMusikerDlg::kPhotoFilter = "JPEG File Interchange Format (JPG) (*.jpg *.jpeg)";

CMusikerDlg::CMusikerDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                         std::int32_t musikerId, QWidget* parent)
    : CRecordFormDialog(db, CSetStammMusiker::definition(), "MusikerID", musikerId, parent),
      m_profile(profile), m_programDirectory(programDirectory), m_pickFile(&openPhotoFile),
      m_ui(std::make_unique<Ui::CMusikerDlg>()) {
    m_ui->setupUi(this);
    m_instruments = {m_ui->comboInst1, m_ui->comboInst2, m_ui->comboInst3,
                     m_ui->comboInst4, m_ui->comboInst5, m_ui->comboInst6};
    m_ui->photo->setProgramDirectory(m_programDirectory);
    FormFields::fillFromLines(m_ui->comboAnrede, Strings::kSalutations);
    m_ui->labelWaehrung->setText(BaseData::currency(db));
    for (CPickList* list : m_instruments)
        // The name column is as wide as the closed list.
        list->setColumnWidths({list->minimumWidth(), kShortNameWidth, 0});

    // In the order of the form, so that the first faulty field is the one refused.
    FieldBindings& f = fields();
    m_name = f.add<TextBinding>(m_ui->editName, "MName", 20);
    f.add<TextBinding>(m_ui->editVorname, "MVorname", 20);
    f.add<TextBinding>(m_ui->editKName, "MKName", 20);
    f.add<TextBinding>(m_ui->editStrasse, "MStrasse", 40);
    f.add<TextBinding>(m_ui->editPLZ, "MPLZ", 10);
    f.add<TextBinding>(m_ui->editOrt, "MOrt", 40);
    f.add<TextBinding>(m_ui->editTel, "MTel", 20);
    f.add<TextBinding>(m_ui->editHandy, "MTelm", 20);
    f.add<TextBinding>(m_ui->editFax, "MFax", 20);
    f.add<TextBinding>(m_ui->editEmail, "Memail", 30);
    f.add<TextBinding>(m_ui->editHomepage, "MHomepage", 50);
    f.add<TextBinding>(m_ui->editSteuerNr, "MSteuerNr", 20);
    f.add<TextBinding>(m_ui->editFinanzamt, "MFinanzamt", 40);
    f.add<TextBinding>(m_ui->editBank, "MBank", 50);
    f.add<TextBinding>(m_ui->editKonto, "MKonto", 20);
    f.add<TextBinding>(m_ui->editBLZ, "MBLZ", 20);
    f.add<ComboIndexBinding>(m_ui->comboAnrede, "MAnrede");
    f.add<DateBinding>(m_ui->editGeb, "MGeb", DateBinding::Kind::Birth);
    f.add<AmountBinding>(m_ui->editMinGage, "MMinGage");
    for (size_t slot = 0; slot < m_instruments.size(); ++slot)
        m_slots[slot] = f.add<PickKeyBinding>(m_instruments[slot], kInstrumentColumns[slot]);
    f.add<MemoBinding>(m_ui->editBemerkungen, "Mbemerkungen");
    loadRow();

    connect(m_ui->buttonFotoEinfuegen, &QPushButton::clicked, this, &CMusikerDlg::onInsertPhoto);
    connect(m_ui->buttonFotoEntfernen, &QPushButton::clicked, this, &CMusikerDlg::onRemovePhoto);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
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

QString CMusikerDlg::rowFilter(std::int32_t key) const {
    // A deleted musician is not edited: his key opens the form for a new one.
    return QString::asprintf("[MusikerID]=%ld AND [fDeleted]=False", long(key));
}

void CMusikerDlg::showPhoto() {
    if (m_photoPath.isEmpty())
        m_ui->photo->clearPhoto();
    else
        m_ui->photo->showFile(m_photoPath);
}

void CMusikerDlg::fillInstrumentLists(const CRecordset* row) {
    QString filter = QStringLiteral("[fDeleted]=False");
    if (row) {
        for (std::string_view column : kInstrumentColumns) {
            if (!row->isNull(column))
                filter += QString::asprintf(" OR [InstrumentID]=%ld", long(row->getLong(column)));
        }
    }
    for (CPickList* list : m_instruments) {
        const QSignalBlocker quiet(list);
        list->clearRows();
        list->addRow({QString(), QString(), QString()}, 0);
    }
    try {
        CSetInstrumente instruments(database());
        instruments.open(filter);
        for (; !instruments.atEnd(); instruments.moveNext()) {
            const std::int32_t key = instruments.getLong("InstrumentID");
            const QStringList texts{instruments.getText("Instrument"), instruments.getText("Kurz"),
                                    QString::number(key)};
            for (CPickList* list : m_instruments) {
                const QSignalBlocker quiet(list);
                list->addRow(texts, key);
            }
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CMusikerDlg::showNewRow() {
    m_photoPath.clear();
    showPhoto();
    fillInstrumentLists(nullptr);
    for (PickKeyBinding* slot : m_slots)
        slot->clear();
}

void CMusikerDlg::showRow(const CRecordset& row) {
    m_photoPath = row.getText("MFotopfad");
    showPhoto();
    // The lists are filled for this musician, then show his instruments.
    fillInstrumentLists(&row);
    for (PickKeyBinding* slot : m_slots)
        slot->load(row);
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

bool CMusikerDlg::checkInput() {
    if (!m_name->value().isEmpty())
        return true;
    m_ui->editName->setFocus(Qt::OtherFocusReason);
    MessageService::exclamation(this, QString::fromUtf8(kNameMissing));
    return false;
}

void CMusikerDlg::storeRow(CRecordset& row, bool) {
    // A removed photo leaves an empty path behind.
    row.setText("MFotopfad", m_photoPath);
}

void CMusikerDlg::rowSaved() {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Musicians, key());
}
