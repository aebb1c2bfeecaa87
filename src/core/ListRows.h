#pragma once

#include "data/JetFilter.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CDatabase;

// One entry of a main list: its key (ExtID, MusikerID or EventID), its texts and, for event
// lists, the index of its status icon and its marks.
struct ListRow {
    static constexpr int kMaxColumns = 9;
    std::int32_t key = 0;
    int icon = -1;
    std::array<QString, kMaxColumns> texts;

    // The marks of an event: someone is booked twice, its GEMA report is due. The warning text
    // is made only when shown, so that a long list keeps no copy of it per row.
    bool doubleBooked = false;
    bool gemaDue = false;
    bool setListComplete = false;
    bool gemaPrinted = false;
    QDate eventDate;
    // The warning about the entry on `today`, shown as the tooltip of its first column; empty
    // without marks.
    QString notice(const QDate& today = QDate::currentDate()) const;
};

// The rows of a list kind, read from the database; throws CDaoException.
std::vector<ListRow> loadListRows(CDatabase& db, int listKind);
// The one query behind the event lists (see ListRows.cpp for its columns); ?1 is today.
const std::string& eventListQuery(Jet::Dialect dialect);

// The pieces of the lists, for the forms that show the same texts.
namespace ListTexts {
// Two parts of a name joined by the separator; an empty part is left out with its separator.
QString joined(const QString& first, const QString& second, const QString& separator);
// "dd.MM.yyyy HH:mm" (four-digit year) or "dd.MM.yy HH:mm"; empty for no date.
QString dateTime(const QDateTime& moment, bool fourDigitYear);
// The same of a date-time as the database stores it ("yyyy-MM-dd HH:mm:ss").
QString dateTime(std::string_view stored, bool fourDigitYear);
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
