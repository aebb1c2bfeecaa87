#include "MonthCalendar.h"

#include "PlanningStatus.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CQuery.h"
#include "data/CRecordset.h"
#include "data/Schema.h"
#include "data/SqlText.h"

#include <QStringList>

#include <string>

namespace MonthCalendar {

namespace {

std::string monthQueryOf(Jet::Dialect dialect) {
    std::string text = "SELECT e.\"EventID\", e.\"EBeginn\", " +
                       Schema::eventSpanEdge("e", true, dialect) + ", " +
                       Schema::eventSpanEdge("e", false, dialect) +
                       ", coalesce(e.\"Status\", 1), e.\"EArt\", e.\"ELocation\", e.\"EOrt\", " +
                       SqlText::asNumber("s.\"EventID\" IS NOT NULL");
    for (const char* column : PlanningStatus::kPlanningColumns)
        text += std::string(", s.\"") + column + '"';
    text += " FROM \"T_Event\" AS e LEFT JOIN \"T_Event_Status\" AS s ON s.\"EventID\" = "
            "e.\"EventID\" WHERE e.\"EBeginn\" >= ?1 AND e.\"EBeginn\" < ?2 AND "
            "e.\"EventID\" > 0 ORDER BY e.\"EBeginn\", e.\"EventID\"";
    return text;
}

void markOverlaps(std::vector<Entry>& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
        for (size_t j = i + 1; j < entries.size(); ++j) {
            Entry& a = entries[i];
            Entry& b = entries[j];
            if (a.status == kCancelled || b.status == kCancelled)
                continue;
            if (a.spanBegin < b.spanEnd && b.spanBegin < a.spanEnd)
                a.doubleBooked = b.doubleBooked = true;
        }
    }
}

} // namespace

QString Entry::text() const {
    QStringList parts;
    if (begin.isValid())
        parts << begin.toString(QStringLiteral("HH:mm"));
    QString what = kind.trimmed();
    const QString place = (location.trimmed() + QLatin1Char(' ') + town.trimmed()).trimmed();
    if (!place.isEmpty())
        what += (what.isEmpty() ? QString() : QStringLiteral(", ")) + place;
    if (!what.isEmpty())
        parts << what;
    return parts.join(QLatin1Char(' '));
}

QDate firstShown(int year, int month) {
    const QDate first(year, month, 1);
    return first.addDays(1 - first.dayOfWeek());
}

void step(int& year, int& month, int delta) {
    const int index = year * 12 + (month - 1) + delta;
    year = index / 12;
    month = index % 12 + 1;
}

const std::string& monthQuery(Jet::Dialect dialect) {
    return SqlText::once(dialect, [](Jet::Dialect each) { return monthQueryOf(each); });
}

Month load(CDatabase& db, int year, int month) {
    Month result;
    result.year = year;
    result.month = month;
    const QDate first = firstShown(year, month);
    for (int i = 0; i < kDays; ++i) {
        result.days[size_t(i)].date = first.addDays(i);
        result.days[size_t(i)].inMonth = result.days[size_t(i)].date.month() == month;
    }

    // A month has many events, each with three date-times: read from one query, in order.
    CQuery query(db, monthQuery(db.dialect()));
    query.bindText(1, first.toString(QStringLiteral("yyyy-MM-dd")));
    query.bindText(2, first.addDays(kDays).toString(QStringLiteral("yyyy-MM-dd")));
    while (query.next()) {
        Entry entry;
        entry.eventId = query.getLong(0);
        entry.begin = query.getDate(1);
        entry.spanBegin = query.getDate(2);
        entry.spanEnd = query.getDate(3);
        entry.status = query.getLong(4);
        entry.kind = query.getText(5);
        entry.location = query.getText(6);
        entry.town = query.getText(7);
        PlanningStatus planning;
        planning.exists = query.getLong(8) != 0;
        for (int i = 0; i < PlanningStatus::kPlanningAreas; ++i)
            planning.planning[size_t(i)] = PlanningStatus::normalised(query.getLong(9 + i));
        entry.planningImage = planning.planningImage();
        const qint64 index = first.daysTo(entry.begin.date());
        if (index < 0 || index >= kDays)
            continue;
        result.days[size_t(index)].entries.push_back(std::move(entry));
    }
    for (Day& day : result.days)
        markOverlaps(day.entries);
    return result;
}

QString statusText(int status) {
    switch (status) {
    case 0:
        return QStringLiteral("angefragt");
    case 1:
        return QStringLiteral("reserviert");
    case 2:
        return QStringLiteral("gebucht");
    case 3:
        return QStringLiteral("abgesagt");
    case 4:
        return QStringLiteral("fakturiert");
    default:
        return QString();
    }
}

} // namespace MonthCalendar
