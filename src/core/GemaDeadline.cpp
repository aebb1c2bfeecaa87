#include "GemaDeadline.h"

#include "Settings.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CQuery.h"
#include "data/SqlText.h"

#include <QStringList>

#include <algorithm>

namespace GemaDeadline {

namespace {

void requireEvent(CDatabase& db, std::int32_t eventId) {
    if (db.queryText("SELECT count(*) FROM \"T_Event\" WHERE \"EventID\" = " +
                     std::to_string(eventId))
            .toInt() == 0)
        throw CDaoException(CDaoException::NoCurrentRecord,
                            QStringLiteral("Den Event gibt es nicht mehr."));
}

} // namespace

namespace {

// An event took place when it began before today.
std::string dueConditionOf(Jet::Dialect dialect) {
    return "e.\"EventID\" > 0 AND coalesce(e.\"Status\", 0) <> 3 AND e.\"EBeginn\" IS NOT NULL "
           "AND " +
           SqlText::dayOf(dialect, "e.\"EBeginn\"") + " < ?1 AND " +
           SqlText::dayOf(dialect, "e.\"EBeginn\"", kDaysAllowed) + " < " +
           SqlText::dayOf(dialect, "?1", kWarnDays) +
           " AND coalesce(g.\"KeineMeldung\", 0) = 0 "
           "AND (coalesce(s.\"Stat_Plan_Setliste\", 0) <> 2 OR g.\"GedrucktAm\" IS NULL)";
}

} // namespace

const std::string& dueCondition(Jet::Dialect dialect) {
    return SqlText::once(dialect, [](Jet::Dialect each) { return dueConditionOf(each); });
}

std::string dueQuery(Jet::Dialect dialect, bool fromEarliest) {
    return "SELECT e.\"EventID\", e.\"EBeginn\", " +
           SqlText::asNumber("coalesce(s.\"Stat_Plan_Setliste\", 0) = 2") + ", " +
           SqlText::asNumber("g.\"GedrucktAm\" IS NOT NULL") +
           ", e.\"EArt\", e.\"ELocation\", e.\"EOrt\" "
           "FROM \"T_Event\" AS e LEFT JOIN \"T_Event_Status\" AS s ON s.\"EventID\" = "
           "e.\"EventID\" LEFT JOIN \"T_Event_Gema\" AS g ON g.\"EventID\" = e.\"EventID\" WHERE " +
           dueCondition(dialect) + (fromEarliest ? " AND e.\"EBeginn\" >= ?2" : "") +
           " ORDER BY e.\"EBeginn\", e.\"EventID\"";
}

Due dueOf(std::int32_t eventId, const QDate& eventDate, bool setListComplete, bool printed,
          const QDate& today) {
    Due entry;
    entry.eventId = eventId;
    entry.eventDate = eventDate;
    entry.deadline = eventDate.addDays(kDaysAllowed);
    entry.daysLeft = static_cast<int>(today.daysTo(entry.deadline));
    entry.setListComplete = setListComplete;
    entry.printed = printed;
    return entry;
}

namespace {

// The due events, the most urgent first; with `earliest` valid only those that began on or
// after it, which the index on the begin finds without reading the other events.
std::vector<Due> dueEvents(CDatabase& db, const QDate& today, const QDate& earliest) {
    CQuery query(db, dueQuery(db.dialect(), earliest.isValid()));
    query.bindText(1, today.toString(Qt::ISODate));
    if (earliest.isValid())
        query.bindText(2, earliest.toString(Qt::ISODate));
    std::vector<Due> due;
    while (query.next()) {
        Due entry = dueOf(query.getLong(0), query.getDate(1).date(), query.getBool(2),
                          query.getBool(3), today);
        QStringList parts;
        if (const QString kind = query.getText(4); !kind.isEmpty())
            parts << kind;
        if (const QString place =
                (query.getText(5) + QLatin1Char(' ') + query.getText(6)).trimmed();
            !place.isEmpty())
            parts << place;
        entry.description = parts.join(QStringLiteral(", "));
        due.push_back(entry);
    }
    return due;
}

} // namespace

std::vector<Due> dueEvents(CDatabase& db, const QDate& today) {
    return dueEvents(db, today, QDate());
}

std::vector<Due> dueForStartup(CDatabase& db, const QDate& today) {
    return dueEvents(db, today, today.addDays(-kDaysAllowed - kStartupDaysPast));
}

QString reminderText(const Due& due) {
    QStringList missing;
    if (!due.setListComplete)
        missing << QStringLiteral("Setliste unvollständig");
    if (!due.printed)
        missing << QStringLiteral("Formular nicht gedruckt");
    const QString deadline = due.deadline.toString(QStringLiteral("dd.MM.yyyy"));
    if (due.daysLeft < 0)
        return QStringLiteral("GEMA-Meldung: Frist abgelaufen am %1: %2")
            .arg(deadline, missing.join(QStringLiteral(", ")));
    QString time;
    if (due.daysLeft > 1)
        time = QStringLiteral("noch %1 Tage").arg(due.daysLeft);
    else if (due.daysLeft == 1)
        time = QStringLiteral("noch 1 Tag");
    else
        time = QStringLiteral("heute letzter Tag");
    return QStringLiteral("GEMA-Meldung bis %1 (%2): %3")
        .arg(deadline, time, missing.join(QStringLiteral(", ")));
}

QString startupText(const std::vector<Due>& due) {
    // What can still be sent in time matters most; of the missed deadlines the latest ones.
    // Older ones would only repeat at every start what the event list shows anyway.
    std::vector<Due> order;
    for (const Due& entry : due) {
        if (entry.daysLeft >= -kStartupDaysPast)
            order.push_back(entry);
    }
    if (order.empty())
        return QString();
    std::stable_sort(order.begin(), order.end(), [](const Due& a, const Due& b) {
        const bool aOpen = a.daysLeft >= 0;
        const bool bOpen = b.daysLeft >= 0;
        if (aOpen != bOpen)
            return aOpen;
        return aOpen ? a.deadline < b.deadline : a.deadline > b.deadline;
    });
    // One line more than the limit says no more than "und 1 weiterer" would.
    const size_t shown = order.size() <= size_t(kStartupLines) + 1 ? order.size() : kStartupLines;
    QStringList lines{QStringLiteral("Für diese Events ist die GEMA-Meldung fällig:")};
    for (size_t index = 0; index < shown; ++index)
        lines << QStringLiteral("%1 %2 - %3")
                     .arg(order[index].eventDate.toString(QStringLiteral("dd.MM.yyyy")),
                          order[index].description, reminderText(order[index]));
    if (shown < order.size())
        lines << QStringLiteral("... und %1 weitere (in der Eventliste markiert)")
                     .arg(order.size() - shown);
    lines << QString()
          << QStringLiteral("Braucht ein Event keine Meldung, setzen Sie in seiner "
                            "Setlisten-Planung unter \"GEMA-Liste drucken...\" das Häkchen "
                            "\"Keine GEMA-Meldung nötig\".");
    return lines.join(QLatin1Char('\n'));
}

bool startupNoteOn(const CProfileFile& profile) {
    return Settings::readInt(profile, Settings::GemaReminder) != 0;
}

bool setStartupNoteOn(CProfileFile& profile, bool on) {
    return Settings::writeInt(profile, Settings::GemaReminder, on ? 1 : 0);
}

void markGemaPrinted(CDatabase& db, std::int32_t eventId, const QDate& date) {
    if (!date.isValid())
        throw CDaoException(CDaoException::ConversionError,
                            QStringLiteral("Das Druckdatum des GEMA-Formulars ist ungültig."));
    const std::string day = date.toString(Qt::ISODate).toStdString() + " 00:00:00";
    CDbTransaction transaction(db);
    requireEvent(db, eventId);
    db.execute(
        "INSERT INTO \"T_Event_Gema\" (\"EventID\", \"GedrucktAm\") VALUES (" +
        std::to_string(eventId) + ", '" + day +
        "') ON CONFLICT (\"EventID\") DO UPDATE SET \"GedrucktAm\" = excluded.\"GedrucktAm\"");
    transaction.commit();
}

bool noReportNeeded(CDatabase& db, std::int32_t eventId) {
    return db.queryText("SELECT count(*) FROM \"T_Event_Gema\" WHERE \"EventID\" = " +
                        std::to_string(eventId) + " AND \"KeineMeldung\" <> 0")
               .toInt() > 0;
}

void setNoReportNeeded(CDatabase& db, std::int32_t eventId, bool noReport) {
    CDbTransaction transaction(db);
    requireEvent(db, eventId);
    // Yes/no columns store true as -1. The row also holds the print date, which stays.
    db.execute("INSERT INTO \"T_Event_Gema\" (\"EventID\", \"KeineMeldung\") VALUES (" +
               std::to_string(eventId) + ", " + (noReport ? "-1" : "0") +
               ") ON CONFLICT (\"EventID\") DO UPDATE SET \"KeineMeldung\" = "
               "excluded.\"KeineMeldung\"");
    transaction.commit();
}

} // namespace GemaDeadline
