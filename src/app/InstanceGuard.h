#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One running Vorlanto per program directory. The first holds a lock file in the directory
// (with its process id, so that a crashed run does not lock the directory out) and listens on a
// local socket named after the directory; a later start finds the lock held and can ask the
// running one to bring its window forward.
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
    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    bool m_holds = false;
};
