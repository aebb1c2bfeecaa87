#pragma once

class CDatabase;
class QAbstractButton;
class QString;
class QWidget;

// A form or list of a program that may only read (a read-only server login, or a program started
// beside a running one): it shows everything, and nothing on it changes data.
namespace ReadOnlyForm {

// Text fields and spin boxes become read-only; choices (combo boxes, check and radio buttons,
// sliders) are disabled; lists keep their selection but no longer edit, drag or drop rows.
// The buttons that write are disabled, see lockWriteButtons.
void lockFields(QWidget& form);

// Disables the buttons that write (new, delete, add, remove, OK, save, the arrows that move
// rows across) and keeps them disabled when the form enables them again later. Buttons that
// read stay: close, print, help, browsing, and those that open another form, which is itself
// read-only.
void lockWriteButtons(QWidget& form);
// The same for a list or hub of forms on `db`, when it may only be read: its rows still open
// their forms, which are read-only themselves.
void lockWriteButtons(const CDatabase& db, QWidget& form);

// Whether the button writes, told by its caption.
bool writes(const QAbstractButton& button);

// The refusal of a command that only writes: "Vorlanto arbeitet gerade schreibgeschützt …".
QString refusalText();
// On a database that may only be read: shows the refusal and returns true.
bool refuse(const CDatabase& db, QWidget* parent);

} // namespace ReadOnlyForm
