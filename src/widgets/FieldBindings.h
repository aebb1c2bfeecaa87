#pragma once

#include "core/FieldRules.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QTime>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class CDaoException;
class CPickList;
class CRecordset;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTimeEdit;
class QWidget;

// One control of a form bound to one column of its row. A binding shows the stored value, reads
// the control back with the German refusals (message, focus on the control, text selected) and
// stores what it read. Empty texts, missing amounts and dates are stored as null.
class FieldBinding {
public:
    FieldBinding(QWidget* control, std::string_view column)
        : m_control(control), m_column(column) {}
    virtual ~FieldBinding() = default;
    FieldBinding(const FieldBinding&) = delete;
    FieldBinding& operator=(const FieldBinding&) = delete;

    QWidget* control() const { return m_control; }
    std::string_view column() const { return m_column; }
    // The name of the field as the form shows it: the text of the label that names the control
    // (its buddy), without mnemonic and colon; the column name when there is none.
    QString label() const;

    // Shows the value of a new record.
    virtual void clear() = 0;
    virtual void load(const CRecordset& row) = 0;
    // Shows the value of a row being edited without taking it as the stored value (the form
    // shows the stored row merged with the user's own changes).
    virtual void showEdited(const CRecordset& row) { load(row); }
    // Checks what the control holds and keeps it for store(); false after a refusal.
    virtual bool read() = 0;
    virtual void store(CRecordset& row) const = 0;
    // Calls `changed` when the user changes a control that has no edited flag of its own (text
    // fields have one, which the form asks directly).
    virtual void watch(const std::function<void()>& changed) { (void)changed; }

protected:
    // Shows the refusal and leaves the user in the control, its text selected.
    bool refuse(const QString& message) const;

private:
    QWidget* m_control;
    std::string_view m_column;
};

// The text of the label that names the control (its buddy), without mnemonic and colon; empty
// when no label names it.
QString labelOf(const QWidget* control);

// A one-line text of at most `maximum` characters.
class TextBinding : public FieldBinding {
public:
    TextBinding(QLineEdit* edit, std::string_view column, int maximum = 32767);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    const QString& value() const { return m_value; }
    // Replaces what was read (a form that stores a text only in one of its modes).
    void setValue(const QString& value) { m_value = value; }

private:
    QLineEdit* m_edit;
    int m_maximum;
    QString m_value;
};

// A multi-line text (remarks, agreements) of at most `maximum` characters.
class MemoBinding : public FieldBinding {
public:
    MemoBinding(QPlainTextEdit* edit, std::string_view column, int maximum = 255);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    const QString& value() const { return m_value; }

private:
    QPlainTextEdit* m_edit;
    int m_maximum;
    QString m_value;
    QString m_loaded; // kept whole even when longer than the limit
};

