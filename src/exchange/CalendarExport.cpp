#include "CalendarExport.h"

#include "core/Settings.h"
#include "core/UserProfile.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CQuery.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>
#include <QSaveFile>
#include <QUuid>

#include <libical/ical.h>

#include <memory>
#include <vector>

namespace Calendar {

const SettingKey PublishFolder = {"KALENDER", "Ordner", ""};

namespace {

const char* const kTimeZone = "Europe/Berlin";

// Central European time with its rules since 1996, as calendar programs expect it.
const char* const kTimeZoneDefinition = "BEGIN:VTIMEZONE\n"
                                        "TZID:Europe/Berlin\n"
                                        "BEGIN:DAYLIGHT\n"
                                        "TZOFFSETFROM:+0100\n"
                                        "TZOFFSETTO:+0200\n"
                                        "TZNAME:CEST\n"
                                        "DTSTART:19700329T020000\n"
                                        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\n"
                                        "END:DAYLIGHT\n"
                                        "BEGIN:STANDARD\n"
                                        "TZOFFSETFROM:+0200\n"
                                        "TZOFFSETTO:+0100\n"
                                        "TZNAME:CET\n"
                                        "DTSTART:19701025T030000\n"
                                        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\n"
                                        "END:STANDARD\n"
                                        "END:VTIMEZONE\n";

// A read-only query on the connection: texts come back trimmed, date-times as wall-clock times.
class Query {
public:
    Query(CDatabase& db, const std::string& sql) : m_query(db, sql) {}

    void bind(int index, const QString& value) { m_query.bindText(index, value); }
    void bind(int index, qint64 value) { m_query.bindInt(index, value); }

    bool next() { return m_query.next(); }
    bool isNull(int column) const { return m_query.isNull(column); }
    QString text(int column) const { return m_query.getText(column).trimmed(); }
    qint64 number(int column) const { return m_query.getInt64(column); }
    QDateTime dateTime(int column) const {
        return QDateTime::fromString(text(column), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

private:
    CQuery m_query;
};

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

icaltimetype localTime(const QDateTime& value) {
    icaltimetype time = icaltime_null_time();
    time.year = value.date().year();
    time.month = value.date().month();
    time.day = value.date().day();
    time.hour = value.time().hour();
    time.minute = value.time().minute();
    time.second = value.time().second();
    time.is_date = 0;
    return time;
}

icaltimetype utcTime(const QDateTime& value) {
    return icaltime_from_timet_with_zone(static_cast<time_t>(value.toSecsSinceEpoch()), 0,
                                         icaltimezone_get_utc_timezone());
}

icalproperty* withZone(icalproperty* property) {
    icalproperty_add_parameter(property, icalparameter_new_tzid(kTimeZone));
    return property;
}

icalproperty* extension(const char* name, const QString& value) {
    icalproperty* property = icalproperty_new_x(value.toUtf8().constData());
    icalproperty_set_x_name(property, name);
    return property;
}

// A text as iCalendar allows it: no control characters but tab and line feed (which the writer
// escapes as "\n"); a carriage return before a line feed goes with it, a lone one becomes a
// line feed.
QByteArray calendarText(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r') {
            if (i + 1 >= text.size() || text.at(i + 1) != u'\n')
                clean += u'\n';
            continue;
        }
        if (c == u'\t' || c == u'\n' || (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)))
            clean += QChar(c);
    }
    return clean.toUtf8();
}

QString joined(const QStringList& parts, const QString& separator) {
    QStringList present;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            present.append(part.trimmed());
    return present.join(separator);
}

QString statusName(int status) {
    switch (status) {
    case 0:
        return QStringLiteral("angefragt");
    case 2:
    case 4:
        return QStringLiteral("gebucht");
    case 3:
        return QStringLiteral("abgesagt");
    default:
        return QStringLiteral("reserviert");
    }
}

// "16:00 – 18:00", with the date of a time that is not on the event's first day.
QString span(const QDateTime& from, const QDateTime& to, const QDate& eventDay) {
    const auto one = [&](const QDateTime& value) {
        if (!value.isValid())
            return QString();
        return value.date() == eventDay ? value.toString(QStringLiteral("HH:mm"))
                                        : value.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    };
    return joined({one(from), one(to)}, QStringLiteral(" – "));
}

// What one event shows in a calendar.
struct EventEntry {
    qint64 id = 0;
    QDateTime begin;
    QDateTime end;
    QString summary;
    QString location;
    QString description;
    int status = 1;

