#include "TemporaryCopy.h"

#include "data/CDaoException.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char* const kPrefix = ".Kavio-tmp-";

// The writer holds a shared lock (so that the copy can still be opened as a database, which
// takes one too); the cleaner needs the exclusive one.
int lockedDescriptor(const QString& path, int operation) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, operation | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TemporaryCopy::TemporaryCopy(const QString& folder, const QString& purpose) {
    QTemporaryFile file(
        QDir(folder).filePath(QLatin1String(kPrefix) + purpose + QStringLiteral("-XXXXXX")));
    if (!file.open())
        throw CDaoException(CDaoException::IoError,
                            QStringLiteral("Im Ordner %1 kann keine Datei angelegt werden. Bitte "
                                           "prüfen Sie, ob der Ordner beschreibbar ist und auf "
                                           "dem Datenträger noch Platz ist.")
                                .arg(QDir::toNativeSeparators(folder)));
    m_path = file.fileName();
    m_lock = lockedDescriptor(m_path, LOCK_SH);
    file.setAutoRemove(false);
}

TemporaryCopy::~TemporaryCopy() {
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    if (m_lock >= 0)
        ::close(m_lock);
}

bool TemporaryCopy::moveTo(const QString& target) {
    if (std::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData()) !=
        0)
        return false;
    m_path.clear();
    if (m_lock >= 0)
        ::close(m_lock);
    m_lock = -1;
    return true;
}

bool TemporaryCopy::isTemporaryName(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^\\.Kavio-tmp-[a-z]+-[A-Za-z0-9]{6}$"));
    return pattern.match(fileName).hasMatch();
}

QStringList TemporaryCopy::removeLeftovers(const QString& folder) {
    QDir dir(folder);
    QStringList removed;
    const QStringList candidates = dir.entryList({QLatin1String(kPrefix) + QLatin1Char('*')},
                                                 QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : candidates) {
        if (!isTemporaryName(name))
            continue;
        // A copy being written is locked by its writer.
        const int fd = lockedDescriptor(dir.filePath(name), LOCK_EX);
        if (fd < 0)
            continue;
        if (dir.remove(name))
            removed << name;
        ::close(fd);
    }
    return removed;
}
