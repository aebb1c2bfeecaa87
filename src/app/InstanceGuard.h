#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSocketNotifier;

// One running Vorlanto per program directory. The first holds a lock on a file in the directory
// (a kernel lock: it ends with the process, so a crashed run never locks the directory out, and
// taking it writes nothing to disk) and listens on a local socket named after the directory; a
// later start finds the lock held and can ask the running one to bring its window forward.
//
// The socket is a plain Unix domain socket watched by the event loop: the program needs no
// network library for it, which keeps the start short.
class InstanceGuard : public QObject {
    Q_OBJECT
public:
    explicit InstanceGuard(const QString& programDirectory);
    ~InstanceGuard() override;

    // True when this process now holds the directory, or when the directory cannot take a lock
    // file at all (the write protection is refused later, with its own message); false while
    // another Vorlanto runs there.
    bool acquire();
    bool holds() const { return m_holds; }
    // Asks the running Vorlanto to bring its window forward; false when it did not answer.
    bool bringRunningForward() const;

Q_SIGNALS:
    // A later start on the same directory asked for the window.
    void raiseRequested();

private:
    void listen();
    void acceptCallers();
    void readCaller(int socket);
    void closeCaller(int socket);

    QByteArray m_socketPath;
    QByteArray m_lockPath;
    int m_lock = -1;
    int m_server = -1;
    std::unique_ptr<QSocketNotifier> m_serverNotifier;
    struct Caller {
        std::unique_ptr<QSocketNotifier> notifier;
        QByteArray received;
    };
    std::map<int, Caller> m_callers;
    bool m_holds = false;
};
