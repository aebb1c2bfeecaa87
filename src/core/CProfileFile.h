#pragma once

#include <QString>

// A Windows-style profile file ("[SECTION]" lines, "Key=Value" lines). Section and key names
// compare without regard to case; values are raw text. Every read goes to the file, so a value
// written by one form is seen by the next.
//
// The file may come from Windows: it is read as UTF-8 (with or without byte order mark), as
// Windows-1252 when it is no valid UTF-8, and as UTF-16 or UTF-32 by its byte order mark. Writes
// keep the file's encoding and line endings and every other line byte for byte, and replace the
// file atomically, so a crash never leaves half a file behind. Only a value that Windows-1252
// cannot hold turns such a file into UTF-8 (all its text kept).
class CProfileFile {
public:
    explicit CProfileFile(QString path = QString()) : m_path(std::move(path)) {}

    void setPath(const QString& path) { m_path = path; }
    const QString& path() const { return m_path; }

    // The stored text, or the default when the file, section or key is missing or the file
    // cannot be read.
    QString readText(const QString& section, const QString& key,
                     const QString& defaultValue = QString()) const;
    // The stored value read as a decimal integer (leading blanks skipped, digits up to the first
    // other character; no digits give 0), or the default when missing.
    int readInt(const QString& section, const QString& key, int defaultValue) const;

    // Returns false, and leaves the file as it was, when the file could not be written, when it
    // exists but could not be read (writing would lose every other setting), or when the
    // section, key or value holds a line break or NUL (it would break the line apart and plant
    // lines of its own).
    bool writeText(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);

    // Converts as readInt does: "  14" gives 14, "12abc" gives 12, "abc" gives 0, a number
    // beyond the range of int ("2147483648") gives 0.
    static int toInt(const QString& text);

private:
    QString m_path;
};