    QByteArray checksum() const {
        const QString fields = QStringList{begin.toString(Qt::ISODate),
                                           end.toString(Qt::ISODate),
                                           summary,
                                           location,
                                           description,
                                           QString::number(status)}
                                   .join(QChar(0x1f));
        return QCryptographicHash::hash(fields.toUtf8(), QCryptographicHash::Sha1).toHex();
    }
};

// The end of an event: EEnde, or when that is missing or not after the begin, its time of day
// on the begin's day, or on the next day when the event runs past midnight.
QDateTime effectiveEnd(const QDateTime& begin, const QDateTime& end) {
    if (end.isValid() && end > begin)
        return end;
    if (!end.isValid())
        return begin.addSecs(2 * 3600);
    QDateTime sameDay(begin.date(), end.time());
    return sameDay > begin ? sameDay : sameDay.addDays(1);
}

std::vector<EventEntry> readEvents(CDatabase& db, const Request& request) {
    std::string sql =
        R"(SELECT ev."EventID", ev."EArt", ev."EBeginn", ev."EEnde", ev."ELocation", )"
        R"(ev."EStrasse", ev."EPLZ", ev."EOrt", ev."Status", ev."ETAufbauVon", ev."ETAufbauBis", )"
        R"(ev."ESCheckVon", ev."ESCheckBis", ev."ETAbbauVon", ev."ETAbbauBis", f."fPrivat", )"
        R"(f."Firma", f."Name", f."Vorname", f."Tel", f."Email", a."APVorname", a."APName", )"
        R"(a."APTel", a."APTelm", a."APEmail" )"
        R"(FROM "T_Event" AS ev LEFT JOIN "T_Stamm_ExtFirma" AS f ON f."ExtID" = )"
        R"(ev."VeranstalterID" LEFT JOIN "T_Stamm_ExtAnsprech" AS a ON a."APID" = )"
        R"(ev."VAnsprechID" WHERE ev."EventID" > 0 AND ev."EBeginn" IS NOT NULL)";
    std::vector<QString> values;
    if (request.from.isValid()) {
        sql += R"( AND ev."EBeginn" >= ?)" + std::to_string(values.size() + 1);
        values.push_back(request.from.toString(QStringLiteral("yyyy-MM-dd")));
    }
    if (request.to.isValid()) {
        sql += R"( AND ev."EBeginn" < ?)" + std::to_string(values.size() + 1);
        values.push_back(request.to.addDays(1).toString(QStringLiteral("yyyy-MM-dd")));
    }
    if (request.forPerson) {
        const QString key = QString::number(request.person.key);
        if (request.person.kind == GigUpdate::Musician) {
            sql += R"( AND ev."EventID" IN (SELECT "EventID" FROM "T_Event_Besetzung" WHERE )"
                   R"("MusikerID" = ?)" +
                   std::to_string(values.size() + 1) + ")";
            values.push_back(key);
        } else {
            sql += R"( AND ev."EventID" IN (SELECT "EventID" FROM "T_Event_ExtFirma" WHERE )"
                   R"("ExtID" = ?)" +
                   std::to_string(values.size() + 1) + R"( AND "Art" = ?)" +
                   std::to_string(values.size() + 2) + ")";
            values.push_back(key);
            values.push_back(QString::number(request.person.kind));
        }
    }
    sql += R"( ORDER BY ev."EBeginn", ev."EventID")";

    Query query(db, sql);
    for (size_t i = 0; i < values.size(); ++i)
        query.bind(static_cast<int>(i) + 1, values[i]);
    std::vector<EventEntry> entries;
    while (query.next()) {
        EventEntry entry;
        entry.id = query.number(0);
        entry.begin = query.dateTime(2);
        if (!entry.begin.isValid())
            continue;
        entry.end = effectiveEnd(entry.begin, query.dateTime(3));
        const QString kind = query.text(1);
        const QString venue = query.text(4);
        entry.summary = joined({kind, venue}, QStringLiteral(" – "));
        if (entry.summary.isEmpty())
            entry.summary = QStringLiteral("Termin");
        entry.location = joined(
            {venue, query.text(5), joined({query.text(6), query.text(7)}, QStringLiteral(" "))},
            QStringLiteral(", "));
        entry.status = query.isNull(8) ? 1 : static_cast<int>(query.number(8));

        QStringList lines;
        const bool privateFirm = query.number(15) != 0;
        const QString organiser =
            privateFirm ? joined({query.text(18), query.text(17)}, QStringLiteral(" "))
                        : query.text(16);
        if (!organiser.isEmpty())
            lines.append(QStringLiteral("Veranstalter: ") +
                         joined({organiser, query.text(19), query.text(20)}, QStringLiteral(", ")));
        const QString contact = joined({query.text(21), query.text(22)}, QStringLiteral(" "));
        if (!contact.isEmpty())
            lines.append(QStringLiteral("Ansprechpartner: ") +
                         joined({contact, query.text(23), query.text(24), query.text(25)},
                                QStringLiteral(", ")));
        const QDate day = entry.begin.date();
        const QString setup = span(query.dateTime(9), query.dateTime(10), day);
        const QString soundcheck = span(query.dateTime(11), query.dateTime(12), day);
        const QString teardown = span(query.dateTime(13), query.dateTime(14), day);
        if (!setup.isEmpty())
            lines.append(QStringLiteral("Aufbau: ") + setup);
        if (!soundcheck.isEmpty())
            lines.append(QStringLiteral("Soundcheck: ") + soundcheck);
        lines.append(QStringLiteral("Beginn: ") + span(entry.begin, entry.end, day));
        if (!teardown.isEmpty())
            lines.append(QStringLiteral("Abbau: ") + teardown);
        lines.append(QStringLiteral("Status: ") + statusName(entry.status));
        entry.description = lines.join(QLatin1Char('\n'));
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The identifier stored once per database; made on the first export.
QString calendarIdentifier(CDatabase& db, bool writable) {
    QString identifier = db.queryText(R"(SELECT "Kennung" FROM "X_Kalender" WHERE "Nr" = 1)");
    if (!identifier.isEmpty())
        return identifier;
    identifier = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (writable)
        db.execute(R"(INSERT INTO "X_Kalender" ("Nr", "Kennung") VALUES (1, ?1))", {identifier});
    else // a read-only file: at least the same path gives the same entries
        identifier = QString::fromLatin1(
            QCryptographicHash::hash(db.path().toUtf8(), QCryptographicHash::Sha1).toHex());
    return identifier;
}

struct Revision {
    int sequence = 0;
    QDateTime modified;
};

// The change counter of an event: counted up when its checksum differs from the stored one.
Revision revisionOf(CDatabase& db, const EventEntry& entry, const QDateTime& now, bool writable) {
    const QByteArray checksum = entry.checksum();
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    Revision revision{0, now};
    {
        // Closed before the row is written: nothing is written while a query reads.
        Query stored(db, R"(SELECT "Sequenz", "Pruefsumme", "Geaendert" FROM "X_Kalender_Event" )"
                         R"(WHERE "EventID" = ?1)");
        stored.bind(1, entry.id);
        if (stored.next()) {
            revision.sequence = static_cast<int>(stored.number(0));
            revision.modified =
                QDateTime::fromString(stored.text(2), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            revision.modified.setTimeSpec(Qt::UTC);
            if (stored.text(1).toLatin1() == checksum)
                return revision;
            ++revision.sequence;
            revision.modified = now;
        }
    }
    if (writable)
        db.execute(
            R"(INSERT INTO "X_Kalender_Event" ("EventID", "Sequenz", "Pruefsumme", "Geaendert") )"
            R"(VALUES (?1, ?2, ?3, ?4) ON CONFLICT ("EventID") DO UPDATE SET "Sequenz" = )"
            R"(excluded."Sequenz", "Pruefsumme" = excluded."Pruefsumme", "Geaendert" = )"
            R"(excluded."Geaendert")",
            {QString::number(entry.id), QString::number(revision.sequence),
             QString::fromLatin1(checksum), stamp});
    return revision;
}

// The calendar's name: the band, or "Termine" and the crew member's name.
QString calendarName(CDatabase& db, const Request& request) {
    if (!request.forPerson) {
        const QString band = UserProfile::load(db).band.trimmed();
        return band.isEmpty() ? QStringLiteral("Termine") : band;
    }
    QString name;
    if (request.person.kind == GigUpdate::Musician) {
        Query musician(db, R"(SELECT "MVorname", "MName" FROM "T_Stamm_Musiker" WHERE )"
                           R"("MusikerID" = ?1)");
        musician.bind(1, qint64(request.person.key));
        if (musician.next())
            name = joined({musician.text(0), musician.text(1)}, QStringLiteral(" "));
    } else {
        Query firm(db, R"(SELECT "fPrivat", "Firma", "Vorname", "Name" FROM "T_Stamm_ExtFirma" )"
                       R"(WHERE "ExtID" = ?1)");
        firm.bind(1, qint64(request.person.key));
        if (firm.next())
            name = firm.number(0) != 0 ? joined({firm.text(2), firm.text(3)}, QStringLiteral(" "))
                                       : firm.text(1);
    }
    return joined({QStringLiteral("Termine"), name}, QStringLiteral(" "));
}

} // namespace

const char* statusValue(int status) {
    switch (status) {
    case 2:
    case 4:
        return "CONFIRMED";
    case 3:
        return "CANCELLED";
    default:
        return "TENTATIVE";
    }
}

QByteArray exportCalendar(CDatabase& db, const Request& request, const QDateTime& now) {
    const bool writable = !db.isReadOnly();
    CDbTransaction transaction(db);
    const QString name = calendarName(db, request);
    const QString identifier = calendarIdentifier(db, writable);
    const std::vector<EventEntry> entries = readEvents(db, request);

    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Vorlanto//Termine//DE"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    icalcomponent_add_property(calendar.get(), extension("X-WR-CALNAME", name));
    icalcomponent_add_property(calendar.get(),
                               extension("X-WR-TIMEZONE", QString::fromLatin1(kTimeZone)));
    icalproperty* refresh = icalproperty_new_refreshinterval(icaldurationtype_from_int(6 * 3600));
    icalproperty_add_parameter(refresh, icalparameter_new_value(ICAL_VALUE_DURATION));
    icalcomponent_add_property(calendar.get(), refresh);
    icalcomponent_add_property(calendar.get(),
                               extension("X-PUBLISHED-TTL", QStringLiteral("PT6H")));
    icalcomponent_add_component(calendar.get(), icalcomponent_new_from_string(kTimeZoneDefinition));

    const icaltimetype stamp = utcTime(now);
    for (const EventEntry& entry : entries) {
        const Revision revision = revisionOf(db, entry, now, writable);
        icalcomponent* event = icalcomponent_new_vevent();
        const QString uid = QStringLiteral("event-%1-%2@vorlanto").arg(entry.id).arg(identifier);
        icalcomponent_add_property(event, icalproperty_new_uid(uid.toUtf8().constData()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
        icalcomponent_add_property(event,
                                   icalproperty_new_lastmodified(utcTime(revision.modified)));
        icalcomponent_add_property(event, icalproperty_new_sequence(revision.sequence));
        icalcomponent_add_property(event,
                                   withZone(icalproperty_new_dtstart(localTime(entry.begin))));
        icalcomponent_add_property(event, withZone(icalproperty_new_dtend(localTime(entry.end))));
        icalcomponent_add_property(
            event, icalproperty_new_summary(calendarText(entry.summary).constData()));
        if (!entry.location.isEmpty())
            icalcomponent_add_property(
                event, icalproperty_new_location(calendarText(entry.location).constData()));
        icalcomponent_add_property(
            event, icalproperty_new_description(calendarText(entry.description).constData()));
        icalcomponent_add_property(event, icalproperty_new_status(icalproperty_string_to_status(
                                              statusValue(entry.status))));
        icalcomponent_add_component(calendar.get(), event);
    }
    if (writable)
        transaction.commit();

    char* text = icalcomponent_as_ical_string_r(calendar.get());
    QByteArray result(text);
    icalmemory_free_buffer(text);
    return result;
}

QString writeAtomically(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    if (file.write(data) != data.size() || !file.commit())
        return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

QString safeFileName(const QString& name) {
    QString safe;
    for (const QChar c : name.trimmed()) {
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            safe += QLatin1Char('_');
        else
            safe += c;
    }
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    return safe.trimmed().left(120);
}

PublishReport publish(CDatabase& db, const QString& folder, const QDateTime& now,
                      const Writer& writer) {
    PublishReport report;
    const QDir dir(folder);
    Request request;
    request.from = now.date().addYears(-1);
    const auto write = [&](const QString& fileName, const Request& which) {
        const QString failure = writer(dir.filePath(fileName), exportCalendar(db, which, now));
        if (failure.isEmpty())
            report.written.append(fileName);
        else
            report.failures.append(failure);
    };
    write(QStringLiteral("Termine.ics"), request);

    // The musicians of the line-ups; two of the same name are told apart by their key.
    struct Musician {
        std::int32_t key;
        QString name;
    };
    std::vector<Musician> musicians;
    QHash<QString, int> uses;
    {
        Query query(db,
                    R"(SELECT m."MusikerID", m."MVorname", m."MName" FROM "T_Stamm_Musiker" )"
                    R"(AS m WHERE m."MusikerID" IN (SELECT b."MusikerID" FROM )"
                    R"("T_Event_Besetzung" AS b WHERE b."EventID" > 0) ORDER BY m."MusikerID")");
        while (query.next()) {
            QString name =
                safeFileName(joined({query.text(1), query.text(2)}, QStringLiteral(" ")));
            if (name.isEmpty())
                name = QStringLiteral("Musiker");
            musicians.push_back({static_cast<std::int32_t>(query.number(0)), name});
            ++uses[name.toCaseFolded()];
        }
    }
    for (const Musician& musician : musicians) {
        Request one = request;
        one.forPerson = true;
        one.person = {musician.key, GigUpdate::Musician};
        QString name = musician.name;
        if (uses.value(name.toCaseFolded()) > 1)
            name += QStringLiteral(" (%1)").arg(musician.key);
        write(QStringLiteral("Termine-%1.ics").arg(name), one);
    }
    return report;
}

PublishReport publishAtExit(CDatabase& db, const CProfileFile& profile) noexcept {
    try {
        const QString folder = Settings::readText(profile, PublishFolder).trimmed();
        if (folder.isEmpty() || !db.isOpen() || !QDir(folder).exists())
            return {};
        return publish(db, folder, QDateTime::currentDateTime());
    } catch (...) {
        return {};
    }
}

} // namespace Calendar
