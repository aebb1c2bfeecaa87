#include "LineUp.h"

#include "FinanceModel.h"
#include "OvernightPlan.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"

#include <algorithm>
#include <array>

namespace LineUp {

namespace {

constexpr int kSlots = 6;
const std::array<const char*, kSlots> kSlotColumns = {"MInstID1", "MInstID2", "MInstID3",
                                                      "MInstID4", "MInstID5", "MInstID6"};
const std::array<const char*, kSlots> kShortNameColumns = {"Kurz1", "Kurz2", "Kurz3",
                                                           "Kurz4", "Kurz5", "Kurz6"};

// Person function of a musician's overnight stay; cost group and centre of his fee.
constexpr int kMusicianFunction = 0;
constexpr int kPersonnelCostGroup = 1;
constexpr int kMusicianCostCentre = 10;

int compareText(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive);
}

bool sameInstrumentsThenName(const Row& a, const Row& b) {
    const int byInstruments = compareText(a.instruments, b.instruments);
    if (byInstruments != 0)
        return byInstruments < 0;
    return compareText(a.name, b.name) < 0;
}

Row musicianRow(const CRecordset& musician, const InstrumentTable& instruments, int slot) {
    QStringList shortNames;
    for (const char* column : kSlotColumns)
        shortNames << (musician.isNull(column) ? QString()
                                               : instruments.shortName(musician.getLong(column)));
    Row row;
    row.musicianId = musician.getLong("MusikerID");
    row.instruments = instrumentText(shortNames);
    row.name = musicianName(musician.getText("MVorname"), musician.getText("MName"));
    row.slot = slot;
    return row;
}

} // namespace

QString instrumentText(const QStringList& shortNames) {
    QString text;
    for (const QString& shortName : shortNames)
        text += shortName + QStringLiteral(", ");
    qsizetype end = text.size();
    while (end > 0 && (text.at(end - 1) == u' ' || text.at(end - 1) == u','))
        --end;
    text.truncate(end);
    return text;
}

QString musicianName(const QString& firstName, const QString& surname) {
    return firstName + u' ' + surname;
}

bool listedBefore(const Row& a, const Row& b) {
    if (a.slot != -1 && b.slot != -1 && a.slot != b.slot)
        return a.slot < b.slot;
    return sameInstrumentsThenName(a, b);
}

bool lineUpBefore(const Row& a, const Row& b) {
    return sameInstrumentsThenName(a, b);
}

void InstrumentTable::load(CDatabase& db) {
    QHash<std::int32_t, QString> shortNames;
    CSetInstrumente instruments(db);
    for (instruments.open(QString()); !instruments.atEnd(); instruments.moveNext())
        shortNames.insert(instruments.getLong("InstrumentID"), instruments.getText("Kurz"));
    m_shortNames = shortNames;
}

std::vector<Row> readLineUp(CDatabase& db, std::int32_t eventId) {
    std::vector<Row> rows;
    CSetAbfrEventBesetzung lineUp(db);
    for (lineUp.open(QString::asprintf("[EventID]=%ld", long(eventId))); !lineUp.atEnd();
         lineUp.moveNext()) {
        QStringList shortNames;
        for (const char* column : kShortNameColumns)
            shortNames << lineUp.getText(column);
        Row row;
        row.musicianId = lineUp.getLong("MusikerID");
        row.instruments = instrumentText(shortNames);
        row.name = musicianName(lineUp.getText("MVorname"), lineUp.getText("MName"));
        rows.push_back(row);
    }
    std::stable_sort(rows.begin(), rows.end(), lineUpBefore);
    return rows;
}

std::vector<Row> readMusicians(CDatabase& db, const InstrumentTable& instruments,
                               std::int32_t instrumentId, const QSet<std::int32_t>& lineUp) {
    std::vector<Row> rows;
    CSetStammMusiker musicians(db);
    const auto addLive = [&](const QString& filter, int slot) {
        for (musicians.open(filter); !musicians.atEnd(); musicians.moveNext()) {
            if (!lineUp.contains(musicians.getLong("MusikerID")))
                rows.push_back(musicianRow(musicians, instruments, slot));
        }
    };
    if (instrumentId == kAllInstruments) {
        addLive(QStringLiteral("[fDeleted]=False"), -1);
    } else {
        // A musician who plays the instrument in two slots is listed once per slot.
        for (int slot = 0; slot < kSlots; ++slot)
            addLive(QString::asprintf("[MInstID%d]=%ld AND [fDeleted]=False", slot + 1,
                                      long(instrumentId)),
                    slot);
    }
    std::stable_sort(rows.begin(), rows.end(), listedBefore);
    return rows;
}

