#include "ReadOnlyForm.h"

#include "core/MessageService.h"
#include "data/CDatabase.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextEdit>

namespace {

// Keeps a write button disabled whatever the form's own enabling says later.
class KeepDisabled : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) {
            auto* button = static_cast<QWidget*>(watched);
            if (button->isEnabled())
                button->setEnabled(false);
        }
        return false;
    }
};

} // namespace

namespace ReadOnlyForm {

QString refusalText() {
    return QStringLiteral("Vorlanto arbeitet gerade schreibgeschützt (nur lesen): Sie können die "
                          "Daten ansehen, drucken und exportieren, aber nichts ändern.");
}

bool refuse(const CDatabase& db, QWidget* parent) {
    if (!db.isReadOnly())
        return false;
    MessageService::exclamation(parent, refusalText());
    return true;
}

bool writes(const QAbstractButton& button) {
    // The caption as read, without its mnemonic.
    const QString caption = button.text().remove(u'&').trimmed().toLower();
    static const QRegularExpression writing(QStringLiteral(
        "^(ok|-->|<--)$|^(speichern|übernehmen|standard)|\\bneu(e|en|er|es)?\\b|löschen|"
        "hinzufügen|"
        "einfügen|entfernen|festlegen|importieren|wiederherstellen"));
    return writing.match(caption).hasMatch();
}

void lockWriteButtons(QWidget& form) {
    auto* keeper = new KeepDisabled(&form);
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        // Check and radio buttons are choices, see lockFields.
        if (button->isCheckable() || !writes(*button))
            continue;
        button->setEnabled(false);
        button->installEventFilter(keeper);
    }
}

void lockWriteButtons(const CDatabase& db, QWidget& form) {
    if (db.isReadOnly())
        lockWriteButtons(form);
}

void lockFields(QWidget& form) {
    for (QLineEdit* edit : form.findChildren<QLineEdit*>()) {
        // A combo box's or spin box's own line edit follows its owner.
        if (!qobject_cast<QComboBox*>(edit->parentWidget()) &&
            !qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
            edit->setReadOnly(true);
    }
    for (QPlainTextEdit* edit : form.findChildren<QPlainTextEdit*>())
        edit->setReadOnly(true);
    for (QTextEdit* edit : form.findChildren<QTextEdit*>())
        edit->setReadOnly(true);
    for (QAbstractSpinBox* box : form.findChildren<QAbstractSpinBox*>())
        box->setReadOnly(true);
    for (QComboBox* box : form.findChildren<QComboBox*>())
        box->setEnabled(false);
    for (QAbstractSlider* slider : form.findChildren<QAbstractSlider*>()) {
        // Scroll bars stay: the user reads the whole list.
        if (!qobject_cast<QScrollBar*>(slider))
            slider->setEnabled(false);
    }
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        if (button->isCheckable())
            button->setEnabled(false);
    }
    for (QAbstractItemView* view : form.findChildren<QAbstractItemView*>()) {
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setDragDropMode(QAbstractItemView::NoDragDrop);
        view->setAcceptDrops(false);
    }
    lockWriteButtons(form);
}

} // namespace ReadOnlyForm
