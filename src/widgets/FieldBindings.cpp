#include "FieldBindings.h"

#include "CPickList.h"
#include "FormFields.h"
#include "core/FieldRules.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/CRecordset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimeEdit>

#include <algorithm>

namespace {

std::optional<double> storedAmount(const CRecordset& row, std::string_view column) {
    if (row.isNull(column))
        return std::nullopt;
    return double(row.getSingle(column));
}

void storeText(CRecordset& row, std::string_view column, const QString& text) {
    if (text.isEmpty())
        row.setNull(column);
    else
        row.setText(column, text);
}

} // namespace

// --- FieldBinding ---------------------------------------------------------------------------

QString labelOf(const QWidget* control) {
    const QWidget* form = control->window();
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        if (label->buddy() != control)
            continue;
        QString text = label->text();
        text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        while (text.endsWith(u':') || text.endsWith(u' '))
            text.chop(1);
        return text;
    }
    return QString();
}

QString FieldBinding::label() const {
    const QString text = labelOf(m_control);
    return text.isEmpty() ? QString::fromUtf8(m_column.data(), int(m_column.size())) : text;
}

bool FieldBinding::refuse(const QString& message) const {
    MessageService::stop(m_control->window(), message);
    m_control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(m_control))
        edit->selectAll();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(m_control))
        memo->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(m_control); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    return false;
}

// --- texts ----------------------------------------------------------------------------------

TextBinding::TextBinding(QLineEdit* edit, std::string_view column, int maximum)
    : FieldBinding(edit, column), m_edit(edit), m_maximum(maximum) {}

void TextBinding::clear() {
    FormFields::setText(m_edit, QString(), m_maximum);
}

void TextBinding::load(const CRecordset& row) {
    FormFields::setText(m_edit, row.getText(column()), m_maximum);
    // A long text shows its beginning.
    m_edit->setCursorPosition(0);
}

bool TextBinding::read() {
    return FormFields::readText(m_edit, m_maximum, m_value);
}

void TextBinding::store(CRecordset& row) const {
    storeText(row, column(), m_value);
}

MemoBinding::MemoBinding(QPlainTextEdit* edit, std::string_view column, int maximum)
    : FieldBinding(edit, column), m_edit(edit), m_maximum(maximum) {}

void MemoBinding::clear() {
    m_loaded.clear();
    m_edit->setPlainText(QString());
    m_edit->document()->setModified(false);
}

void MemoBinding::load(const CRecordset& row) {
    m_loaded = row.getText(column());
    m_edit->setPlainText(m_loaded);
    m_edit->document()->setModified(false);
}

bool MemoBinding::read() {
    const QString text = m_edit->toPlainText();
    if (text.size() > m_maximum && text != m_loaded)
        return refuse(QString::fromUtf8(FieldRules::kTooLong).arg(m_maximum));
    m_value = text;
    return true;
}

void MemoBinding::store(CRecordset& row) const {
    storeText(row, column(), m_value);
}

// --- amounts and dates ----------------------------------------------------------------------

AmountBinding::AmountBinding(QLineEdit* edit, std::string_view column)
    : FieldBinding(edit, column), m_edit(edit) {}

void AmountBinding::clear() {
    m_stored.reset();
    FormFields::setDecimal(m_edit, std::nullopt);
}

void AmountBinding::load(const CRecordset& row) {
    m_stored = storedAmount(row, column());
    FormFields::setDecimal(m_edit, m_stored);
}

void AmountBinding::showEdited(const CRecordset& row) {
    FormFields::setDecimal(m_edit, storedAmount(row, column()));
}

bool AmountBinding::read() {
    std::optional<double> typed;
    if (!FormFields::readDecimal(m_edit, typed))
        return false;
    const bool unchanged = FieldRules::formatDecimal(typed) == FieldRules::formatDecimal(m_stored);
    m_value = unchanged ? m_stored : typed;
    return true;
}

void AmountBinding::store(CRecordset& row) const {
    if (m_value)
        row.setSingle(column(), *m_value);
    else
        row.setNull(column());
}

DateBinding::DateBinding(QLineEdit* edit, std::string_view column, Kind kind)
    : FieldBinding(edit, column), m_edit(edit), m_kind(kind) {}

void DateBinding::clear() {
    FormFields::setDate(m_edit, std::nullopt);
}

void DateBinding::load(const CRecordset& row) {
    const QDateTime moment = row.getDate(column());
    FormFields::setDate(m_edit,
                        moment.isValid() ? std::optional<QDate>(moment.date()) : std::nullopt);
}

