#pragma once

#include <QObject>

class CDatabase;
class QSocketNotifier;
class QTimer;

// Tells the program's change notifier what other people save on the same band database, as
// they save it, so that open lists, the planning hub and the calendar show it within a second.
// Does nothing where nobody else writes (a database file). When the server connection breaks it
// stops quietly (the user's next action says so, once) and listens on the new connection once
// the program has connected again.
class OthersChanges : public QObject {
    Q_OBJECT
public:
    explicit OthersChanges(CDatabase& db, QObject* parent = nullptr);

private:
    void listen();
    void readChanges();
    void followReconnection();

    CDatabase& m_db;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_check = nullptr;
    int m_listened = 0; // CDatabase::reconnections() when it started listening
};
