#include "CsvFile.h"

#include <algorithm>

#include <csv.h>

namespace Csv {

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; 0 where the code page defines none.
const char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// Where a text's first byte that is no UTF-8 lies (-1 when there is none), and whether it holds
// a valid UTF-8 character of more than one byte.
struct Utf8Scan {
    qsizetype firstInvalid = -1;
    bool multiByte = false;
};

Utf8Scan scanUtf8(QByteArrayView bytes) {
    Utf8Scan scan;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07, least = 0x10000;
        }
        bool valid = length > 0 && i + length <= size;
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char next = data[i + k];
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are no UTF-8 either.
        valid = valid && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            if (scan.firstInvalid < 0)
                scan.firstInvalid = i;
            ++i;
            continue;
        }
        scan.multiByte = true;
        i += length;
    }
    return scan;
}

// Text has few control characters besides tab, line breaks and form feed; a spreadsheet's own
// format, a picture or an archive has many. A single stray one does not make a file binary.
bool looksLikeText(QByteArrayView data) {
    const qsizetype sample = std::min<qsizetype>(data.size(), 65536);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < sample; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1A)
            ++controls;
    }
    return controls <= 1 || controls * 32 <= sample;
}

QString refusal(const QString& reason) {
    return QStringLiteral("Die Datei wird nicht eingelesen: %1").arg(reason);
}

QString fieldCount(qsizetype count) {
    return count == 1 ? QStringLiteral("1 Feld") : QStringLiteral("%1 Felder").arg(count);
}

// The separator the header line uses more, counted outside quotes.
QChar detectSeparator(QByteArrayView data) {
    int semicolons = 0;
    int commas = 0;
    bool quoted = false;
    for (const char c : data) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && c == ';')
            ++semicolons;
        else if (!quoted && c == ',')
            ++commas;
    }
    return commas > semicolons ? QLatin1Char(',') : QLatin1Char(';');
}

// The records as bytes, all fields in one buffer; they are decoded once the whole file is known
// to be sound.
struct RawRecord {
    int row = 0;
    size_t first = 0; // index of its first field in RawFile::fields
    size_t count = 0;
};

struct RawFile {
    QByteArray bytes;
    std::vector<std::pair<qsizetype, qsizetype>> fields; // offset and size in `bytes`
    std::vector<RawRecord> records;

    QByteArrayView field(const RawRecord& record, size_t index) const {
        const auto& [offset, size] = fields[record.first + index];
        return QByteArrayView(bytes.constData() + offset, size);
    }
};

struct ParseState {
    RawFile file;
    size_t recordStart = 0; // first field of the record being read
    int row = 0;
    int lastEnd = 0;
};

void onField(void* field, size_t size, void* data) {
    auto* state = static_cast<ParseState*>(data);
    const qsizetype offset = state->file.bytes.size();
    if (field)
        state->file.bytes.append(static_cast<const char*>(field), static_cast<qsizetype>(size));
    state->file.fields.emplace_back(offset, field ? static_cast<qsizetype>(size) : 0);
}

bool isBlank(QByteArrayView field) {
    for (const char c : field) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

void onRecordEnd(int terminator, void* data) {
    auto* state = static_cast<ParseState*>(data);
    // Every line break is reported, so that blank lines count as rows; the LF of a CRLF
    // closes no further row.
    RawFile& file = state->file;
    const size_t count = file.fields.size() - state->recordStart;
    const bool lineFeedOfCrLf = terminator == '\n' && state->lastEnd == '\r' && count == 0;
    state->lastEnd = terminator;
    if (lineFeedOfCrLf)
        return;
    ++state->row;
    const RawRecord record{state->row, state->recordStart, count};
    bool hasText = false;
    for (size_t i = 0; i < count && !hasText; ++i)
        hasText = !isBlank(file.field(record, i));
    if (hasText) {
        file.records.push_back(record);
        state->recordStart = file.fields.size();
    } else {
        file.fields.resize(state->recordStart);
    }
}

// Splits the bytes into records; a failure names the row where the parser stopped.
QString parse(QByteArrayView data, char separator, RawFile& file) {
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0)
        return refusal(QStringLiteral("Der Speicher reicht nicht aus."));
    csv_set_delim(&parser, static_cast<unsigned char>(separator));
    csv_set_quote(&parser, '"');
    ParseState state;
    state.file.bytes.reserve(data.size());
    state.file.fields.reserve(size_t(data.size() / 8));
    const size_t size = static_cast<size_t>(data.size());
    QString failure;
    if (csv_parse(&parser, data.data(), size, onField, onRecordEnd, &state) != size) {
        // The record being read when the parser stopped holds the fault.
        failure = csv_error(&parser) == CSV_EPARSE
                      ? refusal(QStringLiteral("In Zeile %1 steht ein Anführungszeichen mitten "
                                               "in einem Feld oder Text hinter dem "
                                               "Anführungszeichen, das ein Feld schließt.")
                                    .arg(state.row + 1))
                      : refusal(QString::fromLatin1(csv_strerror(csv_error(&parser))));
    } else if (csv_fini(&parser, onField, onRecordEnd, &state) != 0) {
        failure = refusal(QStringLiteral("Das Anführungszeichen, mit dem in Zeile %1 ein Feld "
                                         "beginnt, wird nicht geschlossen.")
                              .arg(state.row + 1));
    }
    csv_free(&parser);
    if (failure.isEmpty())
        file = std::move(state.file);
    return failure;
}

