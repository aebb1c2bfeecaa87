#pragma once

#include "CFormDialog.h"
#include "FieldBindings.h"
#include "data/CRecordset.h"

#include <QString>

#include <cstdint>

class CDaoException;
class CDatabase;
class SourceDef;

// A form that edits one row of one table. It keeps the row's key, never an open record set: it
// reads the row by its key when it opens and after every save, and opens it again to write, so
// an open form holds no lock on the database.
//
// The form declares its fields as bindings; the base shows them, reads them back with the
// German refusals, stores them and tracks changes. A form adds what its bindings cannot say by
// overriding the hooks below. A key of -1 (or one that finds no row) stands for a new row, whose
// key is read back once it is stored.
//
// When the row cannot be read the error has been shown and isReady() is false: such a form is
// not shown, and it never saves, so that empty fields cannot overwrite a stored row.
//
// Saving writes only the fields the user changed, and only while the row still holds what the
// form showed. When someone else changed it meanwhile, nothing is written; the form names the
// fields changed there and the user's own, and offers to take the stored values into the form
// (the user's changes of other fields stay) or to write the user's values over them. Dependent
// rows written by storeDependents() follow the same rule (CRecordset::expect).
class CRecordFormDialog : public CFormDialog {
    Q_OBJECT
public:
    bool isReady() const { return m_ready; }
    std::int32_t key() const { return m_key; }
    bool isNew() const { return m_key == -1; }

protected:
    // `keyColumn` nullptr: the table has one row, the first one found is the form's.
    CRecordFormDialog(CDatabase& db, const SourceDef& source, const char* keyColumn,
                      std::int32_t key, QWidget* parent = nullptr);

    CDatabase& database() const { return m_db; }
    FieldBindings& fields() { return m_fields; }

    // Reads the form's row and shows it, or the values of a new row. Call it at the end of the
    // form's constructor; it wires the change tracking once.
    void loadRow();

    // The filter that finds the form's row by its key.
    virtual QString rowFilter(std::int32_t key) const;
    // What the bindings do not show: called after they showed the row, or a new row.
    virtual void showRow(const CRecordset& row) { (void)row; }
    virtual void showNewRow() {}
    // Checks that need more than one field; called after every binding read its field.
    virtual bool checkInput() { return true; }
    // Columns beyond the bindings (a new row's fixed columns, values computed from others).
    virtual void storeRow(CRecordset& row, bool isNew) {
        (void)row;
        (void)isNew;
    }
    // Rows of other tables that change with the form's row, written in the same transaction:
    // when this throws, the form's row is not stored either.
    virtual void storeDependents(const CRecordset& row, bool isNew) {
        (void)row;
        (void)isNew;
    }
    // After the row was stored and shown again: tell who lists it.
    virtual void rowSaved() {}
    // The message for a write the database refused: its description, naming the field by its
    // label (a form may say it in its own words, for example for a duplicate key).
    virtual QString refusalText(const CDaoException& error);
    // The name of a column's field as the form shows it, for the message about a row changed
    // meanwhile: the label of the field bound to it. A form names the columns it writes beyond
    // its bindings (in storeRow or storeDependents); otherwise the column's name is used.
    virtual QString fieldLabel(const QString& table, const QString& column) const;

    // Reads, checks and writes the row, then shows it again as stored. A database error is
    // shown, naming the field by its label, and the form keeps what the user typed.
    bool save() override;

private:
    // False when the row could not be read (the error has been shown).
    bool readRow();
    bool writeRow();
    void writeOnce();
    QString conflictText(const CDaoException& conflict) const;
    // Shows the row as stored now with the user's changes of the fields nobody else changed.
    void takeStoredValues(const CDaoException& conflict);

    CDatabase& m_db;
    const SourceDef& m_source;
    const char* const m_keyColumn;
    std::int32_t m_key;
    bool m_ready = true;
    bool m_watching = false;
    FieldBindings m_fields;
    CRecordset::ReadImage m_shown; // the row as the form showed it
};
