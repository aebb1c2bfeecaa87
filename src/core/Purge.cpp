#include "Purge.h"

#include "data/CDatabase.h"
#include "data/JetFilter.h"
#include "data/RecordSets.h"

namespace {

// Cost group and cost centre of the bookings of a firm kind.
struct Booking {
    int group;
    int centre;
};

Booking bookingOfFirmKind(int kind) {
    switch (kind) {
    case 1:
        return {1, 12};
    case 2:
        return {1, 11};
    case 3:
        return {2, 13};
    case 4:
        return {3, 14};
    case 5:
        return {4, 15};
    default:
        return {-1, -1};
    }
}

// Re-runs a reference set with a new filter; true when a row still refers.
bool refers(CRecordset& references, const QString& filter) {
    references.open(filter);
    return !references.atEnd();
}

QString bookingFilter(int group, int centre, long id) {
    return QString::asprintf("[Kostengruppe]=%d AND [Kostenstelle]=%d AND [ID]=%ld", group, centre,
                             id);
}

QString overnightFilter(long person, int function) {
    return QString::asprintf("[PersonID]=%ld AND [Funktion]=%d", person, function);
}

class Purge {
public:
    explicit Purge(CDatabase& db)
        : m_db(db), m_bookings(db), m_overnight(db), m_lineUp(db), m_musicians(db), m_events(db),
          m_eventFirms(db), m_transport(db), m_sales(db) {}

    int run() {
        CDbTransaction transaction(m_db);
        // The reference sets are opened with a filter per candidate, as each check needs it.
        musicians();
        instruments();
        firms();
        contacts();
        hotels();
        vehicles();
        articleGroups();
        articles();
        transaction.commit();
        return m_removed;
    }

private:
    void remove(CRecordset& candidate) {
        candidate.deleteCurrent();
        ++m_removed;
    }

    void musicians() {
        m_musicians.open(QStringLiteral("[fDeleted]=true"));
        for (; !m_musicians.atEnd(); m_musicians.moveNext()) {
            const long id = m_musicians.getLong("MusikerID");
            if (refers(m_lineUp, QString::asprintf("[MusikerID]=%ld", id)) ||
                refers(m_bookings, bookingFilter(1, 10, id)) ||
                refers(m_overnight, overnightFilter(id, 0)))
                continue;
            remove(m_musicians);
        }
        m_lineUp.close();
    }

    // An instrument stays while any musician, flagged or not, names it.
    void instruments() {
        CSetInstrumente instruments(m_db);
        instruments.open(QStringLiteral("[fDeleted]=true"));
        for (; !instruments.atEnd(); instruments.moveNext()) {
            const long id = instruments.getLong("InstrumentID");
            if (refers(m_musicians,
                       QString::asprintf("[MInstID1]=%ld OR [MInstID2]=%ld OR [MInstID3]=%ld OR "
                                         "[MInstID4]=%ld OR [MInstID5]=%ld OR [MInstID6]=%ld",
                                         id, id, id, id, id, id)))
                continue;
            remove(instruments);
        }
        m_musicians.close();
    }

    void firms() {
        CSetStammExtFirma firms(m_db);
        firms.open(QStringLiteral("[fDeleted]=true"));
        for (; !firms.atEnd(); firms.moveNext()) {
            const long id = firms.getLong("ExtID");
            const int kind = firms.getInt("Art");
            if (kind == 0) {
                if (refers(m_events, QString::asprintf("[VeranstalterID]=%ld", id)))
                    continue;
            } else {
                const Booking booking = bookingOfFirmKind(kind);
                if (refers(m_eventFirms, QString::asprintf("[Art]=%d AND [ExtID]=%ld", kind, id)) ||
                    refers(m_bookings, bookingFilter(booking.group, booking.centre, id)))
                    continue;
                if ((kind == 1 || kind == 2) && refers(m_overnight, overnightFilter(id, kind)))
                    continue;
                // A car-hire firm also stays while a planned transport names it: those rows
                // would otherwise point at a firm that no longer exists.
                if (kind == 5 && refers(m_transport, QString::asprintf("[VerleiherID]=%ld", id)))
                    continue;
            }
            remove(firms);
        }
    }

    void contacts() {
        CSetStammExtAnsprech contacts(m_db);
        contacts.open(QStringLiteral("[fDeleted]=true"));
        for (; !contacts.atEnd(); contacts.moveNext()) {
            const long id = contacts.getLong("APID");
            const int kind = contacts.getInt("Art");
            const bool used =
                kind != 0 ? refers(m_eventFirms,
                                   QString::asprintf("[Art]=%d AND [AnsprechID]=%ld", kind, id))
                          : refers(m_events, QString::asprintf("[VAnsprechID]=%ld", id));
            if (!used)
                remove(contacts);
        }
        m_eventFirms.close();
        m_events.close();
    }

    void hotels() {
        CSetHotel hotels(m_db);
        hotels.open(QStringLiteral("[fDeleted]=true"));
        for (; !hotels.atEnd(); hotels.moveNext()) {
            if (!refers(m_overnight,
                        QString::asprintf("[HotelID]=%ld", long(hotels.getLong("HotelID")))))
                remove(hotels);
        }
    }

    void vehicles() {
        CSetStammKfz vehicles(m_db);
        vehicles.open(QStringLiteral("[fDeleted]=true"));
        for (; !vehicles.atEnd(); vehicles.moveNext()) {
            if (!refers(m_transport,
                        QString::asprintf("[KfzID]=%ld", long(vehicles.getLong("KfzID")))))
                remove(vehicles);
        }
        m_transport.close();
        m_overnight.close();
        m_bookings.close();
    }

    void articleGroups() {
        CSetStammArtikelgruppe groups(m_db);
        groups.open(QStringLiteral("[fDeleted]=true"));
        for (; !groups.atEnd(); groups.moveNext()) {
            // Group names may contain quotes: the quoting helper keeps them exact.
            if (!refers(m_sales, QStringLiteral("[Artikelgruppe]=") +
                                     Jet::quoted(groups.getText("Artikelgruppe"))))
                remove(groups);
        }
    }

    void articles() {
        CSetStammArtikel articles(m_db);
        articles.open(QStringLiteral("[fDeleted]=true"));
        for (; !articles.atEnd(); articles.moveNext()) {
            if (!refers(m_sales,
                        QString::asprintf("[ArtikelID]=%ld", long(articles.getLong("ArtikelID")))))
                remove(articles);
        }
        m_sales.close();
    }

    CDatabase& m_db;
    CSetEventFinanzen m_bookings;
    CSetEventNacht m_overnight;
    CSetEventBesetzung m_lineUp;
    CSetStammMusiker m_musicians;
    CSetEvent m_events;
    CSetEventExtFirma m_eventFirms;
    CSetEventTransport m_transport;
    CSetEventMerchandising m_sales;
    int m_removed = 0;
};

} // namespace

int purgeDeletedMasterRecords(CDatabase& db) {
    return Purge(db).run();
}
