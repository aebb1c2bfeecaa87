#include "CFormDialog.h"

#include "ReadOnlyForm.h"
#include "core/MessageService.h"
#include "data/CDatabase.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>

const char* const CFormDialog::kSaveQuestion =
    "Es wurden Änderungen im Formular durchgeführt. Sollen diese jetzt gespeichert werden?";

// Escape and the close box are left to QDialog: both end in reject() and never pass through
// onEnde(), so they close without the question.
CFormDialog::CFormDialog(QWidget* parent) : QDialog(parent) {}

CFormDialog::CFormDialog(const CDatabase& db, QWidget* parent)
    : QDialog(parent), m_readOnly(db.isReadOnly()) {}

void CFormDialog::showEvent(QShowEvent* event) {
    // The fields exist and show the row only once the form's constructor has run.
    if (m_readOnly && !m_locked) {
        ReadOnlyForm::lockFields(*this);
        // Read-only text fields look like any others: the title says why nothing can be typed.
        setWindowTitle(windowTitle() + QStringLiteral(" (schreibgeschützt)"));
        m_locked = true;
    }
    QDialog::showEvent(event);
}

namespace {

// Calls the action with the "edited since loading or saving" state of every text field: line
// edits by their modified flag, multi-line fields by their document's.
template <class Action> void forEachTextField(const QWidget& form, Action action) {
    for (QLineEdit* edit : form.findChildren<QLineEdit*>())
        action([edit] { return edit->isModified(); }, [edit] { edit->setModified(false); });
    for (QPlainTextEdit* edit : form.findChildren<QPlainTextEdit*>())
        action([edit] { return edit->document()->isModified(); },
               [edit] { edit->document()->setModified(false); });
    for (QTextEdit* edit : form.findChildren<QTextEdit*>())
        action([edit] { return edit->document()->isModified(); },
               [edit] { edit->document()->setModified(false); });
}

} // namespace

bool CFormDialog::isChanged() const {
    if (m_readOnly)
        return false;
    bool changed = m_changed;
    forEachTextField(*this,
                     [&changed](auto isModified, auto) { changed = changed || isModified(); });
    return changed;
}

void CFormDialog::markSaved() {
    m_changed = false;
    forEachTextField(*this, [](auto, auto clear) { clear(); });
}

void CFormDialog::onEnde() {
    if (!isChanged()) {
        if (acceptWhenUnchanged())
            accept();
        else
            reject();
        return;
    }
    switch (MessageService::askYesNoCancel(this, QString::fromUtf8(kSaveQuestion))) {
    case MessageService::Answer::Yes:
        // A failed save has shown its message and placed the focus; the form stays open.
        if (save()) {
            markSaved();
            accept();
        }
        return;
    case MessageService::Answer::No:
        reject();
        return;
    default:
        return;
    }
}

bool CFormDialog::readWholeNumber(QLineEdit* field, int minimum, int maximum, int& value) {
    // Blanks around the number are allowed, a sign too; anything else (decimals, thousands
    // separators, letters, nothing at all) is not a whole number.
    bool ok = false;
    const qlonglong number = field->text().trimmed().toLongLong(&ok, 10);
    QString refusal;
    if (!ok)
        refusal = QStringLiteral("Geben Sie bitte eine ganze Zahl ein.");
    else if (number < minimum || number > maximum)
        refusal = QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.")
                      .arg(minimum)
                      .arg(maximum);
    if (!refusal.isEmpty()) {
        MessageService::stop(this, refusal);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return false;
    }
    value = static_cast<int>(number);
    return true;
}
