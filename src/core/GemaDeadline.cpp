#include "GemaDeadline.h"

#include "data/CDaoException.h"
#include "data/CDatabase.h"

#include <QStringList>

#include <algorithm>

#include <sqlite3.h>

namespace GemaDeadline {

namespace {

QString columnText(sqlite3_stmt* statement, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

} // namespace

std::vector<Due> dueEvents(CDatabase& db, const QDate& today) {
    // ?1 today as "yyyy-MM-dd". An event took place when it began before today.
    static const std::string sql =
        "SELECT e.\"EventID\", date(e.\"EBeginn\"), coalesce(s.\"Stat_Plan_Setliste\", 0) = 2, "
        "g.\"EventID\" IS NOT NULL, e.\"EArt\", e.\"ELocation\", e.\"EOrt\" "
        "FROM \"T_Event\" AS e LEFT JOIN \"T_Event_Status\" AS s ON s.\"EventID\" = e.\"EventID\" "
        "LEFT JOIN \"T_Event_Gema\" AS g ON g.\"EventID\" = e.\"EventID\" "
        "WHERE e.\"EventID\" > 0 AND coalesce(e.\"Status\", 0) <> 3 AND e.\"EBeginn\" IS NOT NULL "
        "AND date(e.\"EBeginn\") < ?1 "
        "AND date(e.\"EBeginn\", '+42 days') < date(?1, '+14 days') "
        "AND (coalesce(s.\"Stat_Plan_Setliste\", 0) <> 2 OR g.\"EventID\" IS NULL) "
        "ORDER BY e.\"EBeginn\", e.\"EventID\"";
    CachedStatement statement = db.prepare(sql);
    sqlite3_stmt* raw = statement.get();
    const QByteArray day = today.toString(Qt::ISODate).toLatin1();
    sqlite3_bind_text(raw, 1, day.constData(), day.size(), SQLITE_TRANSIENT);
    std::vector<Due> due;
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        Due entry;
        entry.eventId = sqlite3_column_int(raw, 0);
        entry.eventDate = QDate::fromString(columnText(raw, 1), Qt::ISODate);
        entry.deadline = entry.eventDate.addDays(kDaysAllowed);
        entry.daysLeft = static_cast<int>(today.daysTo(entry.deadline));
        entry.setListComplete = sqlite3_column_int(raw, 2) != 0;
        entry.printed = sqlite3_column_int(raw, 3) != 0;
        QStringList parts;
        if (const QString kind = columnText(raw, 4); !kind.isEmpty())
            parts << kind;
        if (const QString place =
                (columnText(raw, 5) + QLatin1Char(' ') + columnText(raw, 6)).trimmed();
            !place.isEmpty())
            parts << place;
        entry.description = parts.join(QStringLiteral(", "));
        due.push_back(entry);
    }
    if (rc != SQLITE_DONE)
        throw CDaoException::fromSqlite(db.handle(), rc);
    return due;
}

QString reminderText(const Due& due) {
    QString time;
    if (due.daysLeft > 1)
        time = QStringLiteral("noch %1 Tage").arg(due.daysLeft);
    else if (due.daysLeft == 1)
        time = QStringLiteral("noch 1 Tag");
    else if (due.daysLeft == 0)
        time = QStringLiteral("heute letzter Tag");
    else
        time = QStringLiteral("Frist abgelaufen");
    QStringList missing;
    if (!due.setListComplete)
        missing << QStringLiteral("Setliste unvollständig");
    if (!due.printed)
        missing << QStringLiteral("Formular nicht gedruckt");
    return QStringLiteral("GEMA-Meldung bis %1 (%2): %3")
        .arg(due.deadline.toString(QStringLiteral("dd.MM.yyyy")), time,
             missing.join(QStringLiteral(", ")));
}

QString startupText(const std::vector<Due>& due) {
    if (due.empty())
        return QString();
    // What can still be sent in time matters most; of the missed deadlines the latest ones,
    // since years of old events would otherwise bury them.
    std::vector<Due> order = due;
    std::stable_sort(order.begin(), order.end(), [](const Due& a, const Due& b) {
        const bool aOpen = a.daysLeft >= 0;
        const bool bOpen = b.daysLeft >= 0;
        if (aOpen != bOpen)
            return aOpen;
        return aOpen ? a.deadline < b.deadline : a.deadline > b.deadline;
    });
    // One line more than the limit says no more than "und 1 weiterer" would.
    const size_t shown = order.size() <= size_t(kStartupLines) + 1 ? order.size() : kStartupLines;
    QStringList lines{
        QStringLiteral("Die GEMA-Meldung dieser Events muss bald bei der GEMA sein:")};
    for (size_t index = 0; index < shown; ++index)
        lines << QStringLiteral("%1 %2 - %3")
                     .arg(order[index].eventDate.toString(QStringLiteral("dd.MM.yyyy")),
                          order[index].description, reminderText(order[index]));
    if (shown < order.size())
        lines << QStringLiteral("... und %1 weitere Events (in der Eventliste markiert)")
                     .arg(order.size() - shown);
    return lines.join(QLatin1Char('\n'));
}

void markGemaPrinted(CDatabase& db, std::int32_t eventId, const QDate& date) {
    if (!date.isValid())
        throw CDaoException(CDaoException::ConversionError,
                            QStringLiteral("Das Druckdatum des GEMA-Formulars ist ungültig."));
    const std::string day = date.toString(Qt::ISODate).toStdString() + " 00:00:00";
    CDbTransaction transaction(db);
    if (db.queryText("SELECT count(*) FROM \"T_Event\" WHERE \"EventID\" = " +
                     std::to_string(eventId))
            .toInt() == 0)
        throw CDaoException(CDaoException::NoCurrentRecord,
                            QStringLiteral("Den Event gibt es nicht mehr."));
    db.execute(
        "INSERT INTO \"T_Event_Gema\" (\"EventID\", \"GedrucktAm\") VALUES (" +
        std::to_string(eventId) + ", '" + day +
        "') ON CONFLICT (\"EventID\") DO UPDATE SET \"GedrucktAm\" = excluded.\"GedrucktAm\"");
    transaction.commit();
}

} // namespace GemaDeadline