bool DateBinding::read() {
    return FormFields::readDate(m_edit, m_value, m_kind);
}

void DateBinding::store(CRecordset& row) const {
    if (m_value)
        row.setDate(column(), QDateTime(*m_value, QTime(0, 0), Qt::UTC));
    else
        row.setNull(column());
}

DateTimeBinding::DateTimeBinding(QLineEdit* date, QTimeEdit* time, std::string_view column)
    : FieldBinding(date, column), m_date(date), m_time(time), m_newTime(0, 0) {}

void DateTimeBinding::clear() {
    FormFields::setDate(m_date, QDate::currentDate());
    const QSignalBlocker quiet(m_time);
    m_time->setTime(m_newTime);
}

void DateTimeBinding::load(const CRecordset& row) {
    const QDateTime moment = row.getDate(column());
    FormFields::setDate(m_date,
                        moment.isValid() ? std::optional<QDate>(moment.date()) : std::nullopt);
    const QSignalBlocker quiet(m_time);
    m_time->setTime(moment.isValid() ? moment.time() : QTime(0, 0));
}

bool DateTimeBinding::read() {
    std::optional<QDate> date;
    if (!FormFields::readDate(m_date, date))
        return false;
    if (!date)
        return refuse(QString::fromUtf8(FieldRules::kNotADate));
    const QTime clock = m_time->time();
    m_value = QDateTime(*date, QTime(clock.hour(), clock.minute()), Qt::UTC);
    return true;
}

void DateTimeBinding::store(CRecordset& row) const {
    row.setDate(column(), m_value);
}

void DateTimeBinding::watch(const std::function<void()>& changed) {
    QObject::connect(m_time, &QTimeEdit::timeChanged, m_time, [changed] { changed(); });
}

// --- choices --------------------------------------------------------------------------------

CheckBinding::CheckBinding(QCheckBox* check, std::string_view column)
    : FieldBinding(check, column), m_check(check) {}

void CheckBinding::clear() {
    m_check->setChecked(false);
}

void CheckBinding::load(const CRecordset& row) {
    m_check->setChecked(row.getBool(column()));
}

bool CheckBinding::read() {
    m_value = m_check->isChecked();
    return true;
}

void CheckBinding::store(CRecordset& row) const {
    row.setBool(column(), m_value);
}

void CheckBinding::watch(const std::function<void()>& changed) {
    QObject::connect(m_check, &QCheckBox::clicked, m_check, [changed] { changed(); });
}

ComboIndexBinding::ComboIndexBinding(QComboBox* combo, std::string_view column, int newIndex)
    : FieldBinding(combo, column), m_combo(combo), m_newIndex(newIndex) {}

void ComboIndexBinding::clear() {
    const QSignalBlocker quiet(m_combo);
    m_combo->setCurrentIndex(m_newIndex);
}

void ComboIndexBinding::load(const CRecordset& row) {
    const int index = row.getInt(column());
    const QSignalBlocker quiet(m_combo);
    if (index >= 0 && index < m_combo->count())
        m_combo->setCurrentIndex(index);
}

bool ComboIndexBinding::read() {
    m_value = m_combo->currentIndex();
    return true;
}

void ComboIndexBinding::store(CRecordset& row) const {
    row.setInt(column(), m_value);
}

void ComboIndexBinding::watch(const std::function<void()>& changed) {
    QObject::connect(m_combo, &QComboBox::currentIndexChanged, m_combo, [changed] { changed(); });
}

PickKeyBinding::PickKeyBinding(CPickList* list, std::string_view column)
    : FieldBinding(list, column), m_list(list) {}

void PickKeyBinding::clear() {
    const QSignalBlocker quiet(m_list);
    m_list->setCurrentIndex(-1);
}

void PickKeyBinding::load(const CRecordset& row) {
    const QSignalBlocker quiet(m_list);
    if (row.isNull(column()) || !m_list->selectData(row.getLong(column())))
        clear();
}

bool PickKeyBinding::read() {
    const std::int32_t key = m_list->selectedData(0);
    m_value = key != 0 ? std::optional<std::int32_t>(key) : std::nullopt;
    return true;
}

void PickKeyBinding::store(CRecordset& row) const {
    if (m_value)
        row.setLong(column(), *m_value);
    else
        row.setNull(column());
}

void PickKeyBinding::watch(const std::function<void()>& changed) {
    QObject::connect(m_list, &QComboBox::currentIndexChanged, m_list, [changed] { changed(); });
}