// An amount by the decimal rule. When the field still shows the stored amount, the stored amount
// is kept as it is, so saving never rounds it to the two decimals shown.
class AmountBinding : public FieldBinding {
public:
    AmountBinding(QLineEdit* edit, std::string_view column);
    void clear() override;
    void load(const CRecordset& row) override;
    void showEdited(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    // What store() writes, and what the row held when it was shown.
    const std::optional<double>& value() const { return m_value; }
    const std::optional<double>& stored() const { return m_stored; }

private:
    QLineEdit* m_edit;
    std::optional<double> m_stored;
    std::optional<double> m_value;
};

// A date by the date entry rule, stored at midnight. Birth dates read a two-digit year so that
// the date does not lie in the future.
class DateBinding : public FieldBinding {
public:
    using Kind = FieldRules::DateKind;
    DateBinding(QLineEdit* edit, std::string_view column, Kind kind = Kind::Event);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    const std::optional<QDate>& value() const { return m_value; }

private:
    QLineEdit* m_edit;
    Kind m_kind;
    std::optional<QDate> m_value;
};

// A moment to the minute from a date field and a time field; the date is required.
class DateTimeBinding : public FieldBinding {
public:
    DateTimeBinding(QLineEdit* date, QTimeEdit* time, std::string_view column);
    // Shows a new record's moment: today at this time of day.
    void setNewTime(const QTime& time) { m_newTime = time; }
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    void watch(const std::function<void()>& changed) override;
    const QDateTime& value() const { return m_value; }
    QLineEdit* dateField() const { return m_date; }
    QTimeEdit* timeField() const { return m_time; }

private:
    QLineEdit* m_date;
    QTimeEdit* m_time;
    QTime m_newTime;
    QDateTime m_value;
};

// A Yes/No column.
class CheckBinding : public FieldBinding {
public:
    CheckBinding(QCheckBox* check, std::string_view column);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    void watch(const std::function<void()>& changed) override;

private:
    QCheckBox* m_check;
    bool m_value = false;
};

// A drop-down list whose row index is stored (the salutation "Herr"/"Frau"); a stored index
// outside the list leaves the current row.
class ComboIndexBinding : public FieldBinding {
public:
    ComboIndexBinding(QComboBox* combo, std::string_view column, int newIndex = 0);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    void watch(const std::function<void()>& changed) override;

private:
    QComboBox* m_combo;
    int m_newIndex;
    int m_value = 0;
};

// A pick list whose rows carry the keys of another table; the row carrying 0 (or no row) is
// stored as null, and null shows no row.
class PickKeyBinding : public FieldBinding {
public:
    PickKeyBinding(CPickList* list, std::string_view column);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    void watch(const std::function<void()>& changed) override;
    // The key read, or none.
    const std::optional<std::int32_t>& value() const { return m_value; }

private:
    CPickList* m_list;
    std::optional<std::int32_t> m_value;
};

// Radio buttons of which each stands for a stored number; a null or unknown number shows the
// default button.
class RadioBinding : public FieldBinding {
public:
    RadioBinding(QList<QPair<QRadioButton*, int>> buttons, std::string_view column,
                 int defaultValue);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    void watch(const std::function<void()>& changed) override;
    int value() const { return m_value; }
    void show(int value);

private:
    QList<QPair<QRadioButton*, int>> m_buttons;
    int m_default;
    int m_value;
};

// A drop-down whose text is stored: an editable one (a value typed or picked from the values
// offered), or a fixed list of texts ("", "P", "F"). Empty text is stored as null. A stored text
// that a fixed list does not offer is added to it, so that saving never replaces it unseen.
class ComboTextBinding : public FieldBinding {
public:
    ComboTextBinding(QComboBox* combo, std::string_view column, int maximum = 32767);
    void clear() override;
    void load(const CRecordset& row) override;
    bool read() override;
    void store(CRecordset& row) const override;
    void watch(const std::function<void()>& changed) override;
    // Shows a text as if it had been stored (a form filled from values it was handed).
    void show(const QString& text);
    const QString& value() const { return m_value; }

private:
    QComboBox* m_combo;
    int m_maximum;
    QString m_value;
    QString m_shown; // kept whole even when longer than the limit
};

// The bindings of one form, in the order of the form, so that the first faulty field is the one
// refused.
class FieldBindings {
public:
    template <class Binding, class... Args> Binding* add(Args&&... args) {
        auto binding = std::make_unique<Binding>(std::forward<Args>(args)...);
        Binding* raw = binding.get();
        m_bindings.push_back(std::move(binding));
        return raw;
    }

    void clear();
    void load(const CRecordset& row);
    void showEdited(const CRecordset& row);
    bool read();
    void store(CRecordset& row) const;
    void watch(const std::function<void()>& changed);

    // A database refusal names the column ("Der Text im Feld \"Waehrunglang\" ist zu lang");
    // the user knows the field by its label. Gives the description with the label, and puts the
    // focus on that field.
    QString explain(const CDaoException& error) const;
    // The label of the field bound to the column; empty when no field shows it.
    QString label(std::string_view column) const;

private:
    std::vector<std::unique_ptr<FieldBinding>> m_bindings;
};
