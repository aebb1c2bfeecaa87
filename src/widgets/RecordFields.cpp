#include "RecordFields.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"

namespace RecordFields {

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
