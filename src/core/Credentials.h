#pragma once

#include <QString>

class CDatabase;

// The login name and password kept in the User row, and the check of what someone typed against
// them. Names and passwords are compared as the database compares texts; a missing (null) name or
// password counts as the empty text, since the user-data form stores none.
struct Credentials {
    QString user;
    QString password;

    // The filter that finds the User row of a name and password. Both are compared as text
    // literals, so that nothing typed can change what the filter asks.
    static QString filter(const QString& user, const QString& password);

    // Whether a User row carries this name and password. Throws CDaoException.
    static bool match(CDatabase& db, const QString& user, const QString& password);

    // Whether the program asks for a login: some User row holds a password. Throws CDaoException.
    static bool loginRequired(CDatabase& db);

    // The name of the first User row (empty when there is none): whoever starts a program
    // without a password works under that name. Throws CDaoException.
    static QString storedUser(CDatabase& db);

    enum class Change { Changed, NoMatchingRow };
    // Stores a new password in the row of `current`. Without any User row the row is created with
    // that name and the new password. When rows exist but none belongs to `current` nothing is
    // written. Throws CDaoException; the database is then as it was.
    static Change changePassword(CDatabase& db, const Credentials& current,
                                 const QString& newPassword);
};
