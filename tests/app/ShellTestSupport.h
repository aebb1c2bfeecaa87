#pragma once
// Helpers of the shell tests: readable QStrings in failure output, a working directory for the
// duration of a test, and write protection that also holds against root.

#include "support/QStringPrinting.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <ostream>
#include <sys/ioctl.h>
#include <unistd.h>

// Makes a folder the working directory (and so the program directory) until it goes.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& directory) : m_previous(QDir::currentPath()) {
        m_ok = QDir::setCurrent(directory);
    }
    ~WorkingDirectory() { QDir::setCurrent(m_previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    bool ok() const { return m_ok; }

private:
    QString m_previous;
    bool m_ok = false;
};

// Write-protects a file or folder while it exists. Permission bits do not stop root, so when they
// are not enough the file system's immutable flag is set as well. active() tells whether this
// process really cannot write there now; tests skip when it cannot be arranged.
class WriteProtection {
public:
    explicit WriteProtection(const QString& path)
        : m_path(QFile::encodeName(path)), m_permissions(QFile::permissions(path)) {
        const bool folder = QFileInfo(path).isDir();
        QFile::setPermissions(path, folder
                                        ? QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther
                                        : QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (!active())
            m_immutable = setImmutable(true);
    }
    ~WriteProtection() {
        if (m_immutable)
            setImmutable(false);
        QFile::setPermissions(QFile::decodeName(m_path), m_permissions);
    }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

    bool active() const { return ::access(m_path.constData(), W_OK) != 0; }

private:
    bool setImmutable(bool on) const {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    QByteArray m_path;
    QFile::Permissions m_permissions;
    bool m_immutable = false;
};
