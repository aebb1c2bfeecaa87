#include "CProfileFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString content = QString::fromUtf8(file.readAll());
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = content.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// "[Name]" gives "Name"; other lines give a null string.
QString sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return QString();
}

bool isKeyLine(const QString& line, const QString& key, QString* value = nullptr) {
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return false;
    if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value) {
        QString text = line.mid(equals + 1).trimmed();
        // A value in matching quotes is read without them.
        if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) &&
            text.endsWith(QLatin1Char('"')))
            text = text.mid(1, text.size() - 2);
        *value = text;
    }
    return true;
}

} // namespace

QString CProfileFile::readText(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    bool inSection = false;
    for (const QString& line : readLines(m_path)) {
        const QString name = sectionName(line);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && isKeyLine(line, key, &value))
            return value;
    }
    return defaultValue;
}

int CProfileFile::toInt(const QString& text) {
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    long long number = 0;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        number = number * 10 + (text.at(i).unicode() - '0');
        if (number > 2147483647LL)
            return 0;
        ++i;
    }
    return static_cast<int>(negative ? -number : number);
}

int CProfileFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    const QString text = readText(section, key, QString());
    if (text.isNull())
        return defaultValue;
    return toInt(text);
}

bool CProfileFile::writeText(const QString& section, const QString& key, const QString& value) {
    QStringList lines = readLines(m_path);
    const QString entry = key + QLatin1Char('=') + value;
    int sectionStart = -1;
    int insertAt = -1; // after the last non-empty line of the section
    bool inSection = false;
    bool written = false;
    for (int i = 0; i < lines.size() && !written; ++i) {
        const QString name = sectionName(lines.at(i));
        if (!name.isNull()) {
            if (inSection)
                break;
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (isKeyLine(lines.at(i), key)) {
            lines[i] = entry;
            written = true;
        } else if (!lines.at(i).trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionStart >= 0) {
            lines.insert(insertAt, entry);
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines.append(QString());
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(entry);
        }
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return file.commit();
}

bool CProfileFile::writeInt(const QString& section, const QString& key, int value) {
    return writeText(section, key, QString::number(value));
}
