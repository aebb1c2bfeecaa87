#include "ListRows.h"

#include "Conflicts.h"
#include "GemaDeadline.h"
#include "ListKinds.h"
#include "PlanningStatus.h"
#include "data/CQuery.h"
#include "data/RecordSets.h"
#include "data/SqlText.h"
#include "resources/Strings.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

#include <cstdio>

namespace {

std::vector<ListRow> firmRows(CDatabase& db, int firmKind) {
    std::vector<ListRow> rows;
    CSetStammExtFirma firms(db);
    firms.open(QString::asprintf("[Art]=%d AND [fDeleted]=False", firmKind),
               QStringLiteral("[fPrivat] DESC, [Firma], [Name], [Vorname]"));
    for (; !firms.atEnd(); firms.moveNext()) {
        ListRow row;
        row.key = firms.getLong("ExtID");
        const bool isPrivate = firms.getBool("fPrivat");
        row.texts[0] = QString::fromUtf8(isPrivate ? Strings::kPrivate : Strings::kBusiness);
        row.texts[1] = ListTexts::firmName(isPrivate, firms.getText("Firma"), firms.getText("Name"),
                                           firms.getText("Vorname"));
        row.texts[2] = firms.getText("Strasse");
        row.texts[3] = ListTexts::postcodeAndTown(firms.getText("PLZ"), firms.getText("Ort"));
        row.texts[4] = firms.getText("Tel");
        row.texts[5] = firms.getText("Fax");
        row.texts[6] = firms.getText("Telm");
        row.texts[7] = firms.getText("Email");
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ListRow> musicianRows(CDatabase& db) {
    std::vector<ListRow> rows;
    CSetStammMusiker musicians(db);
    musicians.open(QStringLiteral("[fDeleted]=False"), QStringLiteral("[MName], [MVorname]"));
    for (; !musicians.atEnd(); musicians.moveNext()) {
        ListRow row;
        row.key = musicians.getLong("MusikerID");
        row.texts[0] = musicians.getText("MName");
        row.texts[1] = musicians.getText("MVorname");
        row.texts[2] =
            ListTexts::postcodeAndTown(musicians.getText("MPLZ"), musicians.getText("MOrt"));
        row.texts[3] = musicians.getText("MStrasse");
        row.texts[4] = musicians.getText("MTel");
        row.texts[5] = musicians.getText("MTelm");
        row.texts[6] = musicians.getText("Memail");
        rows.push_back(std::move(row));
    }
    return rows;
}

// Each event with its organiser, its planning state and what its GEMA report still needs, in
// one query, in the order the events are stored (read that way the file is read front to back;
// the rows are sorted afterwards). ?1 is today (yyyy-MM-dd). The organiser is joined by key
// alone: an event keeps the organiser it was planned with even when that one is flagged as
// deleted.
enum EventColumn {
    EventId,
    Begin,
    End,
    OrganiserPrivate,
    Firm,
    Name,
    FirstName,
    Location,
    Street,
    Postcode,
    Town,
    SetUp,
    Strike,
    HasStatus,
    FirstPlanning,
    FirstAccounting = FirstPlanning + PlanningStatus::kPlanningAreas,
    GemaDue = FirstAccounting + PlanningStatus::kAccountingAreas,
    SetListComplete,
    GemaPrinted
};

std::string statusColumns() {
    std::string columns;
    for (const char* column : PlanningStatus::kPlanningColumns)
        columns += std::string(", s.\"") + column + '"';
    for (const char* column : PlanningStatus::kAccountingColumns)
        columns += std::string(", s.\"") + column + '"';
    return columns;
}

} // namespace

namespace {

std::string eventListQueryOf(Jet::Dialect dialect) {
    return "SELECT e.\"EventID\", e.\"EBeginn\", e.\"EEnde\", f.\"fPrivat\", f.\"Firma\", "
           "f.\"Name\", f.\"Vorname\", e.\"ELocation\", e.\"EStrasse\", e.\"EPLZ\", e.\"EOrt\", "
           "e.\"ETAufbauVon\", e.\"ETAbbauVon\", " +
           SqlText::asNumber("s.\"EventID\" IS NOT NULL") + statusColumns() + ", " +
           SqlText::asNumber("(" + GemaDeadline::dueCondition(dialect) + ")") + ", " +
           SqlText::asNumber("coalesce(s.\"Stat_Plan_Setliste\", 0) = 2") + ", " +
           SqlText::asNumber("g.\"GedrucktAm\" IS NOT NULL") +
           " FROM \"T_Event\" AS e "
           "LEFT JOIN \"T_Stamm_ExtFirma\" AS f ON f.\"ExtID\" = e.\"VeranstalterID\" AND "
           "f.\"Art\" = "
           "0 "
           "LEFT JOIN \"T_Event_Status\" AS s ON s.\"EventID\" = e.\"EventID\" "
           "LEFT JOIN \"T_Event_Gema\" AS g ON g.\"EventID\" = e.\"EventID\" "
           "WHERE e.\"EventID\" > 0 ORDER BY e.\"EventID\"";
}

} // namespace

const std::string& eventListQuery(Jet::Dialect dialect) {
    return SqlText::once(dialect, [](Jet::Dialect each) { return eventListQueryOf(each); });
}

namespace {

// Where a row goes in the list: its begin as a packed moment (-1 for none) and its key.
struct Place {
    std::int64_t begin;
    std::int32_t key;
    std::uint32_t row;
};

void sortNewestFirst(std::vector<ListRow>& rows, std::vector<Place>& places) {
    // Newest first; of events beginning at the same moment the later entered first, and events
    // without a begin last. The places are sorted, not the rows: they are small.
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        return a.begin != b.begin ? a.begin > b.begin : a.key > b.key;
    });
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    for (const Place& place : places)
        sorted.push_back(std::move(rows[place.row]));
    rows = std::move(sorted);
}

std::vector<ListRow> eventRows(CDatabase& db, bool accounting) {
    const QDate today = QDate::currentDate();
    const QSet<std::int32_t> doubleBooked = Conflicts::eventsWithConflicts(db);
    std::vector<ListRow> rows;
    std::vector<Place> places;
    CQuery events(db, eventListQuery(db.dialect()));
    events.bindText(1, today.toString(Qt::ISODate));
    while (events.next()) {
        ListRow row;
        row.key = events.getLong(EventId);
        PlanningStatus status;
        status.exists = events.getBool(HasStatus);
        for (int i = 0; i < PlanningStatus::kPlanningAreas; ++i)
            status.planning[size_t(i)] = events.getLong(FirstPlanning + i);
        if (accounting) {
            for (int i = 0; i < PlanningStatus::kAccountingAreas; ++i)
                status.accounting[size_t(i)] = events.getLong(FirstAccounting + i);
        }
        row.icon = accounting ? status.financeImage() : status.planningImage();
        const std::string_view begin = events.getUtf8(Begin);
        places.push_back({begin.empty() ? -1 : Conflicts::packedMoment(begin), row.key,
                          static_cast<std::uint32_t>(rows.size())});
        row.doubleBooked = doubleBooked.contains(row.key);
        if (events.getBool(GemaDue)) {
            row.gemaDue = true;
            row.eventDate = parseStoredDate(begin.data(), int(begin.size())).date();
            row.setListComplete = events.getBool(SetListComplete);
            row.gemaPrinted = events.getBool(GemaPrinted);
        }
        row.texts[1] = ListTexts::dateTime(begin, true);
        row.texts[2] = ListTexts::dateTime(events.getUtf8(End), true);
        const QString town = events.getText(Town);
        if (!events.isNull(OrganiserPrivate))
            row.texts[3] =
                ListTexts::organiser(events.getBool(OrganiserPrivate), events.getText(Firm),
                                     events.getText(Name), events.getText(FirstName), town);
        row.texts[4] = events.getText(Location);
        row.texts[5] = events.getText(Street);
        row.texts[6] = ListTexts::postcodeAndTown(events.getText(Postcode), town);
        row.texts[7] = ListTexts::dateTime(events.getUtf8(SetUp), false);
        row.texts[8] = ListTexts::dateTime(events.getUtf8(Strike), false);
        rows.push_back(std::move(row));
    }
    sortNewestFirst(rows, places);
    return rows;
}

} // namespace