QStringList store(CDatabase& db, std::int32_t eventId, const QList<std::int32_t>& musicians) {
    QStringList errors;
    QSet<std::int32_t> wanted;
    for (std::int32_t musicianId : musicians) {
        if (wanted.contains(musicianId))
            continue;
        wanted.insert(musicianId);
        try {
            CSetEventBesetzung row(db);
            row.open(QString::asprintf("[EventID]= %ld AND [MusikerID]= %ld", long(eventId),
                                       long(musicianId)));
            if (!row.atEnd())
                continue;
            row.addNew();
            row.setLong("EventID", eventId);
            row.setLong("MusikerID", musicianId);
            try {
                row.update();
            } catch (const CDaoException&) {
                row.cancelUpdate();
                throw;
            }
        } catch (const CDaoException& error) {
            errors << error.description();
        }
    }

    QList<std::int32_t> leaving;
    try {
        CSetEventBesetzung stored(db);
        for (stored.open(QString::asprintf("[EventID]= %ld", long(eventId))); !stored.atEnd();
             stored.moveNext()) {
            const std::int32_t musicianId = stored.getLong("MusikerID");
            if (!wanted.contains(musicianId) && !leaving.contains(musicianId))
                leaving << musicianId;
        }
    } catch (const CDaoException& error) {
        errors << error.description();
        return errors;
    }
    for (std::int32_t musicianId : leaving) {
        try {
            removeMusician(db, eventId, musicianId);
        } catch (const CDaoException& error) {
            errors << error.description();
        }
    }
    return errors;
}

void removeMusician(CDatabase& db, std::int32_t eventId, std::int32_t musicianId) {
    CDbTransaction transaction(db);
    const auto deleteAll = [](CRecordset& rows, const QString& filter) {
        for (rows.open(filter); !rows.atEnd(); rows.moveNext())
            rows.deleteCurrent();
    };
    CSetEventBesetzung lineUp(db);
    deleteAll(lineUp, QString::asprintf("[EventID]= %ld AND [MusikerID]= %ld", long(eventId),
                                        long(musicianId)));
    // His stays go, and with them the rooms nobody else is booked into.
    CSetEventNacht stays(db);
    std::vector<OvernightPlan::Room> rooms;
    for (stays.open(QString::asprintf("[EventID]=%ld AND [PersonID]=%ld AND [Funktion]=%d",
                                      long(eventId), long(musicianId), kMusicianFunction));
         !stays.atEnd(); stays.moveNext()) {
        rooms.push_back({stays.getLong("HotelID"), stays.getInt("ZimmerNr")});
        stays.deleteCurrent();
    }
    for (const OvernightPlan::Room& room : rooms)
        OvernightPlan::releaseRoom(db, eventId, room);
    if (!rooms.empty())
        Finance::updateOvernightBooking(db, eventId);
    CSetEventFinanzen bookings(db);
    deleteAll(bookings,
              QString::asprintf("[EventID]=%ld AND [Kostengruppe]=%d AND [Kostenstelle]=%d AND "
                                "[ID]=%ld",
                                long(eventId), kPersonnelCostGroup, kMusicianCostCentre,
                                long(musicianId)));
    transaction.commit();
}

void ensureStandardEvent(CDatabase& db) {
    CSetEvent event(db);
    event.open(QString::asprintf("[EventID]= %ld", long(kStandardEvent)));
    if (!event.atEnd())
        return;
    event.addNew();
    event.setLong("EventID", kStandardEvent);
    event.setText("ELocation", QStringLiteral("Standard"));
    event.setLong("VeranstalterID", 0);
    event.setLong("VAnsprechID", 0);
    try {
        event.update();
    } catch (const CDaoException&) {
        event.cancelUpdate();
        throw;
    }
}

} // namespace LineUp
