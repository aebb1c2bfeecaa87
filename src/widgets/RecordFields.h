#pragma once

#include "FormFields.h"
#include "data/CRecordset.h"

#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

// Moving a form's values into and out of a record. A form keeps its text fields as a table of
// bindings (field, column, longest text) and lets these helpers show, read and store them, so
// every form treats empty texts, missing amounts and dates alike: they are stored as null.
namespace RecordFields {

struct TextBinding {
    QLineEdit* edit;
    std::string_view column;
    int maximum;
};

// Empty text, no amount, no date: null.
void setText(CRecordset& set, std::string_view column, const QString& text);
void setAmount(CRecordset& set, std::string_view column, const std::optional<double>& amount);
// A date alone is stored at midnight; no date stores null.
void setDate(CRecordset& set, std::string_view column, const std::optional<QDate>& date);
// The date part of a stored Date/Time column, or none.
std::optional<QDate> date(const CRecordset& set, std::string_view column);

template <size_t N> void clearTexts(const std::array<TextBinding, N>& fields) {
    for (const TextBinding& field : fields)
        FormFields::setText(field.edit, QString(), field.maximum);
}

template <size_t N>
void showTexts(const CRecordset& set, const std::array<TextBinding, N>& fields) {
    for (const TextBinding& field : fields)
        FormFields::setText(field.edit, set.getText(field.column), field.maximum);
}

// Reads every field in order; the first one refused keeps the focus and false is returned.
template <size_t N>
bool readTexts(const std::array<TextBinding, N>& fields, std::array<QString, N>& values) {
    for (size_t i = 0; i < N; ++i) {
        if (!FormFields::readText(fields[i].edit, fields[i].maximum, values[i]))
            return false;
    }
    return true;
}

template <size_t N>
void storeTexts(CRecordset& set, const std::array<TextBinding, N>& fields,
                const std::array<QString, N>& values) {
    for (size_t i = 0; i < N; ++i)
        setText(set, fields[i].column, values[i]);
}

// Writes a row: `fill` starts the add or edit and sets the columns, then the row is stored and
// made current, and its key column read back into `key`. A database error cancels the pending
// change, is shown (stop icon) and gives false; the form keeps what the user typed.
bool writeRow(QWidget* messageParent, CRecordset& set, std::string_view keyColumn,
              std::int32_t& key, const std::function<void()>& fill);

} // namespace RecordFields
