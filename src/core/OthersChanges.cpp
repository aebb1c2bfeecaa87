#include "OthersChanges.h"

#include "ChangeNotifier.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"

#include <QSocketNotifier>
#include <QTimer>

#include <set>
#include <string_view>
#include <utility>

namespace {

using Topic = ChangeNotifier::Topic;

// How often it looks whether the program connected to the server again.
constexpr int kCheckMilliseconds = 1000;

// What the lists call a change of a row of this table.
Topic topicOf(std::string_view table) {
    if (table == "T_Event")
        return Topic::Events;
    if (table.substr(0, 8) == "T_Event_")
        return Topic::Planning;
    if (table == "T_Stamm_ExtFirma")
        return Topic::Firms;
    if (table == "T_Stamm_ExtAnsprech")
        return Topic::Contacts;
    if (table == "T_Stamm_Musiker")
        return Topic::Musicians;
    if (table == "T_Stamm_Instrument")
        return Topic::Instruments;
    if (table == "User")
        return Topic::UserData;
    return Topic::BaseData;
}

} // namespace

OthersChanges::OthersChanges(CDatabase& db, QObject* parent) : QObject(parent), m_db(db) {
    listen();
    if (!m_notifier)
        return;
    m_check = new QTimer(this);
    connect(m_check, &QTimer::timeout, this, &OthersChanges::followReconnection);
    m_check->start(kCheckMilliseconds);
}

void OthersChanges::listen() {
    int socket = -1;
    try {
        socket = m_db.watchOthersChanges();
    } catch (const CDaoException&) {
        // Without the tellings the lists show others' changes at their next refresh.
    }
    if (socket < 0)
        return;
    m_listened = m_db.reconnections();
    delete m_notifier;
    m_notifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &OthersChanges::readChanges);
}

// Connecting again is left to the user's next action, which may wait long for the server; this
// only notices that it happened. The old socket is closed by then, whether or not it was seen to
// break. Tellings that arrived while the program ran a statement of its own wait in the
// connection without making the socket readable: they are read here too.
void OthersChanges::followReconnection() {
    if (!m_db.isOpen() || m_db.connectionLost())
        return;
    if (m_db.reconnections() != m_listened)
        listen();
    if (m_notifier && m_notifier->isEnabled())
        readChanges();
}

void OthersChanges::readChanges() {
    std::vector<CDatabase::SavedChange> changes;
    try {
        changes = m_db.takeOthersChanges();
    } catch (const CDaoException&) {
        // The connection broke: the next action on it says so, once.
        m_notifier->setEnabled(false);
        return;
    }
    // A save touches several rows: each topic and row is told once.
    std::set<std::pair<int, std::int32_t>> told;
    for (const CDatabase::SavedChange& change : changes) {
        const Topic topic = topicOf(change.table);
        const auto key = static_cast<std::int32_t>(change.key);
        if (!told.insert({int(topic), key}).second)
            continue;
        ChangeNotifier::instance().notify(topic, key);
        // The event list shows what its planning rows say (line-up, status, GEMA).
        if (topic == Topic::Planning && told.insert({int(Topic::Events), key}).second)
            ChangeNotifier::instance().notify(Topic::Events, key);
    }
}
