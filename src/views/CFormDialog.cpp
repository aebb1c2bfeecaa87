#include "CFormDialog.h"

#include "app/MessageService.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>

const char* const CFormDialog::kSaveQuestion =
    "Es wurden Änderungen im Formular durchgeführt. Sollen diese jetzt gespeichert werden?";

// Escape and the close box are left to QDialog: both end in reject() and never pass through
// onEnde(), so they close without the question.
CFormDialog::CFormDialog(QWidget* parent) : QDialog(parent) {}

bool CFormDialog::isChanged() const {
    if (m_changed)
        return true;
    const QList<QLineEdit*> lineEdits = findChildren<QLineEdit*>();
    for (const QLineEdit* edit : lineEdits) {
        if (edit->isModified())
            return true;
    }
    const QList<QPlainTextEdit*> plainEdits = findChildren<QPlainTextEdit*>();
    for (const QPlainTextEdit* edit : plainEdits) {
        if (edit->document()->isModified())
            return true;
    }
    const QList<QTextEdit*> textEdits = findChildren<QTextEdit*>();
    for (const QTextEdit* edit : textEdits) {
        if (edit->document()->isModified())
            return true;
    }
    return false;
}

void CFormDialog::markSaved() {
    m_changed = false;
    const QList<QLineEdit*> lineEdits = findChildren<QLineEdit*>();
    for (QLineEdit* edit : lineEdits)
        edit->setModified(false);
    const QList<QPlainTextEdit*> plainEdits = findChildren<QPlainTextEdit*>();
    for (QPlainTextEdit* edit : plainEdits)
        edit->document()->setModified(false);
    const QList<QTextEdit*> textEdits = findChildren<QTextEdit*>();
    for (QTextEdit* edit : textEdits)
        edit->document()->setModified(false);
}

void CFormDialog::onEnde() {
    if (!isChanged()) {
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
