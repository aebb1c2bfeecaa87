#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class CDatabase;

// One entry of a main list: its key (ExtID, MusikerID or EventID), its texts and, for event
// lists, the index of its status icon.
struct ListRow {
    static constexpr int kMaxColumns = 9;
    std::int32_t key = 0;
    int icon = -1;
    std::array<QString, kMaxColumns> texts;
    // A warning about the entry (a double booking), shown as the tooltip of its first column.
    QString notice;
};

// The rows of a list kind, read from the database; throws CDaoException.
std::vector<ListRow> loadListRows(CDatabase& db, int listKind);

// The pieces of the lists, for the forms that show the same texts.
namespace ListTexts {
// Two parts of a name joined by the separator; an empty part is left out with its separator.
QString joined(const QString& first, const QString& second, const QString& separator);
// "dd.MM.yyyy HH:mm" (four-digit year) or "dd.MM.yy HH:mm"; empty for no date.
QString dateTime(const QDateTime& moment, bool fourDigitYear);
// "Name, Vorname" for a private person (no comma without both), else the firm name.
QString firmName(bool isPrivate, const QString& firm, const QString& name,
                 const QString& firstName);
// "PLZ Ort", without a stray blank when one of them is missing.
QString postcodeAndTown(const QString& postcode, const QString& town);
// The organiser as the event lists show it: "Name, Vorname" for a private person, else the firm
// name followed by the event's own town.
QString organiser(bool isPrivate, const QString& firm, const QString& name,
                  const QString& firstName, const QString& eventTown);
} // namespace ListTexts
