#pragma once

#include <QDialog>

class QLineEdit;

// The base of the program's forms: the "&Ende" logic and the changed state.
//
// A form counts as changed when its own changed flag is set or any of its text fields holds an
// edit made since loading or the last save. "&Ende" asks "Es wurden Änderungen im Formular
// durchgeführt. Sollen diese jetzt gespeichert werden?" (yes/no/cancel) when changed: yes saves
// and closes as accepted only when the save succeeds, no closes as cancelled, cancel stays.
// Unchanged, "&Ende" closes as cancelled (a form may choose accepted, see acceptWhenUnchanged).
// Escape and the close box close without asking.
class CFormDialog : public QDialog {
    Q_OBJECT
public:
    explicit CFormDialog(QWidget* parent = nullptr);

    static const char* const kSaveQuestion;

    void setChanged(bool changed = true) { m_changed = changed; }
    bool isChanged() const;
    // Marks every text field as saved and clears the changed flag.
    void markSaved();

public Q_SLOTS:
    // The "&Ende" button.
    void onEnde();

protected:
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
};
