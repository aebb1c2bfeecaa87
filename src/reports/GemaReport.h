#pragma once

#include "PageMetrics.h"
#include "RecordedPage.h"
#include "core/UserProfile.h"

#include <QString>

#include <cstdint>
#include <vector>

class CDatabase;

// The GEMA music report "Musikfolge für eine Einzelveranstaltung (Live-Musik)": a complete copy
// of the paper form with its frames, boxes and printed texts, filled with the event's data and
// the works of its set lists.
namespace Gema {

constexpr int kMemberNumberLength = 6;
constexpr int kFirstPageRows = 8;
constexpr int kContinuationRows = 32;
constexpr int kLastPageRows = 21;

// A district office of T_Stamm_Gema_Bezirk.
struct Office {
    QString name;
    QString street;
    QString postcode;
    QString town;
    QString area; // ZustBereich
};

// What the form prints besides the works, as the dialog shows it for checking.
struct FormValues {
    Office office;
    QString memberNumber;
    QString organiser;
    QString organiserStreet;
    QString organiserPostcode;
    QString organiserTown;
    QString location;
    QString venueStreet;
    QString venuePostcode;
    QString venueTown;
    QString eventKind;
    QString date; // "dd.MM.yy"
    QString from; // "HH:mm"
    QString to;
    QString band;
    QString leader;
    QString leaderStreet;
    QString leaderPostcode;
    QString leaderTown;
    int musicians = 0;
    QString lineUpKind;
    bool direct = false; // Netto-Einzelverrechnung (Direktverrechnung)
};

// One row of the work grid.
struct Work {
    QString number; // GemaWerkNr
    QString pf;     // potpourri or fragment
    QString title;
    QString composer;
    QString arranger;
    QString publisher;

    bool operator==(const Work& other) const;
};

// The district offices by name. Throws CDaoException.
std::vector<Office> offices(CDatabase& db);
// The values of an event as the dialog first shows them; an unknown event leaves the event's
// values empty. Throws CDaoException.
FormValues initialValues(CDatabase& db, std::int32_t eventId, const UserProfile& user);
// The event's works in title order, each once: records that agree in every printed column are
// one work (the same song in two sets), works that only share a title are two. Throws
// CDaoException.
std::vector<Work> works(CDatabase& db, std::int32_t eventId);
// Each work once, keeping the order of its first record.
std::vector<Work> distinct(const std::vector<Work>& records);

// How many works each page holds: page 1 up to 8, then continuation pages of 32 while more than
// 21 are left, then the last page with up to 21 (often none). Always at least two pages.
std::vector<int> planPages(int workCount);

} // namespace Gema

namespace GemaReport {

// Renders the form for the values and the works. Always two pages or more.
Report::Document render(const Gema::FormValues& values, const std::vector<Gema::Work>& works,
                        const PageMetrics& metrics);
// Reads the works of the event and renders the form. A database error while reading the works
// is shown (MessageService) and no page is rendered: a form without its works would look
// complete.
Report::Document render(CDatabase& db, std::int32_t eventId, const Gema::FormValues& values,
                        const PageMetrics& metrics);

} // namespace GemaReport
