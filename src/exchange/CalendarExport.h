#pragma once

#include "core/GigUpdateSelection.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class CDatabase;
class CProfileFile;
struct SettingKey;

// The band's events as an iCalendar file (RFC 5545), built with libical. Only real events
// (EventID > 0) go into a calendar, never a fee. Each event keeps its UID across exports; its
// SEQUENCE and LAST-MODIFIED grow when what the calendar shows of it changes.
namespace Calendar {

struct Request {
    // Whole days on EBeginn, both included; a null date leaves that end open.
    QDate from;
    QDate to;
    // Empty key: every event. Otherwise the events this crew member is booked for, as their
    // Gig-Update lists them.
    GigUpdate::CrewEntry person;
    bool forPerson = false;
};

// STATUS of an event status: TENTATIVE for angefragt and reserviert (also a missing status,
// given as -1), CONFIRMED for gebucht and 4, CANCELLED for abgesagt.
const char* statusValue(int status);

// The calendar of the request. The change counters of the exported events are brought up to
// date in one transaction (not on a read-only file). `now` is the export time. Throws
// CDaoException.
QByteArray exportCalendar(CDatabase& db, const Request& request, const QDateTime& now);

// Writes `data` to `path` atomically: the previous file stays whole when anything fails.
// Returns an empty text or the German reason.
QString writeAtomically(const QString& path, const QByteArray& data);

// The folder into which the program publishes its calendars at every exit; empty: none.
extern const SettingKey PublishFolder;

// A name made safe as a part of a file name.
QString safeFileName(const QString& name);

struct PublishReport {
    QStringList written;  // file names
    QStringList failures; // German reasons, one per file not written
};

using Writer = std::function<QString(const QString& path, const QByteArray& data)>;

// Writes the band's calendar (Termine.ics) and one per musician of the line-ups
// (Termine-<Name>.ics) into `folder`: events from a year before `now` on. Throws
// CDaoException when the database cannot be read.
PublishReport publish(CDatabase& db, const QString& folder, const QDateTime& now,
                      const Writer& writer = writeAtomically);

// The exit's publishing: into the folder named in the profile, if any. Never throws and never
// asks; what failed is only left out.
PublishReport publishAtExit(CDatabase& db, const CProfileFile& profile) noexcept;

} // namespace Calendar
