#pragma once

#include "PageMetrics.h"
#include "RecordedPage.h"
#include "core/UserProfile.h"

#include <QStringList>

#include <cstdint>

class CDatabase;

// The Gig-Rider: three pages for everybody involved in one event. Page 1 holds the date, the
// venue, the time plan and the organiser with its contact persons; page 2 the line-up, the
// technician and the backliner; page 3 the PA and light firms with ruled space for notes and
// press dates.
namespace GigRiderReport {

// The instrument short names of a musician, slot 1 to 6: "Git, , Bass" keeps the separator of
// an empty slot between filled ones; trailing empty slots leave nothing behind.
QString instruments(const QStringList& shortNames);
// A firm's name: first and last name of a private firm, otherwise the firm's name.
QString firmName(bool isPrivate, const QString& firstName, const QString& lastName,
                 const QString& firm);
// A contact person's name: "Vorname Name", or the last name alone.
QString contactName(const QString& firstName, const QString& lastName);
// "12345 Ort", either part may be missing.
QString postcodeTown(const QString& postcode, const QString& town);

// Renders the pages. A database error is shown (MessageService) and leaves out the rest of its
// page; an event that cannot be read has no first page.
Report::Document render(CDatabase& db, std::int32_t eventId, const UserProfile& user,
                        const PageMetrics& metrics);

} // namespace GigRiderReport
