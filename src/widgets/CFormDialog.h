#pragma once

#include <QDialog>

class CDatabase;
class QLineEdit;

// The base of the program's forms: the "&Ende" logic and the changed state.
//
// A form counts as changed when its own changed flag is set or any of its text fields holds an
// edit made since loading or the last save. "&Ende" asks "Es wurden Änderungen im Formular
// durchgeführt. Sollen diese jetzt gespeichert werden?" (yes/no/cancel) when changed: yes saves
// and closes as accepted only when the save succeeds, no closes as cancelled, cancel stays.
// Unchanged, "&Ende" closes as cancelled (a form may choose accepted, see acceptWhenUnchanged).
// Escape and the close box close without asking.
//
// A form on a database that may only be read (CDatabase::isReadOnly, asked once as the form is
// made) shows its data but takes no input when it is first shown: see ReadOnlyForm. It never
// counts as changed, so "&Ende" closes it without the question, and it never saves.
class CFormDialog : public QDialog {
    Q_OBJECT
public:
    // A form that keeps no data of the database (settings of the program).
    explicit CFormDialog(QWidget* parent = nullptr);
    // A form on the database.
    explicit CFormDialog(const CDatabase& db, QWidget* parent = nullptr);

    bool isReadOnly() const { return m_readOnly; }

    static const char* const kSaveQuestion;

    void setChanged(bool changed = true) { m_changed = changed; }
    bool isChanged() const;
    // Marks every text field as saved and clears the changed flag.
    void markSaved();

public Q_SLOTS:
    // The "&Ende" button.
    void onEnde();

protected:
    void showEvent(QShowEvent* event) override;

    // Reads the form and writes it to the database. On failure it has shown its message, put the
    // focus on the faulty field and returns false; the form then stays open with the input.
    virtual bool save() = 0;

    // The result of "&Ende" on an unchanged form: cancelled, unless a form says that what it
    // already wrote while open makes it accepted.
    virtual bool acceptWhenUnchanged() const { return false; }

    // Reads a whole number from a field. Not a whole number: "Geben Sie bitte eine ganze Zahl
    // ein."; outside min..max: "Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein."; the
    // focus goes to the field and false is returned.
    bool readWholeNumber(QLineEdit* field, int minimum, int maximum, int& value);

private:
    bool m_changed = false;
    const bool m_readOnly = false;
    bool m_locked = false;
};
