#include "CProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

// Bytes 0x80 to 0x9F of Windows-1252, the code page a Kavio.ini written on a German Windows is
// in. The five bytes the code page leaves free stand for the control character of the same
// number, so that every byte reads and writes back as it was.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
    }
    return text;
}

// Nothing when the text holds a character the code page does not have.
std::optional<QByteArray> toWindows1252(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        int byte = -1;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            byte = c;
        } else {
            for (int high = 0; high < 32 && byte < 0; ++high) {
                if (kWindows1252High[high] == c)
                    byte = 0x80 + high;
            }
        }
        if (byte < 0)
            return std::nullopt;
        bytes[i] = static_cast<char>(byte);
    }
    return bytes;
}

// How the file is stored, so that a write keeps it so.
struct Storage {
    // Nothing: Windows-1252.
    std::optional<QStringConverter::Encoding> unicode = QStringConverter::Utf8;
    bool byteOrderMark = false;
    // The line ending of new lines: the file's own, "\n" for a new file.
    QString lineEnd = QStringLiteral("\n");
};

struct Line {
    QString text; // without the line ending
    QString end;  // "\n", "\r\n", or empty for a last line without one
    // The line's bytes as read (without the line ending), written back as they are while the
    // line is unchanged; empty for a changed or new line. Only kept for UTF-8 and Windows-1252.
    std::optional<QByteArray> raw;
};

struct Content {
    // The file exists but could not be read: it must not be written over.
    bool unreadable = false;
    Storage storage;
    std::vector<Line> lines;
};

bool byteWise(const Storage& storage) {
    return !storage.unicode || *storage.unicode == QStringConverter::Utf8;
}

// The encoding of the file's bytes: by a byte order mark; otherwise UTF-8 when they are valid
// UTF-8, else Windows-1252.
Storage detect(const QByteArray& bytes) {
    Storage storage;
    if (const std::optional<QStringConverter::Encoding> marked =
            QStringConverter::encodingForData(bytes)) {
        storage.unicode = *marked;
        storage.byteOrderMark = true;
        return storage;
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8.decode(bytes); // decodes only when converted to a string
    if (utf8.hasError())
        storage.unicode.reset();
    return storage;
}

// The encoding is decided once per file: a write of ours keeps the decision for the file it
// leaves (even when, say, the last byte that made it Windows-1252 is gone), so that no other
// line changes its meaning. A file changed by anyone else is decided anew.
struct FileState {
    qint64 device = 0, inode = 0, size = -1, modifiedNs = 0;
    bool operator==(const FileState& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedNs == other.modifiedNs;
    }
};

std::optional<FileState> stateOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileState{qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size),
                     qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

struct Decision {
    FileState state;
    Storage storage;
};

QHash<QString, Decision>& decisions() {
    static QHash<QString, Decision> byPath;
    return byPath;
}

QString decodeLine(const QByteArray& bytes, const Storage& storage) {
    if (!storage.unicode)
        return fromWindows1252(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    return utf8.decode(bytes);
}

// The text of a file in an encoding without line-by-line bytes (UTF-16, UTF-32).
QString decodeWhole(const QByteArray& bytes, const Storage& storage) {
    // Stateless: a cut-off character at the end is read as one, not dropped.
    QStringDecoder decoder(*storage.unicode, QStringConverter::Flag::Stateless); // drops the mark
    return decoder.decode(bytes);
}

// The bytes of the whole file: unchanged lines as they were read, changed and new ones in the
// file's encoding. Only a value Windows-1252 cannot hold moves the whole file to UTF-8, which
// keeps every character of the other lines.
QByteArray encode(const std::vector<Line>& lines, Storage& storage) {
    if (!byteWise(storage)) {
        QString text;
        for (const Line& line : lines)
            text += line.text + line.end;
        QStringEncoder encoder(*storage.unicode, storage.byteOrderMark
                                                     ? QStringConverter::Flag::WriteBom
                                                     : QStringConverter::Flag::Default);
        return encoder.encode(text);
    }
    QByteArray bytes = storage.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const Line& line : lines) {
        if (line.raw) {
            bytes += *line.raw;
        } else if (!storage.unicode) {
            const std::optional<QByteArray> encoded = toWindows1252(line.text);
            if (!encoded) {
                std::vector<Line> asText = lines;
                for (Line& each : asText)
                    each.raw.reset();
                storage.unicode = QStringConverter::Utf8;
                return encode(asText, storage);
            }
            bytes += *encoded;
        } else {
            bytes += line.text.toUtf8();
        }
        bytes += line.end.toLatin1();
    }
    return bytes;
}

Content readContent(const QString& path) {
    Content content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        content.unreadable = file.exists();
        return content;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        content.unreadable = true;
        return content;
    }
    const QString key = QFileInfo(path).absoluteFilePath();
    const auto decided = decisions().constFind(key);
    const std::optional<FileState> state = stateOf(path);
    if (decided != decisions().constEnd() && state && decided->state == *state)
        content.storage = decided->storage;
    else
        content.storage = detect(bytes);

    bool firstEnd = true;
    auto add = [&](Line line) {
        if (!line.end.isEmpty() && firstEnd) {
            content.storage.lineEnd = line.end;
            firstEnd = false;
        }
        content.lines.push_back(std::move(line));
    };
    if (byteWise(content.storage)) {
        if (content.storage.byteOrderMark && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        qsizetype start = 0;
        while (start < bytes.size()) {
            const qsizetype feed = bytes.indexOf('\n', start);
            Line line;
            QByteArray raw = feed < 0 ? bytes.mid(start) : bytes.mid(start, feed - start);
            if (feed >= 0) {
                line.end = QStringLiteral("\n");
                if (raw.endsWith('\r')) {
                    raw.chop(1);
                    line.end = QStringLiteral("\r\n");
                }
            }
            start = feed < 0 ? bytes.size() : feed + 1;
            line.text = decodeLine(raw, content.storage);
            line.raw = std::move(raw);
            add(std::move(line));
        }
        return content;
    }
    const QString text = decodeWhole(bytes, content.storage);
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype feed = text.indexOf(QLatin1Char('\n'), start);
        Line line;
        if (feed < 0) {
            line.text = text.mid(start);
            start = text.size();
        } else {
            line.text = text.mid(start, feed - start);
            line.end = QStringLiteral("\n");
            if (line.text.endsWith(QLatin1Char('\r'))) {
                line.text.chop(1);
                line.end = QStringLiteral("\r\n");
            }
            start = feed + 1;
        }
        add(std::move(line));
    }
    return content;
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

// A line break would end the entry early and let the rest of the text stand as lines of its
// own (a planted "[OPTIONS]" section, say); a NUL ends the text for many readers.
bool fitsOnOneLine(const QString& text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.isNull())
            return false;
    }
    return true;
}

} // namespace

