#include "Credentials.h"

#include "data/CDatabase.h"
#include "data/JetFilter.h"
#include "data/RecordSets.h"

namespace {

// One column against a typed text; an empty text also finds null.
QString columnIs(const char* column, const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("([%1] Is Null OR [%1]=\"\")").arg(QLatin1String(column));
    return QStringLiteral("[%1]=%2").arg(QLatin1String(column), Jet::quoted(text));
}

} // namespace

QString Credentials::filter(const QString& user, const QString& password) {
    return columnIs("Benutzer", user) + QStringLiteral(" AND ") + columnIs("Passwort", password);
}

bool Credentials::match(CDatabase& db, const QString& user, const QString& password) {
    CSetUser rows(db);
    rows.open(filter(user, password));
    return !rows.atEnd();
}

bool Credentials::loginRequired(CDatabase& db) {
    CSetUser rows(db);
    rows.open(QStringLiteral("[Passwort] Is Not Null AND NOT [Passwort]=\"\""));
    return !rows.atEnd();
}

QString Credentials::storedUser(CDatabase& db) {
    CSetUser rows(db);
    rows.open();
    return rows.atEnd() ? QString() : rows.getText("Benutzer").trimmed();
}

Credentials::Change Credentials::changePassword(CDatabase& db, const Credentials& current,
                                                const QString& newPassword) {
    CSetUser rows(db);
    CDbTransaction transaction(db);
    rows.open(filter(current.user, current.password));
    if (rows.atEnd()) {
        CSetUser any(db);
        any.open();
        if (!any.atEnd())
            return Change::NoMatchingRow;
        rows.addNew();
        if (!current.user.isEmpty())
            rows.setText("Benutzer", current.user);
    } else {
        rows.edit();
    }
    if (newPassword.isEmpty())
        rows.setNull("Passwort");
    else
        rows.setText("Passwort", newPassword);
    try {
        rows.update();
    } catch (...) {
        rows.cancelUpdate();
        throw;
    }
    transaction.commit();
    return Change::Changed;
}
