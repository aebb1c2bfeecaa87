#include "OvernightPlan.h"

#include "FinanceModel.h"
#include "ListRows.h"
#include "data/CDatabase.h"
#include "data/JetFilter.h"
#include "data/RecordSets.h"

#include <QHash>
#include <QSet>

#include <utility>

namespace OvernightPlan {

namespace {

using ListTexts::joined;

// The firm kind of the assignment that makes a firm a travelling person.
int firmKind(int function) {
    return function;
}

QString eventFilter(std::int32_t eventId) {
    return QString::asprintf("[EventID]=%ld", long(eventId));
}

// The name of a firm as the persons list shows it; the reservation list says it in its own
// words (see stayPersonName).
QString firmPersonName(const CRecordset& firm) {
    return ListTexts::firmName(firm.getBool("fPrivat"), firm.getText("Firma"), firm.getText("Name"),
                               firm.getText("Vorname"));
}

// The persons who have a stay at the event, as "function/key".
QSet<QString> personsWithStays(CDatabase& db, std::int32_t eventId) {
    QSet<QString> persons;
    CSetEventNacht stays(db);
    for (stays.open(eventFilter(eventId)); !stays.atEnd(); stays.moveNext())
        persons.insert(
            QStringLiteral("%1/%2").arg(stays.getInt("Funktion")).arg(stays.getLong("PersonID")));
    return persons;
}

// Names the persons of the reservation list, each looked up once.
class StayNames {
public:
    explicit StayNames(CDatabase& db) : m_db(db) {}

    QString name(std::int32_t person, int function) {
        const QString key = QStringLiteral("%1/%2").arg(function).arg(person);
        auto found = m_names.constFind(key);
        if (found != m_names.constEnd())
            return *found;
        const QString text = lookUp(person, function);
        m_names.insert(key, text);
        return text;
    }

private:
    QString lookUp(std::int32_t person, int function) {
        if (function == Musician) {
            CSetStammMusiker musician(m_db);
            musician.open(QString::asprintf("[MusikerID]=%ld", long(person)));
            if (musician.atEnd())
                return QString();
            return joined(musician.getText("MVorname"), musician.getText("MName"),
                          QStringLiteral(" "));
        }
        CSetStammExtFirma firm(m_db);
        firm.open(QString::asprintf("[ExtID]=%ld", long(person)));
        if (firm.atEnd())
            return QString();
        if (!firm.getBool("fPrivat"))
            return firm.getText("Firma");
        // The technician is called by first name and name, the backliner by name first.
        if (function == Technician)
            return joined(firm.getText("Vorname"), firm.getText("Name"), QStringLiteral(" "));
        return joined(firm.getText("Name"), firm.getText("Vorname"), QStringLiteral(", "));
    }

