#pragma once

#include <cstdint>

class CDatabase;
class CPickList;

// Fill the pick lists of firms and contact persons that the event, service-firm, transport and
// overnight forms offer: the live rows, plus the one the edited row refers to, even when it was
// deleted since. Throw CDaoException; the list is then empty.
namespace PickListFillers {

// Firms of one kind (column Art), private persons first. Each row: display name, "Privat" or
// "Gewerbe", postcode and town, street, phone, mobile, fax, e-mail, homepage, name, first name;
// the row carries ExtID. `blankRow`: an empty first row carrying 0 stands for no firm.
void fillFirms(CPickList& list, CDatabase& db, int firmKind, std::int32_t inUse,
               bool blankRow = false);

// The contact persons of one firm by name, after an empty first row that carries 0. Each row:
// name, first name, phone, mobile, fax, e-mail; the row carries APID. A firm key below 1 leaves
// only the empty row.
void fillContacts(CPickList& list, CDatabase& db, int firmKind, std::int32_t extId,
                  std::int32_t inUse);

} // namespace PickListFillers