// Every row has as many fields as the header, and no field holds a NUL byte.
QString checkShape(const RawFile& file) {
    const size_t expected = file.records.empty() ? 0 : file.records.front().count;
    for (const RawRecord& record : file.records) {
        if (record.count != expected)
            return refusal(
                QStringLiteral("Zeile %1 hat %2, die Kopfzeile hat %3.")
                    .arg(record.row)
                    .arg(fieldCount(qsizetype(record.count)), fieldCount(qsizetype(expected))));
        for (size_t i = 0; i < record.count; ++i) {
            if (file.field(record, i).contains('\0'))
                return refusal(QStringLiteral("Zeile %1, Spalte %2 enthält ein Nullzeichen.")
                                   .arg(record.row)
                                   .arg(i + 1));
        }
    }
    return QString();
}

// Decides the encoding by the rules above; a failure names the first byte that is no UTF-8.
QString chooseEncoding(const RawFile& file, bool byteOrderMark, bool& utf8) {
    bool multiByte = false;
    int invalidRow = 0;
    size_t invalidColumn = 0;
    for (const RawRecord& record : file.records) {
        for (size_t i = 0; i < record.count; ++i) {
            const Utf8Scan scan = scanUtf8(file.field(record, i));
            multiByte = multiByte || scan.multiByte;
            if (scan.firstInvalid >= 0 && invalidRow == 0) {
                invalidRow = record.row;
                invalidColumn = i + 1;
            }
        }
    }
    utf8 = invalidRow == 0;
    if (utf8)
        return QString();
    if (byteOrderMark)
        return refusal(QStringLiteral("Sie ist als UTF-8 gekennzeichnet, aber Zeile %1, Spalte "
                                      "%2 enthält ein Byte, das kein UTF-8 ist.")
                           .arg(invalidRow)
                           .arg(invalidColumn));
    if (multiByte)
        return refusal(QStringLiteral("Sie mischt zwei Zeichenkodierungen: Sie enthält "
                                      "UTF-8-Zeichen, aber Zeile %1, Spalte %2 enthält ein Byte, "
                                      "das kein UTF-8 ist. Speichern Sie die Datei bitte als "
                                      "CSV in UTF-8.")
                           .arg(invalidRow)
                           .arg(invalidColumn));
    return QString();
}

bool needsQuotes(const QString& field) {
    if (field.isEmpty())
        return false;
    if (field.front().isSpace() || field.back().isSpace())
        return true;
    for (const QChar c : field) {
        if (c == QLatin1Char(';') || c == QLatin1Char('"') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r') || c == QLatin1Char(','))
            return true;
    }
    return false;
}

} // namespace

QString fromWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        const char16_t high = code >= 0x80 && code < 0xA0 ? kWindows1252High[code - 0x80] : 0;
        text.append(QChar(high ? high : char16_t(code)));
    }
    return text;
}

Table read(const QByteArray& input) {
    Table table;
    const bool byteOrderMark = input.startsWith(kByteOrderMark);
    const QByteArrayView data =
        byteOrderMark ? QByteArrayView(input).sliced(kByteOrderMark.size()) : QByteArrayView(input);
    table.encoding = QStringLiteral("UTF-8");
    table.separator = detectSeparator(data);
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        table.failure = refusal(QStringLiteral("Sie ist in UTF-16 gespeichert. Speichern Sie "
                                               "sie bitte als CSV in UTF-8."));
        return table;
    }
    if (!looksLikeText(data)) {
        table.failure = QStringLiteral("Die Datei ist keine Textdatei (CSV).");
        return table;
    }
    RawFile raw;
    table.failure = parse(data, table.separator.toLatin1(), raw);
    if (table.failure.isEmpty())
        table.failure = checkShape(raw);
    bool utf8 = true;
    if (table.failure.isEmpty())
        table.failure = chooseEncoding(raw, byteOrderMark, utf8);
    if (!table.failure.isEmpty())
        return table;
    if (!utf8)
        table.encoding = QStringLiteral("Windows-1252");
    table.records.reserve(raw.records.size());
    for (const RawRecord& record : raw.records) {
        Record decoded{record.row, {}};
        decoded.fields.reserve(qsizetype(record.count));
        for (size_t i = 0; i < record.count; ++i) {
            const QByteArrayView field = raw.field(record, i);
            decoded.fields.append(utf8 ? QString::fromUtf8(field)
                                       : fromWindows1252(field.toByteArray()));
        }
        table.records.push_back(std::move(decoded));
    }
    return table;
}

QByteArray write(const std::vector<QStringList>& records) {
    QByteArray out = kByteOrderMark;
    for (const QStringList& record : records) {
        for (qsizetype i = 0; i < record.size(); ++i) {
            if (i > 0)
                out.append(';');
            const QByteArray field = record.at(i).toUtf8();
            if (!needsQuotes(record.at(i))) {
                out.append(field);
                continue;
            }
            QByteArray quoted(field.size() * 2 + 2, '\0');
            const size_t written =
                csv_write2(quoted.data(), static_cast<size_t>(quoted.size()), field.constData(),
                           static_cast<size_t>(field.size()), '"');
            quoted.truncate(static_cast<qsizetype>(written));
            out.append(quoted);
        }
        out.append("\r\n");
    }
    return out;
}

namespace {

bool isFormulaStart(QChar c) {
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           c == QLatin1Char('@') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

// Whether a spreadsheet could read the text as a formula once it dropped leading apostrophes.
bool needsGuard(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char('\''))
        ++i;
    return i < text.size() && isFormulaStart(text.at(i));
}

} // namespace

QString guardFormula(const QString& text) {
    return needsGuard(text) ? QLatin1Char('\'') + text : text;
}

QString unguardFormula(const QString& text) {
    return text.startsWith(QLatin1Char('\'')) && needsGuard(text) ? text.mid(1) : text;
}

} // namespace Csv
