#pragma once

#include <QString>

#include <string>

class PgConnection;

// The people of a band database on a server: each logs in with a role of their own, a member
// of the full-access or of the read-only group (see ServerSchema).
namespace ServerAccess {

// Creates the login role `name` with the password (none when empty: the server's other means
// of login apply) in one of the two groups of the connection's database. Throws CDaoException
// with a German reason, for example when the role exists already.
void addPerson(PgConnection& server, const QString& name, const QString& password, bool readOnly);

// The connection URI as it may be kept in a settings file: without any password in it.
std::string withoutPassword(const std::string& uri);

} // namespace ServerAccess
