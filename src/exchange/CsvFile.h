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
    QString failure;             // German reason when the file is refused as a whole
};

// Reads a whole file strictly: a quote left open or misplaced, a row with another number of
// fields than the header, a NUL byte or a doubtful encoding refuse the file with the row where
// the fault lies, and no records are returned.
//
// Encoding: with a UTF-8 byte order mark every byte must be UTF-8. Without one, a file that is
// valid UTF-8 throughout is UTF-8; one without any UTF-8 multi-byte character but with bytes
// above 127 is Windows-1252; one with both UTF-8 characters and bytes that are no UTF-8 is
// refused, since either reading would garble a part of it.
//
// The separator is the one of ';' and ',' that the first line uses more (';' when it uses
// neither).
Table read(const QByteArray& data);

// The records with ";" between fields and CRLF after each, UTF-8 with a byte order mark.
// Fields holding ";" or ",", a quote, a line break or outer blanks are quoted.
QByteArray write(const std::vector<QStringList>& records);

// Windows-1252 bytes as text; the five undefined bytes read as their Latin-1 code points.
QString fromWindows1252(const QByteArray& bytes);

// A text that a spreadsheet would take for a formula (it starts with "=", "+", "-", "@", a tab
// or a carriage return, possibly behind apostrophes) gets one more leading apostrophe, which the
// spreadsheet shows as text. unguardFormula() removes exactly that apostrophe, so that
// unguardFormula(guardFormula(text)) == text for every text.
QString guardFormula(const QString& text);
QString unguardFormula(const QString& text);

} // namespace Csv
