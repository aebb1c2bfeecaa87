#include "Conflicts.h"

#include "MessageService.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CQuery.h"
#include "data/Schema.h"
#include "data/SqlText.h"

#include <QStringList>

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>

namespace Conflicts {

namespace {

std::string spanEdge(Jet::Dialect dialect, const char* alias, bool earliest) {
    return Schema::eventSpanEdge(alias, earliest, dialect);
}

// The events other than ?1 whose span overlaps its span. The span-begin index finds them: an
// overlapping event begins before this one ends, and not earlier than this one's begin minus
// the longest span of any event (found through the span-length index).
std::string otherEventsSql(Jet::Dialect dialect) {
    return "WITH me AS (SELECT " + spanEdge(dialect, "e", true) + " AS b, " +
           spanEdge(dialect, "e", false) +
           " AS f FROM \"T_Event\" AS e WHERE e.\"EventID\" = ?1 AND coalesce(e.\"Status\", 0) "
           "<> 3), w AS (SELECT max(" +
           Schema::eventSpanLength("t", dialect) +
           ") AS len FROM \"T_Event\" AS t) "
           "SELECT o.\"EventID\", o.\"EBeginn\", o.\"EArt\", o.\"ELocation\", o.\"EOrt\" "
           "FROM me CROSS JOIN w CROSS JOIN \"T_Event\" AS o WHERE " +
           spanEdge(dialect, "o", true) + " < me.f AND " + spanEdge(dialect, "o", true) +
           " >= " + SqlText::daysBefore(dialect, "me.b", "w.len + 1.0 / 86400") + " AND me.b < " +
           spanEdge(dialect, "o", false) +
           " AND o.\"EventID\" <> ?1 AND o.\"EventID\" > 0 AND coalesce(o.\"Status\", 0) <> 3";
}

QString description(const QString& kind, const QString& location, const QString& town) {
    QStringList parts;
    if (!kind.isEmpty())
        parts << kind;
    const QString place = (location + QLatin1Char(' ') + town).trimmed();
    if (!place.isEmpty())
        parts << place;
    return parts.join(QStringLiteral(", "));
}

// Runs a query whose columns are: who, other event, its begin, kind, location, town.
std::vector<Conflict> run(CDatabase& db, const std::string& sql, std::int32_t eventId,
                          const QByteArray& wanted) {
    CQuery query(db, sql);
    query.bindInt(1, eventId);
    query.bindText(2, QString::fromUtf8(wanted));
    std::vector<Conflict> conflicts;
    while (query.next()) {
        Conflict conflict;
        conflict.who = query.getText(0).trimmed();
        conflict.otherEvent = query.getLong(1);
        const std::string_view begin = query.getUtf8(2);
        conflict.otherBegin =
            QDateTime::fromString(QString::fromLatin1(begin.data(), qsizetype(begin.size())),
                                  QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        conflict.otherDescription =
            description(query.getText(3), query.getText(4), query.getText(5));
        conflicts.push_back(conflict);
    }
    return conflicts;
}

QByteArray jsonList(const QList<std::int32_t>& keys) {
    QByteArray json = "[";
    for (std::int32_t key : keys) {
        if (json.size() > 1)
            json += ',';
        json += QByteArray::number(key);
    }
    return json + ']';
}

} // namespace

// CROSS JOIN keeps the file engine reading the few other events first; its conditions are in
// WHERE, where both engines take them.
const std::string& musiciansQuery(Jet::Dialect dialect) {
    return SqlText::once(dialect, [](Jet::Dialect dialect) {
        return "WITH other AS (" + otherEventsSql(dialect) +
               ") SELECT trim(coalesce(m.\"MVorname\", '') || ' ' || coalesce(m.\"MName\", '')), "
               "other.* FROM other CROSS JOIN \"T_Event_Besetzung\" AS a "
               "JOIN \"T_Stamm_Musiker\" AS m ON m.\"MusikerID\" = a.\"MusikerID\" "
               "WHERE a.\"EventID\" = other.\"EventID\" AND a.\"MusikerID\" IN (" +
               SqlText::keysIn(dialect, 2) + ") ORDER BY other.\"EBeginn\", m.\"MName\"";
    });
}

std::vector<Conflict> musicians(CDatabase& db, std::int32_t eventId,
                                const QList<std::int32_t>& musicians) {
    if (musicians.isEmpty())
        return {};
    return run(db, musiciansQuery(db.dialect()), eventId, jsonList(musicians));
}

const std::string& vehiclesQuery(Jet::Dialect dialect) {
    return SqlText::once(dialect, [](Jet::Dialect dialect) {
        return "WITH other AS (" + otherEventsSql(dialect) +
               ") SELECT trim(coalesce(k.\"Kennzeichen\", '') || ' (' || coalesce(k.\"Typ\", '') "
               "|| ')'), other.* FROM other CROSS JOIN \"T_Event_Transport\" AS a "
               "JOIN \"T_Stamm_KfzVerleiher_Kfz\" AS k ON k.\"KfzID\" = a.\"KfzID\" "
               "WHERE a.\"EventID\" = other.\"EventID\" AND a.\"KfzID\" IN (" +
               SqlText::keysIn(dialect, 2) + ") ORDER BY other.\"EBeginn\", k.\"Kennzeichen\"";
    });
}

std::vector<Conflict> vehicles(CDatabase& db, std::int32_t eventId,
                               const QList<std::int32_t>& vehicles) {
    if (vehicles.isEmpty())
        return {};
    return run(db, vehiclesQuery(db.dialect()), eventId, jsonList(vehicles));
}

const std::string& firmQuery(Jet::Dialect dialect) {
    return SqlText::once(dialect, [](Jet::Dialect dialect) {
        return "WITH other AS (" + otherEventsSql(dialect) +
               ") SELECT CASE WHEN f.\"fPrivat\" <> 0 THEN trim(coalesce(f.\"Vorname\", '') || ' ' "
               "|| coalesce(f.\"Name\", '')) ELSE f.\"Firma\" END, other.* FROM other "
               "CROSS JOIN \"T_Event_ExtFirma\" AS a "
               "JOIN \"T_Stamm_ExtFirma\" AS f ON f.\"ExtID\" = a.\"ExtID\" "
               "WHERE a.\"EventID\" = other.\"EventID\" AND a.\"Art\" IN (1, 2) AND a.\"ExtID\" IN "
               "(" +
               SqlText::keysIn(dialect, 2) + ") ORDER BY other.\"EBeginn\"";
    });
}

std::vector<Conflict> firm(CDatabase& db, std::int32_t eventId, int firmKind, std::int32_t extId) {
    // A hire firm serves several events at once; a technician or backliner does not.
    if (extId <= 0 || (firmKind != 1 && firmKind != 2))
        return {};
    return run(db, firmQuery(db.dialect()), eventId, jsonList({extId}));
}

std::vector<Conflict> travellers(CDatabase& db, std::int32_t eventId,
                                 const QList<QPair<std::int32_t, int>>& persons) {
    if (persons.isEmpty())
        return {};
    QByteArray json = "[";
    for (const auto& person : persons) {
        if (json.size() > 1)
            json += ',';
        json +=
            '[' + QByteArray::number(person.first) + ',' + QByteArray::number(person.second) + ']';
    }
    json += ']';
    return run(db, travellersQuery(db.dialect()), eventId, json);
}

const std::string& travellersQuery(Jet::Dialect dialect) {
    return SqlText::once(dialect, [](Jet::Dialect dialect) {
        return "WITH other AS (" + otherEventsSql(dialect) + "), wanted AS (" +
               SqlText::keyPairsIn(dialect, 2) +
               ") SELECT DISTINCT CASE WHEN a.\"Funktion\" = 0 THEN "
               "trim(coalesce(m.\"MVorname\", '') || ' ' || coalesce(m.\"MName\", '')) WHEN "
               "f.\"fPrivat\" <> 0 THEN trim(coalesce(f.\"Vorname\", '') || ' ' || "
               "coalesce(f.\"Name\", '')) ELSE f.\"Firma\" END, other.* "
               "FROM other CROSS JOIN \"T_Event_Uebernachtung\" AS a "
               "JOIN wanted ON wanted.id = a.\"PersonID\" AND wanted.fn = a.\"Funktion\" "
               "LEFT JOIN \"T_Stamm_Musiker\" AS m ON a.\"Funktion\" = 0 AND "
               "m.\"MusikerID\" = a.\"PersonID\" "
               "LEFT JOIN \"T_Stamm_ExtFirma\" AS f ON a.\"Funktion\" <> 0 AND "
               "f.\"ExtID\" = a.\"PersonID\" "
               "WHERE a.\"EventID\" = other.\"EventID\" ORDER BY other.\"EBeginn\"";
    });
}

const std::string& bookingsQuery(Jet::Dialect dialect) {
    // Each source is made distinct by itself: a resource booked twice for the same event would
    // otherwise clash with itself. The kinds never mix, so the sources need no common DISTINCT.
    return SqlText::once(dialect, [](Jet::Dialect dialect) {
        return "WITH span AS (SELECT \"EventID\" AS id, " + spanEdge(dialect, "e", true) +
               " AS b, " + spanEdge(dialect, "e", false) +
               " AS f FROM \"T_Event\" AS e WHERE \"EventID\" > 0 AND coalesce(\"Status\", 0) <> "
               "3), "
               "booked AS ("
               "SELECT DISTINCT 1 AS kind, \"MusikerID\" AS res, 0 AS sub, \"EventID\" AS id FROM "
               "\"T_Event_Besetzung\" "
               "UNION ALL SELECT DISTINCT 2, \"KfzID\", 0, \"EventID\" FROM \"T_Event_Transport\" "
               "WHERE "
               "\"KfzID\" > 0 "
               "UNION ALL SELECT DISTINCT 3, \"ExtID\", 0, \"EventID\" FROM \"T_Event_ExtFirma\" "
               "WHERE "
               "\"Art\" IN (1, 2) AND \"ExtID\" > 0 "
               "UNION ALL SELECT DISTINCT 4, \"PersonID\", \"Funktion\", \"EventID\" FROM "
               "\"T_Event_Uebernachtung\") "
               "SELECT booked.kind, booked.res, booked.sub, booked.id, span.b, span.f "
               "FROM booked JOIN span ON span.id = booked.id WHERE span.b <= span.f";
    });
}

std::int64_t packedMoment(std::string_view stored) {
    // The digits in their places; a shorter text (a date alone) reads as its midnight.
    std::int64_t packed = 0;
    int digits = 0;
    for (const char c : stored) {
        if (c < '0' || c > '9')
            continue;
        packed = packed * 10 + (c - '0');
        if (++digits == 14)
            break;
    }
    for (; digits < 14; ++digits)
        packed *= 10;
    return packed;
}

QSet<std::int32_t> clashingEvents(std::vector<Booking> bookings) {
    // Per resource its bookings ordered by begin: a booking clashes with an earlier one when an
    // earlier span ends after it begins, and with the next one when that begins before it ends.
    std::sort(bookings.begin(), bookings.end(), [](const Booking& a, const Booking& b) {
        return std::tie(a.kind, a.resource, a.sub, a.begin, a.eventId) <
               std::tie(b.kind, b.resource, b.sub, b.begin, b.eventId);
    });
    QSet<std::int32_t> events;
    auto sameResource = [](const Booking& a, const Booking& b) {
        return a.kind == b.kind && a.resource == b.resource && a.sub == b.sub;
    };
    std::int64_t latestEnd = 0;
    for (size_t i = 0; i < bookings.size(); ++i) {
        const Booking& booking = bookings[i];
        const bool first = i == 0 || !sameResource(bookings[i - 1], booking);
        if (first)
            latestEnd = booking.end;
        const bool afterEarlier = !first && latestEnd > booking.begin;
        const bool beforeNext = i + 1 < bookings.size() && sameResource(bookings[i + 1], booking) &&
                                bookings[i + 1].begin < booking.end;
        if (afterEarlier || beforeNext)
            events.insert(booking.eventId);
        if (!first)
            latestEnd = std::max(latestEnd, booking.end);
    }
    return events;
}

QSet<std::int32_t> eventsWithConflicts(CDatabase& db) {
    std::vector<Booking> bookings;
    CQuery query(db, bookingsQuery(db.dialect()));
    while (query.next())
        bookings.push_back({query.getLong(0), query.getLong(1), query.getLong(2), query.getLong(3),
                            packedMoment(query.getUtf8(4)), packedMoment(query.getUtf8(5))});
    return clashingEvents(std::move(bookings));
}

bool confirmSave(QWidget* parent, const std::function<std::vector<Conflict>()>& check) {
    std::vector<Conflict> conflicts;
    try {
        conflicts = check();
    } catch (const CDaoException&) {
        return true;
    }
    return conflicts.empty() || MessageService::askYesNo(parent, warning(conflicts));
}

QString warning(const std::vector<Conflict>& conflicts) {
    if (conflicts.empty())
        return QString();
    QStringList lines;
    for (const Conflict& conflict : conflicts)
        lines << QStringLiteral("Achtung: %1 ist am %2 bereits für %3 eingeplant.")
                     .arg(conflict.who, conflict.otherBegin.toString(QStringLiteral("dd.MM.yyyy")),
                          conflict.otherDescription);
    lines.removeDuplicates();
    return lines.join(QLatin1Char('\n')) + QStringLiteral("\n\nTrotzdem speichern?");
}

} // namespace Conflicts
