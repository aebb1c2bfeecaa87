#pragma once

#include <QObject>

class CDatabase;
class QSocketNotifier;

// Tells the program's change notifier what other people save on the same band database, as
// they save it, so that open lists, the planning hub and the calendar show it within a second.
// Does nothing where nobody else writes (a database file).
class OthersChanges : public QObject {
    Q_OBJECT
public:
    explicit OthersChanges(CDatabase& db, QObject* parent = nullptr);

private:
    void readChanges();

    CDatabase& m_db;
    QSocketNotifier* m_notifier = nullptr;
};
