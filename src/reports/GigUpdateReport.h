#pragma once

#include "PageMetrics.h"
#include "RecordedPage.h"
#include "core/GigUpdateSelection.h"
#include "core/UserProfile.h"

#include <QDate>

class CDatabase;

// The Gig-Update: the band's dates of a period, one line each with date, kind of event, venue
// and status. Without chosen crew members it lists all events; otherwise it is printed once
// for each chosen musician, technician or backliner with only that person's events, and a
// person without events in the period gets no page.
namespace GigUpdateReport {

// The filter of one section: the variant's own condition, then the selection's.
QString allEventsFilter(const GigUpdate::Selection& selection);
QString musicianFilter(std::int32_t musicianId, const GigUpdate::Selection& selection);
QString firmFilter(std::int32_t firmId, int firmKind, const GigUpdate::Selection& selection);

// Renders every page. A database error is shown (MessageService) and leaves out what it
// stopped; the pages rendered so far are kept.
Report::Document render(CDatabase& db, const GigUpdate::Selection& selection,
                        const UserProfile& user, const PageMetrics& metrics, const QDate& today);

} // namespace GigUpdateReport
