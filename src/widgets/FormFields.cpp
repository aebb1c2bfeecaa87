#include "FormFields.h"

#include "core/FieldRules.h"
#include "core/MessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QVariant>

namespace FormFields {

namespace {

// Shows the refusal and leaves the user in the field with its text selected, ready to retype.
bool refuse(QLineEdit* field, const QString& message) {
    MessageService::stop(field->window(), message);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

// The whole stored text of a field whose stored text is longer than its limit.
constexpr char kLongStoredText[] = "vorlantoLongStoredText";

} // namespace

bool readText(QLineEdit* field, int maximum, QString& text) {
    const QString typed = field->text();
    if (typed.size() > maximum && typed != field->property(kLongStoredText).toString())
        return refuse(field, QString::fromUtf8(FieldRules::kTooLong).arg(maximum));
    text = typed;
    return true;
}

bool readDecimal(QLineEdit* field, std::optional<double>& value) {
    bool ok = false;
    const std::optional<double> read = FieldRules::parseDecimal(field->text(), &ok);
    if (!ok)
        return refuse(field, QString::fromUtf8(FieldRules::kNotANumber));
    value = read;
    return true;
}

bool readDate(QLineEdit* field, std::optional<QDate>& value, FieldRules::DateKind kind) {
    bool ok = false;
    const std::optional<QDate> read = FieldRules::parseDate(field->text(), &ok, kind);
    if (!ok)
        return refuse(field, QString::fromUtf8(FieldRules::kNotADate));
    value = read;
    return true;
}

bool readRequiredDate(QLineEdit* field, QDate& value, FieldRules::DateKind kind) {
    std::optional<QDate> read;
    if (!readDate(field, read, kind))
        return false;
    if (!read)
        return refuse(field, QString::fromUtf8(FieldRules::kNotADate));
    value = *read;
    return true;
}

void setText(QLineEdit* field, const QString& text, int maximum) {
    // A stored text longer than the limit (from an import, or written before the limit) is
    // shown and kept whole; the limit holds for what the user changes.
    const bool longer = text.size() > maximum;
    field->setProperty(kLongStoredText, longer ? QVariant(text) : QVariant());
    field->setMaxLength(longer ? int(text.size()) : maximum);
    field->setText(text);
    // A text longer than the field shows its beginning, not its end.
    field->setCursorPosition(0);
    field->setModified(false);
}

void setDecimal(QLineEdit* field, std::optional<double> value) {
    field->setText(FieldRules::formatDecimal(value));
    field->setModified(false);
}

void setDate(QLineEdit* field, const std::optional<QDate>& value) {
    field->setText(FieldRules::formatDate(value));
    field->setModified(false);
}

void fillFromLines(QComboBox* list, const char* lines) {
    list->clear();
    if (!lines)
        return;
    const QStringList pieces = QString::fromUtf8(lines).split(QLatin1Char('\n'));
    for (int index = 0; index < pieces.size(); ++index)
        list->addItem(pieces.at(index), index);
}

} // namespace FormFields
