#include "InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const char kRaise[] = "raise\n";

QString canonical(const QString& directory) {
    const QString path = QFileInfo(directory).canonicalFilePath();
    return path.isEmpty() ? QDir(directory).absolutePath() : path;
}

// The socket's address; false when the path does not fit into one.
bool address(const QByteArray& path, sockaddr_un& result) {
    std::memset(&result, 0, sizeof result);
    result.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof result.sun_path)
        return false;
    std::memcpy(result.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return true;
}

} // namespace

InstanceGuard::InstanceGuard(const QString& programDirectory)
    : m_socketPath(QFile::encodeName(
          QDir(QDir::tempPath())
              .filePath(
                  QStringLiteral("vorlanto-") +
                  QString::fromLatin1(QCryptographicHash::hash(canonical(programDirectory).toUtf8(),
                                                               QCryptographicHash::Sha1)
                                          .toHex()
                                          .left(24))))),
      m_lockPath(
          QFile::encodeName(QDir(programDirectory).filePath(QStringLiteral(".Vorlanto.lock")))) {}

InstanceGuard::~InstanceGuard() {
    while (!m_callers.empty())
        closeCaller(m_callers.begin()->first);
    m_serverNotifier.reset();
    if (m_server >= 0) {
        ::close(m_server);
        ::unlink(m_socketPath.constData());
    }
    // The file stays: removing it could let a start that opened it meanwhile lock a file
    // nobody else finds. Closing ends the lock.
    if (m_lock >= 0)
        ::close(m_lock);
}

bool InstanceGuard::acquire() {
    if (m_holds)
        return true;
    m_lock = ::open(m_lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_lock < 0)
        m_lock = ::open(m_lockPath.constData(), O_RDONLY | O_CLOEXEC);
    // No lock file possible (a write-protected directory): nothing to guard against here.
    if (m_lock < 0)
        return true;
    if (::flock(m_lock, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(m_lock);
        m_lock = -1;
        return !held;
    }
    m_holds = true;
    listen();
    return true;
}

// Without a socket the directory is still guarded; only the window cannot be called forward.
void InstanceGuard::listen() {
    sockaddr_un where;
    if (!address(m_socketPath, where))
        return;
    m_server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_server < 0)
        return;
    // A socket file left by a run that crashed is in the way; the lock says it is not in use.
    ::unlink(m_socketPath.constData());
    if (::bind(m_server, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0 ||
        ::listen(m_server, 4) != 0) {
        ::close(m_server);
        m_server = -1;
        return;
    }
    m_serverNotifier = std::make_unique<QSocketNotifier>(m_server, QSocketNotifier::Read);
    connect(m_serverNotifier.get(), &QSocketNotifier::activated, this,
            &InstanceGuard::acceptCallers);
}

void InstanceGuard::acceptCallers() {
    int socket;
    while ((socket = ::accept4(m_server, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        Caller& caller = m_callers[socket];
        caller.notifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
        connect(caller.notifier.get(), &QSocketNotifier::activated, this,
                [this, socket] { readCaller(socket); });
        readCaller(socket);
    }
}

void InstanceGuard::readCaller(int socket) {
    const auto found = m_callers.find(socket);
    if (found == m_callers.end())
        return;
    char buffer[64];
    bool hungUp = false;
    for (;;) {
        const ssize_t count = ::read(socket, buffer, sizeof buffer);
        if (count > 0) {
            // A caller says no more than one word; a longer text is nobody we know.
            if (found->second.received.size() < 256)
                found->second.received.append(buffer, static_cast<int>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        // Nothing more for now, or the caller has hung up (or the socket failed).
        hungUp = !(count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK));
        break;
    }
    const bool raise = found->second.received.contains(kRaise);
    if (raise || hungUp)
        closeCaller(socket);
    if (raise)
        Q_EMIT raiseRequested();
}

void InstanceGuard::closeCaller(int socket) {
    const auto found = m_callers.find(socket);
    if (found == m_callers.end())
        return;
    // The notifier goes before its socket, so that it never watches a closed descriptor.
    found->second.notifier.reset();
    ::close(socket);
    m_callers.erase(found);
}

bool InstanceGuard::bringRunningForward() const {
    sockaddr_un where;
    if (!address(m_socketPath, where))
        return false;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    // A local connection is made or refused at once, and six bytes always fit its buffer.
    const bool sent =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0 &&
        ::send(socket, kRaise, sizeof kRaise - 1, MSG_NOSIGNAL) ==
            static_cast<ssize_t>(sizeof kRaise - 1);
    ::close(socket);
    return sent;
}
