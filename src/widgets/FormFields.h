#pragma once

#include "core/FieldRules.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

// Reading a form's fields back: each reader checks one field, and on a refusal shows the
// message (stop icon), puts the focus on the field, selects its text and returns false.
namespace FormFields {

// A text of at most `maximum` characters (the field's own limit stops typing beyond it; a
// longer text set by the program is refused with "Geben Sie bitte nicht mehr als %1 Zeichen
// ein.").
bool readText(QLineEdit* field, int maximum, QString& text);
// An amount by the decimal rule; empty gives std::nullopt.
bool readDecimal(QLineEdit* field, std::optional<double>& value);
// A date by the date entry rule, two-digit years placed by the kind of date; empty gives
// std::nullopt.
bool readDate(QLineEdit* field, std::optional<QDate>& value,
              FieldRules::DateKind kind = FieldRules::DateKind::Event);
// The same for a date that must be given (the ends of a period): empty is refused too.
bool readRequiredDate(QLineEdit* field, QDate& value,
                      FieldRules::DateKind kind = FieldRules::DateKind::Event);

// Sets up a text field: its maximum length, and its text as saved (not edited), shown from its
// beginning.
void setText(QLineEdit* field, const QString& text, int maximum = 32767);
void setDecimal(QLineEdit* field, std::optional<double> value);
void setDate(QLineEdit* field, const std::optional<QDate>& value);

// Fills a drop-down list from a string-table entry split at line feeds ("Herr\nFrau"), one row
// per piece; the stored value is the row's index.
void fillFromLines(QComboBox* list, const char* lines);

} // namespace FormFields
