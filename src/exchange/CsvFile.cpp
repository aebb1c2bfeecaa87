#include "CsvFile.h"

#include <QStringDecoder>

#include <csv.h>

namespace Csv {

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; 0 where the code page defines none.
const char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

bool isUtf8(const QByteArray& data) {
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder.decode(data);
    return !decoder.hasError();
}

// The separator the header line uses more, counted outside quotes.
QChar detectSeparator(const QByteArray& data) {
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

struct ParseState {
    bool utf8 = true;
    std::vector<Record> records;
    QStringList fields;
    int row = 0;
    int lastEnd = 0;

    QString decode(const char* bytes, size_t size) const {
        const QByteArray raw(bytes, static_cast<qsizetype>(size));
        return utf8 ? QString::fromUtf8(raw) : fromWindows1252(raw);
    }
};

void onField(void* field, size_t size, void* data) {
    auto* state = static_cast<ParseState*>(data);
    state->fields.append(field ? state->decode(static_cast<const char*>(field), size) : QString());
}

void onRecordEnd(int terminator, void* data) {
    auto* state = static_cast<ParseState*>(data);
    // Every line break is reported, so that blank lines count as rows; the LF of a CRLF
    // closes no further row.
    const bool lineFeedOfCrLf =
        terminator == '\n' && state->lastEnd == '\r' && state->fields.isEmpty();
    state->lastEnd = terminator;
    if (lineFeedOfCrLf)
        return;
    ++state->row;
    bool hasText = false;
    for (const QString& field : std::as_const(state->fields))
        hasText = hasText || !field.trimmed().isEmpty();
    if (hasText)
        state->records.push_back({state->row, state->fields});
    state->fields.clear();
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
    QByteArray data = input;
    bool utf8 = true;
    if (data.startsWith(kByteOrderMark))
        data.remove(0, kByteOrderMark.size());
    else
        utf8 = isUtf8(data);
    table.encoding = utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
    table.separator = detectSeparator(data);

    csv_parser parser;
    if (csv_init(&parser, CSV_REPALL_NL) != 0) {
        table.failure = QStringLiteral("Die CSV-Datei kann nicht gelesen werden.");
        return table;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(table.separator.toLatin1()));
    csv_set_quote(&parser, '"');
    ParseState state;
    state.utf8 = utf8;
    const size_t size = static_cast<size_t>(data.size());
    if (csv_parse(&parser, data.constData(), size, onField, onRecordEnd, &state) != size ||
        csv_fini(&parser, onField, onRecordEnd, &state) != 0) {
        table.failure = QStringLiteral("Die CSV-Datei kann nicht gelesen werden: %1")
                            .arg(QString::fromLatin1(csv_strerror(csv_error(&parser))));
        csv_free(&parser);
        return table;
    }
    csv_free(&parser);
    table.records = std::move(state.records);
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

} // namespace Csv
