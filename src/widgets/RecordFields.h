#pragma once

#include "data/CRecordset.h"

#include <cstdint>
#include <functional>
#include <string_view>

class QWidget;

// Writing one row of a list form straight through its record set (the instrument list edits its
// rows in place; a form of one row uses CRecordFormDialog instead).
namespace RecordFields {

// `fill` starts the add or edit and sets the columns, then the row is stored and made current,
// and its key column read back into `key`. A database error cancels the pending change, is shown
// (stop icon) and gives false; the form keeps what the user typed.
bool writeRow(QWidget* messageParent, CRecordset& set, std::string_view keyColumn,
              std::int32_t& key, const std::function<void()>& fill);

} // namespace RecordFields
