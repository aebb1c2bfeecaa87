#include "InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

const char* const kRaise = "raise\n";
constexpr int kAnswerMs = 2000;

QString canonical(const QString& directory) {
    const QString path = QFileInfo(directory).canonicalFilePath();
    return path.isEmpty() ? QDir(directory).absolutePath() : path;
}

} // namespace

InstanceGuard::InstanceGuard(const QString& programDirectory)
    : m_serverName(
          QStringLiteral("vorlanto-") +
          QString::fromLatin1(QCryptographicHash::hash(canonical(programDirectory).toUtf8(),
                                                       QCryptographicHash::Sha1)
                                  .toHex()
                                  .left(24))),
      m_lock(QDir(programDirectory).filePath(QStringLiteral(".Vorlanto.lock"))) {
    // A run that ended without removing its lock file is recognised by its process id at once.
    m_lock.setStaleLockTime(0);
}

InstanceGuard::~InstanceGuard() {
    m_server.reset();
    if (m_holds)
        m_lock.unlock();
}

bool InstanceGuard::acquire() {
    if (m_holds)
        return true;
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() == QLockFile::LockFailedError)
            return false;
        // No lock file possible (a write-protected directory): nothing to guard against here.
        return true;
    }
    m_holds = true;
    m_server = std::make_unique<QLocalServer>();
    // A socket file left by a run that crashed is in the way; the lock says it is not in use.
    QLocalServer::removeServer(m_serverName);
    if (m_server->listen(m_serverName)) {
        connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = m_server->nextPendingConnection()) {
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                auto read = [this, socket] {
                    if (socket->readAll().contains(kRaise))
                        Q_EMIT raiseRequested();
                };
                connect(socket, &QLocalSocket::readyRead, this, read);
                if (socket->bytesAvailable() > 0)
                    read();
            }
        });
    }
    return true;
}

bool InstanceGuard::bringRunningForward() const {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(kAnswerMs);
    socket.disconnectFromServer();
    return sent;
}
