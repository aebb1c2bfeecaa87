#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

// CSV as German spreadsheets write and read it, parsed and quoted by libcsv: ";" between
// fields, '"' around fields that need it, UTF-8 with a byte order mark on writing.
namespace Csv {

struct Record {
    int row = 0; // counted from 1 (the header), as a spreadsheet numbers its rows
    QStringList fields;
};

struct Table {
    QString encoding;            // "UTF-8" or "Windows-1252"
    QChar separator;             // ';' or ','
    std::vector<Record> records; // the header first; rows without any text are left out
    QString failure;             // German reason when the data could not be read
};

// Reads UTF-8 (with or without a byte order mark) or, when the bytes are no valid UTF-8,
// Windows-1252. The separator is the one of ';' and ',' that the first line uses more (';'
// when it uses neither).
Table read(const QByteArray& data);

// The records with ";" between fields and CRLF after each, UTF-8 with a byte order mark.
// Fields holding ";" or ",", a quote, a line break or outer blanks are quoted.
QByteArray write(const std::vector<QStringList>& records);

// Windows-1252 bytes as text; the five undefined bytes read as their Latin-1 code points.
QString fromWindows1252(const QByteArray& bytes);

} // namespace Csv