namespace ListTexts {

// Formatted by hand: the event list formats tens of thousands of dates.
QString dateTime(const QDateTime& moment, bool longYear) {
    if (!moment.isValid())
        return QString();
    const QDate date = moment.date();
    const QTime time = moment.time();
    char buffer[24];
    const int length =
        longYear ? std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d %02d:%02d", date.day(),
                                 date.month(), date.year(), time.hour(), time.minute())
                 : std::snprintf(buffer, sizeof buffer, "%02d.%02d.%02d %02d:%02d", date.day(),
                                 date.month(), date.year() % 100, time.hour(), time.minute());
    return QString::fromLatin1(buffer, length);
}

QString dateTime(std::string_view stored, bool longYear) {
    if (stored.empty())
        return QString();
    // "yyyy-MM-dd HH:mm:ss" is rearranged as it stands; anything else goes the long way.
    const auto digit = [stored](size_t at) { return stored[at] >= '0' && stored[at] <= '9'; };
    bool plain = stored.size() == 19 && stored[4] == '-' && stored[7] == '-' && stored[10] == ' ' &&
                 stored[13] == ':' && stored[16] == ':';
    for (const size_t at : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18})
        plain = plain && digit(at);
    if (!plain)
        return dateTime(parseStoredDate(stored.data(), static_cast<int>(stored.size())), longYear);
    char16_t text[16];
    int length = 0;
    const auto copy = [&](size_t from, size_t count) {
        for (size_t i = 0; i < count; ++i)
            text[length++] = char16_t(stored[from + i]);
    };
    copy(8, 2);
    text[length++] = u'.';
    copy(5, 2);
    text[length++] = u'.';
    copy(longYear ? 0 : 2, longYear ? 4 : 2);
    text[length++] = u' ';
    copy(11, 5);
    return QString(reinterpret_cast<const QChar*>(text), length);
}

