#pragma once

#include <QString>

// A Windows-style profile file ("[SECTION]" lines, "Key=Value" lines). Section and key names
// compare without regard to case; values are raw text. Every read goes to the file, so a value
// written by one form is seen by the next. Writes keep every other line as it was and replace
// the file atomically, so a crash never leaves half a file behind.
class CProfileFile {
public:
    explicit CProfileFile(QString path = QString()) : m_path(std::move(path)) {}

    void setPath(const QString& path) { m_path = path; }
    const QString& path() const { return m_path; }

    // The stored text, or the default when the file, section or key is missing.
    QString readText(const QString& section, const QString& key,
                     const QString& defaultValue = QString()) const;
    // The stored value read as a decimal integer (leading blanks skipped, digits up to the first
    // other character; no digits give 0), or the default when missing.
    int readInt(const QString& section, const QString& key, int defaultValue) const;

    // Returns false when the file could not be written; it is then left as it was.
    bool writeText(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);

    // Converts as readInt does: "  14" gives 14, "12abc" gives 12, "abc" gives 0.
    static int toInt(const QString& text);

private:
    QString m_path;
};
