#include "TransportPlan.h"

#include "ListRows.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"

namespace TransportPlan {

namespace {

QString bookingsOf(std::int32_t eventId, std::int32_t vehicle) {
    return QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d AND [Kostenstelle]=%d AND "
                             "[ID]=%ld",
                             long(eventId), kCostGroup, kCostCentre, long(vehicle));
}

} // namespace

std::vector<Entry> read(CDatabase& db, std::int32_t eventId) {
    std::vector<Entry> entries;
    CSetAbfrEventTransport rows(db);
    for (rows.open(QString::asprintf("[EventID]=%ld", long(eventId))); !rows.atEnd();
         rows.moveNext()) {
        Entry entry;
        entry.firm = rows.getLong("VerleiherID");
        entry.vehicle = rows.getLong("KfzID");
        const int seats = rows.getInt("Sitzpl");
        const double weight = rows.getSingle("ZulGewicht");
        entry.texts = {ListTexts::firmName(rows.getBool("fPrivat"), rows.getText("Firma"),
                                           rows.getText("Name"), rows.getText("Vorname")),
                       rows.getText("Typ"),
                       rows.getText("Fahrer"),
                       rows.getText("Kennzeichen"),
                       seats > 0 ? QString::number(seats) : QString(),
                       weight > 0 ? QString::number(weight, 'f', 1).replace(u'.', u',')
                                  : QString()};
        entries.push_back(entry);
    }
    return entries;
}

void remove(CDatabase& db, std::int32_t eventId, std::int32_t firm, std::int32_t vehicle) {
    CDbTransaction transaction(db);
    CSetEventTransport planned(db);
    planned.open(QString::asprintf("[EventID]=%ld AND [VerleiherID]=%ld AND [KfzID]=%ld",
                                   long(eventId), long(firm), long(vehicle)));
    if (!planned.atEnd()) {
        planned.deleteCurrent();
        CSetEventFinanzen bookings(db);
        for (bookings.open(bookingsOf(eventId, vehicle)); !bookings.atEnd(); bookings.moveNext())
            bookings.deleteCurrent();
    }
    transaction.commit();
}

void moveBookings(CDatabase& db, std::int32_t eventId, std::int32_t fromVehicle,
                  std::int32_t toVehicle) {
    if (fromVehicle == toVehicle)
        return;
    CSetEventFinanzen bookings(db);
    for (bookings.open(bookingsOf(eventId, fromVehicle)); !bookings.atEnd(); bookings.moveNext()) {
        bookings.edit();
        bookings.setLong("ID", toVehicle);
        bookings.update();
    }
}

} // namespace TransportPlan
