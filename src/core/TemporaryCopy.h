#pragma once

#include <QString>
#include <QStringList>

// A temporary copy of the database (written by a backup, a restore or the compaction before it
// gets its name). All carry one name pattern, ".Kavio-tmp-<purpose>-XXXXXX", and the process
// writing one holds a (shared) lock on it while it exists: whatever of that pattern is found
// unlocked is left over from a run that was stopped midway, and removeLeftovers() takes it away.
class TemporaryCopy {
public:
    // An empty file in the folder (FileStore::copyInto accepts an empty target). Throws
    // CDaoException (IoError) when the folder cannot take a file.
    TemporaryCopy(const QString& folder, const QString& purpose);
    // Removes the file unless it was kept.
    ~TemporaryCopy();
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    const QString& path() const { return m_path; }
    // Renames the copy to `target` (replacing it in one step) and lets it go. False with errno
    // set when the rename failed; the copy then stays temporary.
    bool moveTo(const QString& target);

    // True for a file name of the pattern.
    static bool isTemporaryName(const QString& fileName);
    // Removes the unlocked files of the pattern in the folder, nothing else; gives their names.
    static QStringList removeLeftovers(const QString& folder);

private:
    QString m_path;
    int m_lock = -1;
};