QString joined(const QString& first, const QString& second, const QString& separator) {
    if (first.isEmpty())
        return second;
    if (second.isEmpty())
        return first;
    return first + separator + second;
}

QString firmName(bool isPrivate, const QString& firm, const QString& name,
                 const QString& firstName) {
    if (!isPrivate)
        return firm;
    return joined(name, firstName, QStringLiteral(", "));
}

QString postcodeAndTown(const QString& postcode, const QString& town) {
    if (postcode.isEmpty())
        return town;
    if (town.isEmpty())
        return postcode;
    return postcode + QLatin1Char(' ') + town;
}

QString organiser(bool isPrivate, const QString& firm, const QString& name,
                  const QString& firstName, const QString& eventTown) {
    if (isPrivate)
        return firmName(true, firm, name, firstName);
    if (eventTown.isEmpty())
        return firm;
    return firm + QLatin1Char(' ') + eventTown;
}

} // namespace ListTexts

QString ListRow::notice(const QDate& today) const {
    QStringList lines;
    if (doubleBooked)
        lines << QStringLiteral("Achtung: Doppelbuchung - jemand ist zur selben Zeit für einen "
                                "anderen Event eingeplant.");
    if (gemaDue)
        lines << GemaDeadline::reminderText(
            GemaDeadline::dueOf(key, eventDate, setListComplete, gemaPrinted, today));
    return lines.join(QLatin1Char('\n'));
}

std::vector<ListRow> loadListRows(CDatabase& db, int listKind) {
    if (const ListKindInfo* info = listKindInfo(listKind); info && info->firmKind >= 0)
        return firmRows(db, info->firmKind);
    if (listKind == ListKind::Musicians)
        return musicianRows(db);
    if (isEventList(listKind))
        return eventRows(db, listKind == ListKind::Accounting);
    return {};
}