    CDatabase& m_db;
    QHash<QString, QString> m_names;
};

} // namespace

QString functionText(int function) {
    switch (function) {
    case Musician:
        return QStringLiteral("Musiker");
    case Technician:
        return QStringLiteral("Techniker");
    case Backliner:
        return QStringLiteral("Backliner");
    default:
        return QString();
    }
}

QString Person::listedName() const {
    return hasStay ? QStringLiteral("* ") + name : name;
}

std::vector<Person> readPersons(CDatabase& db, std::int32_t eventId) {
    const QSet<QString> staying = personsWithStays(db, eventId);
    std::vector<Person> persons;
    const auto add = [&](std::int32_t id, int function, const QString& name) {
        Person person;
        person.id = id;
        person.function = function;
        person.name = name;
        person.hasStay = staying.contains(QStringLiteral("%1/%2").arg(function).arg(id));
        persons.push_back(person);
    };

    CSetAbfrEventBesetzung lineUp(db);
    for (lineUp.open(eventFilter(eventId), QStringLiteral("[MName]")); !lineUp.atEnd();
         lineUp.moveNext())
        add(lineUp.getLong("MusikerID"), Musician,
            joined(lineUp.getText("MName"), lineUp.getText("MVorname"), QStringLiteral(", ")));

    for (int function : {Technician, Backliner}) {
        CSetEventExtFirma assignment(db);
        assignment.open(
            QString::asprintf("[EventID]=%ld AND [Art]=%d", long(eventId), firmKind(function)));
        if (assignment.atEnd())
            continue;
        const std::int32_t extId = assignment.getLong("ExtID");
        if (extId <= 0)
            continue;
        CSetStammExtFirma firm(db);
        firm.open(QString::asprintf("[ExtID]=%ld AND [fDeleted]=False", long(extId)));
        if (!firm.atEnd())
            add(extId, function, firmPersonName(firm));
    }
    return persons;
}

std::optional<Person> readPerson(CDatabase& db, std::int32_t id, int function) {
    Person person;
    person.id = id;
    person.function = function;
    if (function == Musician) {
        CSetStammMusiker musician(db);
        musician.open(QString::asprintf("[MusikerID]=%ld", long(id)));
        if (musician.atEnd())
            return std::nullopt;
        person.name =
            joined(musician.getText("MName"), musician.getText("MVorname"), QStringLiteral(", "));
        return person;
    }
    if (function != Technician && function != Backliner)
        return std::nullopt;
    CSetStammExtFirma firm(db);
    firm.open(QString::asprintf("[ExtID]=%ld", long(id)));
    if (firm.atEnd())
        return std::nullopt;
    person.name = firmPersonName(firm);
    return person;
}

QString stayFilter(const StayKey& key) {
    const QString person = QString::asprintf("[EventID]=%ld AND [PersonID]=%ld AND [Funktion]=%d",
                                             long(key.eventId), long(key.person), key.function);
    if (!key.arrival.isValid())
        return person + QStringLiteral(" AND [Anreise] Is Null");
    return person + QStringLiteral(" AND [Anreise]=") + Jet::dateTimeLiteral(key.arrival);
}

QString roomFilter(std::int32_t eventId, const Room& room) {
    return QString::asprintf("[EventID]=%ld AND [HotelID]=%ld AND [ZimmerNr]=%d", long(eventId),
                             long(room.hotel), room.number);
}

std::vector<Stay> readStays(CDatabase& db, std::int32_t eventId) {
    std::vector<Stay> list;
    StayNames names(db);
    CSetAbfrEventNacht stays(db);
    for (stays.open(eventFilter(eventId),
                    QStringLiteral("[HotelID],[ZimmerNr],[Funktion],[PersonID],[Anreise]"));
         !stays.atEnd(); stays.moveNext()) {
        Stay stay;
        stay.key.eventId = eventId;
        stay.key.person = stays.getLong("PersonID");
        stay.key.function = stays.getInt("Funktion");
        stay.key.arrival = stays.getDate("Anreise");
        stay.room.hotel = stays.getLong("HotelID");
        stay.room.number = stays.getInt("ZimmerNr");
        stay.texts = {names.name(stay.key.person, stay.key.function), stays.getText("HName"),
                      stay.room.number > 0 ? QString::number(stay.room.number) : QString(),
                      ListTexts::dateTime(stay.key.arrival, false),
                      ListTexts::dateTime(stays.getDate("Abreise"), false)};
        list.push_back(stay);
    }
    return list;
}

int occupants(CDatabase& db, std::int32_t eventId, const Room& room) {
    if (!room.isRoom())
        return 0;
    int count = 0;
    CSetEventNacht stays(db);
    for (stays.open(roomFilter(eventId, room)); !stays.atEnd(); stays.moveNext())
        ++count;
    return count;
}

std::optional<double> roomPrice(CDatabase& db, std::int32_t eventId, const Room& room) {
    if (!room.isRoom())
        return std::nullopt;
    CSetNachtZimmer rooms(db);
    rooms.open(roomFilter(eventId, room));
    if (rooms.atEnd() || rooms.isNull("Preis") || rooms.getSingle("Preis") <= 0)
        return std::nullopt;
    return double(rooms.getSingle("Preis"));
}

void releaseRoom(CDatabase& db, std::int32_t eventId, const Room& room) {
    if (room.number < 1)
        return;
    CSetEventNacht stays(db);
    stays.open(roomFilter(eventId, room));
    if (!stays.atEnd())
        return;
    CSetNachtZimmer rooms(db);
    for (rooms.open(roomFilter(eventId, room)); !rooms.atEnd(); rooms.moveNext())
        rooms.deleteCurrent();
}

void removeStay(CDatabase& db, const StayKey& key) {
    CDbTransaction transaction(db);
    CSetEventNacht stays(db);
    stays.open(stayFilter(key));
    if (!stays.atEnd()) {
        const Room room{stays.getLong("HotelID"), stays.getInt("ZimmerNr")};
        stays.deleteCurrent();
        releaseRoom(db, key.eventId, room);
        Finance::updateOvernightBooking(db, key.eventId);
    }
    transaction.commit();
}

namespace {

void settleRoomRows(CDatabase& db, std::int32_t eventId, const Room& before, const Room& after,
                    bool priceEntered, const std::optional<double>& price,
                    const std::optional<double>& priceShown) {
    // A room is its hotel and its number: leaving for the same number in another hotel leaves
    // the room too.
    if (before != after)
        releaseRoom(db, eventId, before);
    if (after.number < 1)
        return;
    CSetNachtZimmer rooms(db);
    rooms.open(roomFilter(eventId, after));
    const bool adding = rooms.atEnd();
    if (!adding && !priceEntered)
        return;
    if (adding) {
        rooms.addNew();
        rooms.setLong("EventID", eventId);
        rooms.setLong("HotelID", after.hotel);
        rooms.setLong("ZimmerNr", after.number);
    } else {
        // The entered price replaces the one shown: no price shown stands for none stored or
        // one not positive.
        const QVariant stored = rooms.value("Preis");
        const std::optional<double> storedPrice = stored.isValid() && stored.toDouble() > 0
                                                      ? std::optional<double>(stored.toDouble())
                                                      : std::nullopt;
        rooms.edit();
        rooms.expect("Preis", storedPrice == priceShown
                                  ? stored
                                  : (priceShown ? QVariant(*priceShown) : QVariant()));
    }
    if (price && *price > 0)
        rooms.setSingle("Preis", *price);
    else
        rooms.setNull("Preis");
    try {
        rooms.update();
    } catch (...) {
        rooms.cancelUpdate();
        throw;
    }
}

} // namespace

void settleRooms(CDatabase& db, std::int32_t eventId, const Room& before, const Room& after,
                 bool priceEntered, const std::optional<double>& price,
                 const std::optional<double>& priceShown) {
    settleRoomRows(db, eventId, before, after, priceEntered, price, priceShown);
    // The stay's dates may have changed as well as its room: the booking follows in any case.
    Finance::updateOvernightBooking(db, eventId);
}

void bookStay(CDatabase& db, const StayKey& key, const Room& room, const QDateTime& departure,
              const std::optional<double>& price) {
    CDbTransaction transaction(db);
    CSetEventNacht stay(db);
    stay.open(stayFilter(key));
    stay.addNew();
    stay.setLong("EventID", key.eventId);
    stay.setLong("PersonID", key.person);
    stay.setLong("Funktion", key.function);
    stay.setLong("HotelID", room.hotel);
    if (room.number > 0)
        stay.setLong("ZimmerNr", room.number);
    stay.setDate("Anreise", key.arrival);
    stay.setDate("Abreise", departure);
    try {
        stay.update();
    } catch (...) {
        stay.cancelUpdate();
        throw;
    }
    // A new stay states the room's price outright: it is compared with what the room holds now.
    settleRooms(db, key.eventId, Room(), room, price.has_value(), price,
                roomPrice(db, key.eventId, room));
    transaction.commit();
}

StayDefaults readDefaults(CDatabase& db, std::int32_t eventId) {
    CSetEvent event(db);
    event.open(eventFilter(eventId));
    QDateTime begin;
    QDateTime end;
    if (!event.atEnd()) {
        begin = event.getDate("EBeginn");
        end = event.getDate("EEnde");
    }
    if (!begin.isValid())
        begin = QDateTime(QDate::currentDate(), QTime(0, 0), Qt::UTC);
    if (!end.isValid())
        end = begin;
    const QTime morning(9, 0);
    StayDefaults defaults;
    defaults.arrival = QDateTime(begin.date(), morning, Qt::UTC);
    defaults.departure = QDateTime(end.date().addDays(1), morning, Qt::UTC);
    defaults.eventBegin = begin;
    defaults.dayAfterEnd = end.addDays(1);
    return defaults;
}

} // namespace OvernightPlan
