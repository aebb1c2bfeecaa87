#include "CArtikelDlg.h"

#include "CArtikelgruppeDlg.h"
#include "core/ArticleGroups.h"
#include "core/BaseData.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"
#include "widgets/FormFields.h"

#include "ui_CArtikelDlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSignalBlocker>

#include <optional>

namespace {

const char* const kNameMissing = "Bitte \"Artikel\" eingeben.";
const char* const kNegativePrice = "Ein Preis kann nicht kleiner als 0 sein.";

QString openPhotoFile(QWidget* parent, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), startFolder, filter);
}

// A price: shown with two decimals when there is one above 0, otherwise empty; read by the
// decimal rule. A price the user did not touch keeps its stored value, so opening and saving an
// article never changes its prices.
class PriceBinding : public FieldBinding {
public:
    PriceBinding(QLineEdit* edit, std::string_view column)
        : FieldBinding(edit, column), m_edit(edit) {}

    static QString format(const std::optional<double>& price) {
        if (!price || *price <= 0)
            return QString();
        return QString::number(*price, 'f', 2).replace(u'.', u',');
    }
    void clear() override {
        m_stored.reset();
        show();
    }
    void load(const CRecordset& row) override {
        m_stored.reset();
        if (!row.isNull(column()))
            m_stored = double(row.getSingle(column()));
        show();
    }
    bool read() override {
        if (m_edit->text() == format(m_stored)) {
            m_value = m_stored;
            return true;
        }
        std::optional<double> typed;
        if (!FormFields::readDecimal(m_edit, typed))
            return false;
        if (typed && *typed < 0)
            return refuse(QString::fromUtf8(kNegativePrice));
        m_value = typed;
        return true;
    }
    void store(CRecordset& row) const override {
        if (m_value)
            row.setSingle(column(), *m_value);
        else
            row.setNull(column());
    }

private:
    void show() {
        m_edit->setText(format(m_stored));
        m_edit->setModified(false);
    }

    QLineEdit* m_edit;
    std::optional<double> m_stored;
    std::optional<double> m_value;
};

// Each entry of the group list carries its group's category.
constexpr int kCategoryRole = Qt::UserRole;

} // namespace

// Qt separates the patterns of one filter by blanks.
const char* const CArtikelDlg::kPhotoFilter = "JPEG File Interchange Format (JPG) (*.jpg *.jpeg)";

