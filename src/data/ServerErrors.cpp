// What a PostgreSQL server's refusals mean to the user: the same German descriptions and error
// numbers as the file engine gives for the same fault.
#include "CDaoException.h"

#include <libpq-fe.h>

#include <QStringList>

namespace {

QString field(const pg_result* result, int code) {
    const char* value = result ? PQresultErrorField(result, code) : nullptr;
    return value ? QString::fromUtf8(value) : QString();
}

// "ABCDE" packed 6 bits a character, as the server itself packs it.
int packed(const QString& state) {
    int code = 0;
    for (int i = 0; i < state.size() && i < 5; ++i)
        code |= ((state.at(i).toLatin1() - '0') & 0x3F) << (6 * i);
    return code;
}

// "Key (\"EventID\", lower(\"Artikelgruppe\"))=(…) already exists." names the key's columns.
QStringList keyColumns(const QString& detail) {
    const QString head = QStringLiteral("Key (");
    const int from = detail.indexOf(head);
    const int to = detail.indexOf(QStringLiteral(")=("), from);
    QStringList columns;
    if (from < 0 || to < 0)
        return columns;
    for (QString part : detail.mid(from + head.size(), to - from - head.size())
                            .split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        if (part.startsWith(QStringLiteral("lower(")) && part.endsWith(QLatin1Char(')')))
            part = part.mid(6, part.size() - 7);
        part.remove(QLatin1Char('"'));
        columns << part.trimmed();
    }
    return columns;
}

} // namespace

QString CDaoException::connectionLostText() {
    // Said wherever the loss is noticed first: in a form, a list or a report.
    return QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen. Was Sie in ein "
                          "Formular eingegeben haben, bleibt dort erhalten; speichern Sie es "
                          "erneut, sobald der Server wieder erreichbar ist.");
}

CDaoException CDaoException::connectionLost(int engineCode) {
    return CDaoException(ConnectionLost, connectionLostText(), engineCode);
}

CDaoException CDaoException::fromServer(const pg_conn* connection, const pg_result* result) {
    if (!result || (connection && PQstatus(connection) == CONNECTION_BAD))
        return connectionLost();
    const QString state = field(result, PG_DIAG_SQLSTATE);
    const QString engineText = field(result, PG_DIAG_MESSAGE_PRIMARY);
    const int engineCode = packed(state);
    if (state == QLatin1String("23505"))
        return duplicateKey(keyColumns(field(result, PG_DIAG_MESSAGE_DETAIL)), engineCode);
    if (state == QLatin1String("23502"))
        return CDaoException(Required,
                             QStringLiteral("Das Feld \"%1\" muss einen Wert enthalten.")
                                 .arg(field(result, PG_DIAG_COLUMN_NAME)),
                             engineCode);
    if (state == QLatin1String("23514"))
        return checkFailure(field(result, PG_DIAG_CONSTRAINT_NAME), engineText, engineCode);
    // Another program holds the rows, or the server broke a deadlock: try again.
    if (state == QLatin1String("40001") || state == QLatin1String("40P01") ||
        state == QLatin1String("55P03"))
        return CDaoException(Locked,
                             QStringLiteral("Die Daten werden gerade von einem anderen Programm "
                                            "geändert. Bitte versuchen Sie es gleich noch einmal."),
                             engineCode);
    // A login that may only read, or a database set to read only.
    if (state == QLatin1String("42501") || state == QLatin1String("25006"))
        return CDaoException(ReadOnly,
                             QStringLiteral("Sie dürfen in dieser Datenbank nur lesen. Änderungen "
                                            "können nicht gespeichert werden."),
                             engineCode);
    if (state == QLatin1String("53100"))
        return CDaoException(DiskFull,
                             QStringLiteral("Auf dem Datenbankserver ist nicht genügend "
                                            "Speicherplatz frei. Die Änderung wurde nicht "
                                            "gespeichert."),
                             engineCode);
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return connectionLost(engineCode);
    return CDaoException(EngineError, engineText, engineCode);
}

CDaoException CDaoException::fromServerConnect(const pg_conn* connection,
                                               const QString& shownName) {
    const QString reason = connection ? QString::fromUtf8(PQerrorMessage(connection)).trimmed()
                                      : QStringLiteral("zu wenig Speicher");
    if (reason.contains(QLatin1String("authentication failed")) ||
        reason.contains(QLatin1String("no password supplied")))
        return CDaoException(LoginFailed,
                             QStringLiteral("Der Datenbankserver %1 hat die Anmeldung abgelehnt: "
                                            "Benutzername oder Passwort sind falsch.")
                                 .arg(shownName));
    return CDaoException(CannotOpen,
                         QStringLiteral("Der Datenbankserver %1 ist nicht erreichbar.\n\n%2")
                             .arg(shownName, reason));
}