QString CProfileFile::readText(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    bool inSection = false;
    for (const Line& line : readContent(m_path).lines) {
        const QString name = sectionName(line.text);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && isKeyLine(line.text, key, &value))
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
    // The negative range reaches one further than the positive one.
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    long long number = 0;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        number = number * 10 + (text.at(i).unicode() - '0');
        if (number > limit)
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
    if (!fitsOnOneLine(section) || !fitsOnOneLine(key) || !fitsOnOneLine(value))
        return false;
    Content content = readContent(m_path);
    if (content.unreadable)
        return false;
    std::vector<Line>& lines = content.lines;
    const QString lineEnd = content.storage.lineEnd;
    const QString entry = key + QLatin1Char('=') + value;

    // A line added after the last line of the file needs that line to end first.
    const auto insertLine = [&](size_t at, const QString& text) {
        if (at > 0 && lines[at - 1].end.isEmpty())
            lines[at - 1].end = lineEnd;
        lines.insert(lines.begin() + qsizetype(at), Line{text, lineEnd, std::nullopt});
    };

    int sectionStart = -1;
    size_t insertAt = 0; // after the last non-empty line of the section
    bool inSection = false;
    bool written = false;
    for (size_t i = 0; i < lines.size() && !written; ++i) {
        const QString name = sectionName(lines[i].text);
        if (!name.isNull()) {
            if (inSection)
                break;
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) {
                sectionStart = int(i);
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (isKeyLine(lines[i].text, key)) {
            if (lines[i].text != entry) {
                lines[i].text = entry;
                lines[i].raw.reset();
            }
            written = true;
        } else if (!lines[i].text.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionStart >= 0) {
            insertLine(insertAt, entry);
        } else {
            if (!lines.empty() && !lines.back().text.trimmed().isEmpty())
                insertLine(lines.size(), QString());
            insertLine(lines.size(), QLatin1Char('[') + section + QLatin1Char(']'));
            insertLine(lines.size(), entry);
        }
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(encode(lines, content.storage));
    if (!file.commit())
        return false;
    if (const std::optional<FileState> state = stateOf(m_path))
        decisions().insert(QFileInfo(m_path).absoluteFilePath(), {*state, content.storage});
    return true;
}

bool CProfileFile::writeInt(const QString& section, const QString& key, int value) {
    return writeText(section, key, QString::number(value));
}