RadioBinding::RadioBinding(QList<QPair<QRadioButton*, int>> buttons, std::string_view column,
                           int defaultValue)
    : FieldBinding(buttons.first().first, column), m_buttons(std::move(buttons)),
      m_default(defaultValue), m_value(defaultValue) {}

void RadioBinding::show(int value) {
    for (const auto& [button, number] : m_buttons) {
        if (number == value) {
            button->setChecked(true);
            return;
        }
    }
    if (value != m_default)
        show(m_default);
}

void RadioBinding::clear() {
    show(m_default);
}

void RadioBinding::load(const CRecordset& row) {
    show(row.isNull(column()) ? m_default : row.getInt(column()));
}

bool RadioBinding::read() {
    m_value = m_default;
    for (const auto& [button, number] : m_buttons) {
        if (button->isChecked())
            m_value = number;
    }
    return true;
}

void RadioBinding::store(CRecordset& row) const {
    row.setInt(column(), m_value);
}

void RadioBinding::watch(const std::function<void()>& changed) {
    // A click counts as a change even on the button already chosen.
    for (const auto& each : m_buttons)
        QObject::connect(each.first, &QRadioButton::clicked, each.first, [changed] { changed(); });
}

ComboTextBinding::ComboTextBinding(QComboBox* combo, std::string_view column, int maximum)
    : FieldBinding(combo, column), m_combo(combo), m_maximum(maximum) {
    if (m_combo->isEditable()) {
        m_combo->lineEdit()->setMaxLength(m_maximum);
        // Return confirms the form; it does not add the typed text to the values offered. What
        // is typed stays as typed: no completion turns "Sandra" into "Sandra Velten".
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        m_combo->setCompleter(nullptr);
    }
}

void ComboTextBinding::show(const QString& text) {
    const QSignalBlocker quiet(m_combo);
    m_shown = text;
    if (m_combo->isEditable()) {
        m_combo->lineEdit()->setMaxLength(std::max(m_maximum, int(text.size())));
        m_combo->setCurrentIndex(-1);
        m_combo->setEditText(text);
        m_combo->lineEdit()->setModified(false);
        m_combo->lineEdit()->setCursorPosition(0);
        return;
    }
    int index = m_combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        m_combo->addItem(text);
        index = m_combo->count() - 1;
    }
    m_combo->setCurrentIndex(index);
}

void ComboTextBinding::clear() {
    show(QString());
}

void ComboTextBinding::load(const CRecordset& row) {
    show(row.getText(column()));
}

bool ComboTextBinding::read() {
    const QString text = m_combo->currentText();
    if (text.size() > m_maximum && text != m_shown)
        return refuse(QString::fromUtf8(FieldRules::kTooLong).arg(m_maximum));
    m_value = text;
    return true;
}

void ComboTextBinding::store(CRecordset& row) const {
    storeText(row, column(), m_value);
}

void ComboTextBinding::watch(const std::function<void()>& changed) {
    // Typing marks the line edit as edited; picking a value from the list does not.
    QObject::connect(m_combo, &QComboBox::currentIndexChanged, m_combo, [changed] { changed(); });
}

// --- FieldBindings --------------------------------------------------------------------------

void FieldBindings::clear() {
    for (const auto& binding : m_bindings)
        binding->clear();
}

void FieldBindings::load(const CRecordset& row) {
    for (const auto& binding : m_bindings)
        binding->load(row);
}

void FieldBindings::showEdited(const CRecordset& row) {
    for (const auto& binding : m_bindings)
        binding->showEdited(row);
}

bool FieldBindings::read() {
    for (const auto& binding : m_bindings) {
        if (!binding->read())
            return false;
    }
    return true;
}

void FieldBindings::store(CRecordset& row) const {
    for (const auto& binding : m_bindings)
        binding->store(row);
}

void FieldBindings::watch(const std::function<void()>& changed) {
    for (const auto& binding : m_bindings)
        binding->watch(changed);
}

QString FieldBindings::explain(const CDaoException& error) const {
    QString description = error.description();
    for (const auto& binding : m_bindings) {
        const QString quoted = QStringLiteral("\"%1\"").arg(
            QString::fromUtf8(binding->column().data(), int(binding->column().size())));
        if (!description.contains(quoted))
            continue;
        description.replace(quoted, QStringLiteral("\"%1\"").arg(binding->label()));
        binding->control()->setFocus(Qt::OtherFocusReason);
        break;
    }
    return description;
}

QString FieldBindings::label(std::string_view column) const {
    for (const auto& binding : m_bindings) {
        if (binding->column() == column)
            return binding->label();
    }
    return QString();
}