CArtikelDlg::CArtikelDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                         std::int32_t artikelId, QWidget* parent)
    : CRecordFormDialog(db, CSetStammArtikel::definition(), "ArtikelID", artikelId, parent),
      m_profile(profile), m_programDirectory(programDirectory), m_pickFile(&openPhotoFile),
      m_ui(std::make_unique<Ui::CArtikelDlg>()) {
    m_ui->setupUi(this);
    m_ui->photo->setProgramDirectory(m_programDirectory);
    const QString currency = BaseData::currency(db);
    for (QLabel* label :
         {m_ui->labelWaehrung1, m_ui->labelWaehrung2, m_ui->labelWaehrung3, m_ui->labelWaehrung4})
        label->setText(currency);
    // Label and performer keep their place while hidden, so the form keeps its layout.
    for (QWidget* widget : QList<QWidget*>{m_ui->labelLabel, m_ui->comboLabel, m_ui->labelInterpret,
                                           m_ui->comboInterpret}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    // The choices first: an editable list shows its first entry when it gets one.
    fillChoices();

    // In the order of the form, so that the first faulty field is the one refused.
    FieldBindings& f = fields();
    m_name = f.add<TextBinding>(m_ui->editArtikel, "Artikel", kNameLength);
    f.add<TextBinding>(m_ui->comboLabel->lineEdit(), "Label", kLabelLength);
    f.add<TextBinding>(m_ui->comboInterpret->lineEdit(), "Interpret", kPerformerLength);
    f.add<MemoBinding>(m_ui->editBeschreibung, "Artikelbeschreibung", kDescriptionLength);
    f.add<PriceBinding>(m_ui->editPreis1, "Preis1");
    f.add<PriceBinding>(m_ui->editPreis2, "Preis2");
    f.add<PriceBinding>(m_ui->editPreis3, "Preis3");
    f.add<PriceBinding>(m_ui->editPreis4, "Preis4");
    loadRow();
    setWindowTitle(isNew() ? QStringLiteral("Artikel hinzufügen")
                           : QStringLiteral("Artikel bearbeiten"));

    connect(m_ui->comboArtikelgruppe, &QComboBox::activated, this, &CArtikelDlg::onGroupChosen);
    // Picking an entry of these lists is no typing in their text field.
    for (QComboBox* choice : {m_ui->comboLabel, m_ui->comboInterpret})
        connect(choice, &QComboBox::activated, this, [this] { setChanged(); });
    connect(m_ui->buttonNeueGruppe, &QPushButton::clicked, this, &CArtikelDlg::onNewGroup);
    connect(m_ui->buttonFotoEinfuegen, &QPushButton::clicked, this, &CArtikelDlg::onInsertPhoto);
    connect(m_ui->buttonFotoEntfernen, &QPushButton::clicked, this, &CArtikelDlg::onRemovePhoto);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CArtikelDlg::~CArtikelDlg() = default;

int CArtikelDlg::showModal(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                           std::int32_t& artikelId, QWidget* parent) {
    CArtikelDlg form(db, profile, programDirectory, artikelId, parent);
    if (!form.isReady())
        return QDialog::Rejected;
    const int result = form.exec();
    if (result == QDialog::Accepted)
        artikelId = form.artikelId();
    return result;
}

void CArtikelDlg::fillGroups() {
    QComboBox* list = m_ui->comboArtikelgruppe;
    const QSignalBlocker quiet(list);
    const QString chosen = chosenGroup();
    list->clear();
    QString filter = QStringLiteral("[fDeleted]=False");
    if (!m_groupInUse.isEmpty())
        filter += QStringLiteral(" OR ") + ArticleGroups::nameFilter(m_groupInUse);
    try {
        CSetStammArtikelgruppe groups(database());
        for (groups.open(filter, QStringLiteral("[Artikelgruppe]")); !groups.atEnd();
             groups.moveNext())
            list->addItem(groups.getText("Artikelgruppe"), groups.getInt("Kategorie"));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    // A group removed for good while its articles remained is still the article's group: it
    // stays offered, so that saving never moves the article to another group unasked.
    if (!m_groupInUse.isEmpty() && list->findText(m_groupInUse, Qt::MatchFixedString) < 0)
        list->addItem(m_groupInUse, int(ArticleGroups::SoundCarriers));
    selectGroup(chosen);
}

void CArtikelDlg::selectGroup(const QString& name) {
    QComboBox* list = m_ui->comboArtikelgruppe;
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(name.isEmpty() ? -1 : list->findText(name, Qt::MatchFixedString));
    showCategory();
}

QString CArtikelDlg::chosenGroup() const {
    return m_ui->comboArtikelgruppe->currentIndex() < 0 ? QString()
                                                        : m_ui->comboArtikelgruppe->currentText();
}

bool CArtikelDlg::chosenGroupHasLabel() const {
    const QComboBox* list = m_ui->comboArtikelgruppe;
    return list->currentIndex() < 0 ||
           list->currentData(kCategoryRole).toInt() != ArticleGroups::Other;
}

void CArtikelDlg::showCategory() {
    const bool withLabel = chosenGroupHasLabel();
    for (QWidget* widget : QList<QWidget*>{m_ui->labelLabel, m_ui->comboLabel, m_ui->labelInterpret,
                                           m_ui->comboInterpret})
        widget->setVisible(withLabel);
}

void CArtikelDlg::fillChoices() {
    const struct {
        QComboBox* list;
        const char* column;
    } choices[] = {{m_ui->comboLabel, "Label"}, {m_ui->comboInterpret, "Interpret"}};
    try {
        CSetStammArtikel articles(database());
        for (const auto& choice : choices) {
            const QString column = QString::fromLatin1(choice.column);
            const QSignalBlocker quiet(choice.list);
            const QString typed = choice.list->currentText();
            choice.list->clear();
            articles.open(QStringLiteral("[fDeleted]=False AND [%1] Is Not Null").arg(column),
                          QStringLiteral("[%1]").arg(column));
            QString previous;
            for (; !articles.atEnd(); articles.moveNext()) {
                const QString value = articles.getText(choice.column);
                if (!value.isEmpty() && value != previous)
                    choice.list->addItem(value);
                previous = value;
            }
            choice.list->setCurrentIndex(-1);
            choice.list->setEditText(typed);
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}

void CArtikelDlg::showNewRow() {
    m_groupInUse.clear();
    fillGroups();
    selectGroup(QString());
    m_photoPath.clear();
    showPhoto();
}

void CArtikelDlg::showRow(const CRecordset& row) {
    m_groupInUse = row.getText("Artikelgruppe");
    fillGroups();
    selectGroup(m_groupInUse);
    m_photoPath = row.getText("Fotopfad");
    showPhoto();
}

void CArtikelDlg::showPhoto() {
    if (m_photoPath.isEmpty())
        m_ui->photo->clearPhoto();
    else
        m_ui->photo->showFile(m_photoPath, CPhotoCtrl::Fallback::Article);
}

void CArtikelDlg::onGroupChosen() {
    setChanged();
    showCategory();
}

void CArtikelDlg::onNewGroup() {
    CArtikelgruppeDlg form(database(), this);
    if (form.exec() != QDialog::Accepted)
        return;
    fillGroups();
    selectGroup(form.group().name);
    setChanged();
}

void CArtikelDlg::onInsertPhoto() {
    const QString startFolder =
        Settings::readDirectory(m_profile, Settings::DirMerch, m_programDirectory);
    const QString chosen = m_pickFile(this, startFolder, QString::fromUtf8(kPhotoFilter));
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    m_photoPath = file.absoluteFilePath();
    showPhoto();
    setChanged();
    // The next photo is looked for where this one was found.
    Settings::writeText(m_profile, Settings::DirMerch, file.absolutePath());
}

void CArtikelDlg::onRemovePhoto() {
    m_photoPath.clear();
    showPhoto();
    setChanged();
}

bool CArtikelDlg::checkInput() {
    if (m_ui->comboArtikelgruppe->currentIndex() < 0) {
        m_ui->comboArtikelgruppe->setFocus(Qt::OtherFocusReason);
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
        return false;
    }
    if (m_name->value().isEmpty()) {
        m_ui->editArtikel->setFocus(Qt::OtherFocusReason);
        MessageService::exclamation(this, QString::fromUtf8(kNameMissing));
        return false;
    }
    return true;
}

void CArtikelDlg::storeRow(CRecordset& row, bool) {
    row.setText("Artikelgruppe", chosenGroup());
    // Other merchandise has neither label nor performer, whatever was typed before the group
    // was changed.
    if (!chosenGroupHasLabel()) {
        row.setNull("Label");
        row.setNull("Interpret");
    }
    if (m_photoPath.isEmpty())
        row.setNull("Fotopfad");
    else
        row.setText("Fotopfad", m_photoPath);
}
