#include "CArtikelgruppeDlg.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "widgets/FormFields.h"

#include "ui_CArtikelgruppeDlg.h"

#include <QLineEdit>

namespace {

const char* const kNameMissing = "Geben Sie bitte einen Namen für die Artikelgruppe ein.";
const char* const kNameTaken = "Eine Artikelgruppe \"%1\" gibt es bereits.";

// Turns what the user types into capital letters as it is typed; the field stays edited.
void keepUpperCase(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        // "ß" becomes "SS": the cursor stays behind what was typed.
        const int position = edit->cursorPosition() + int(upper.size() - text.size());
        edit->setText(upper);
        edit->setCursorPosition(position);
        edit->setModified(true);
    });
}

} // namespace

CArtikelgruppeDlg::CArtikelgruppeDlg(CDatabase& db, QWidget* parent)
    : CArtikelgruppeDlg(db, ArticleGroups::Group(), parent) {}

CArtikelgruppeDlg::CArtikelgruppeDlg(CDatabase& db, const ArticleGroups::Group& group,
                                     QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_oldName(group.name), m_group(group),
      m_ui(std::make_unique<Ui::CArtikelgruppeDlg>()) {
    m_ui->setupUi(this);
    setWindowTitle(m_oldName.isEmpty() ? QStringLiteral("Artikelgruppe hinzufügen")
                                       : QStringLiteral("Artikelgruppe bearbeiten"));
    keepUpperCase(m_ui->editArtikelgruppe);
    showGroup(group);
    for (QRadioButton* category : {m_ui->radioTontraeger, m_ui->radioSonstiges})
        connect(category, &QRadioButton::clicked, this, [this] { setChanged(); });
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CArtikelgruppeDlg::~CArtikelgruppeDlg() = default;

void CArtikelgruppeDlg::showGroup(const ArticleGroups::Group& group) {
    FormFields::setText(m_ui->editArtikelgruppe, group.name, kNameLength);
    FormFields::setText(m_ui->editBeschreibung, group.description, kDescriptionLength);
    if (group.category == ArticleGroups::Other)
        m_ui->radioSonstiges->setChecked(true);
    else
        m_ui->radioTontraeger->setChecked(true);
}

bool CArtikelgruppeDlg::save() {
    ArticleGroups::Group group;
    if (!FormFields::readText(m_ui->editArtikelgruppe, kNameLength, group.name) ||
        !FormFields::readText(m_ui->editBeschreibung, kDescriptionLength, group.description))
        return false;
    // Blanks around a name would make two groups look alike in every list.
    group.name = group.name.trimmed().toUpper();
    group.category =
        m_ui->radioSonstiges->isChecked() ? ArticleGroups::Other : ArticleGroups::SoundCarriers;
    if (group.name.isEmpty()) {
        m_ui->editArtikelgruppe->setFocus(Qt::OtherFocusReason);
        MessageService::exclamation(this, QString::fromUtf8(kNameMissing));
        return false;
    }
    try {
        if (ArticleGroups::store(m_db, m_oldName, group) == ArticleGroups::Result::NameTaken) {
            m_ui->editArtikelgruppe->setFocus(Qt::OtherFocusReason);
            m_ui->editArtikelgruppe->selectAll();
            MessageService::exclamation(this, QString::fromUtf8(kNameTaken).arg(group.name));
            return false;
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return false;
    }
    m_group = group;
    m_oldName = group.name;
    return true;
}
