#include "RecordFields.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"

namespace RecordFields {

void setText(CRecordset& set, std::string_view column, const QString& text) {
    if (text.isEmpty())
        set.setNull(column);
    else
        set.setText(column, text);
}

void setAmount(CRecordset& set, std::string_view column, const std::optional<double>& amount) {
    if (amount)
        set.setSingle(column, *amount);
    else
        set.setNull(column);
}

void setDate(CRecordset& set, std::string_view column, const std::optional<QDate>& date) {
    if (date)
        set.setDate(column, QDateTime(*date, QTime(0, 0), Qt::UTC));
    else
        set.setNull(column);
}

std::optional<QDate> date(const CRecordset& set, std::string_view column) {
    const QDateTime moment = set.getDate(column);
    return moment.isValid() ? std::optional<QDate>(moment.date()) : std::nullopt;
}

bool writeRow(QWidget* messageParent, CRecordset& set, std::string_view keyColumn,
              std::int32_t& key, const std::function<void()>& fill) {
    try {
        fill();
        set.update();
        set.moveToBookmark(set.lastModified());
        key = set.getLong(keyColumn);
        return true;
    } catch (const CDaoException& error) {
        if (set.isEditing())
            set.cancelUpdate();
        MessageService::stop(messageParent, error.description());
        return false;
    }
}

} // namespace RecordFields
