#include "ListRows.h"

#include "Conflicts.h"
#include "GemaDeadline.h"
#include "ListKinds.h"
#include "PlanningStatus.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"

#include <QHash>

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

struct Organiser {
    bool isPrivate = false;
    QString firm;
    QString name;
    QString firstName;
};

// Every organiser (flagged ones too: an event keeps the organiser it was planned with), read
// once instead of once per event.
QHash<std::int32_t, Organiser> organisers(CDatabase& db) {
    QHash<std::int32_t, Organiser> byKey;
    CSetStammExtFirma firms(db);
    firms.open(QStringLiteral("[Art]=0"));
    for (; !firms.atEnd(); firms.moveNext()) {
        const std::int32_t key = firms.getLong("ExtID");
        if (byKey.contains(key))
            continue;
        byKey.insert(key, {firms.getBool("fPrivat"), firms.getText("Firma"), firms.getText("Name"),
                           firms.getText("Vorname")});
    }
    return byKey;
}

QHash<std::int32_t, PlanningStatus> planningStates(CDatabase& db) {
    QHash<std::int32_t, PlanningStatus> byEvent;
    CSetEventStatus states(db);
    states.open();
    for (; !states.atEnd(); states.moveNext()) {
        const std::int32_t key = states.getLong("EventID");
        if (byEvent.contains(key))
            continue;
        PlanningStatus status;
        status.exists = true;
        for (int i = 0; i < PlanningStatus::kPlanningAreas; ++i)
            status.planning[i] = states.getInt(PlanningStatus::kPlanningColumns[i]);
        for (int i = 0; i < PlanningStatus::kAccountingAreas; ++i)
            status.accounting[i] = states.getInt(PlanningStatus::kAccountingColumns[i]);
        byEvent.insert(key, status);
    }
    return byEvent;
}

std::vector<ListRow> eventRows(CDatabase& db, bool accounting) {
    const QHash<std::int32_t, Organiser> organiserByKey = organisers(db);
    const QHash<std::int32_t, PlanningStatus> statusByEvent = planningStates(db);
    const QSet<std::int32_t> doubleBooked = Conflicts::eventsWithConflicts(db);
    QHash<std::int32_t, QString> gemaDue;
    for (const GemaDeadline::Due& due : GemaDeadline::dueEvents(db, QDate::currentDate()))
        gemaDue.insert(due.eventId, GemaDeadline::reminderText(due));
    std::vector<ListRow> rows;
    CSetEvent events(db);
    events.open(QStringLiteral("[EventID]>0"), QStringLiteral("[EBeginn] DESC"));
    const int eventId = events.columnIndex("EventID");
    const int begin = events.columnIndex("EBeginn");
    const int end = events.columnIndex("EEnde");
    const int organiserId = events.columnIndex("VeranstalterID");
    const int location = events.columnIndex("ELocation");
    const int street = events.columnIndex("EStrasse");
    const int postcode = events.columnIndex("EPLZ");
    const int town = events.columnIndex("EOrt");
    const int setUp = events.columnIndex("ETAufbauVon");
    const int strike = events.columnIndex("ETAbbauVon");
    const PlanningStatus none;
    for (; !events.atEnd(); events.moveNext()) {
        ListRow row;
        row.key = events.getLong(eventId);
        const PlanningStatus status = statusByEvent.value(row.key, none);
        row.icon = accounting ? status.financeImage() : status.planningImage();
        if (doubleBooked.contains(row.key))
            row.notice = QStringLiteral("Achtung: Doppelbuchung - jemand ist zur selben Zeit "
                                        "für einen anderen Event eingeplant.");
        if (const auto gema = gemaDue.constFind(row.key); gema != gemaDue.constEnd())
            row.notice += (row.notice.isEmpty() ? QString() : QStringLiteral("\n")) + *gema;
        row.texts[1] = ListTexts::dateTime(events.getDate(begin), true);
        row.texts[2] = ListTexts::dateTime(events.getDate(end), true);
        const QString eventTown = events.getText(town);
        if (!events.isNull(organiserId)) {
            const auto found = organiserByKey.constFind(events.getLong(organiserId));
            if (found != organiserByKey.constEnd())
                row.texts[3] = ListTexts::organiser(found->isPrivate, found->firm, found->name,
                                                    found->firstName, eventTown);
        }
        row.texts[4] = events.getText(location);
        row.texts[5] = events.getText(street);
        row.texts[6] = ListTexts::postcodeAndTown(events.getText(postcode), eventTown);
        row.texts[7] = ListTexts::dateTime(events.getDate(setUp), false);
        row.texts[8] = ListTexts::dateTime(events.getDate(strike), false);
        rows.push_back(std::move(row));
    }
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

std::vector<ListRow> loadListRows(CDatabase& db, int listKind) {
    if (const ListKindInfo* info = listKindInfo(listKind); info && info->firmKind >= 0)
        return firmRows(db, info->firmKind);
    if (listKind == ListKind::Musicians)
        return musicianRows(db);
    if (isEventList(listKind))
        return eventRows(db, listKind == ListKind::Accounting);
    return {};
}
