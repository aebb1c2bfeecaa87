#pragma once

#include "PageMetrics.h"
#include "RecordedPage.h"
#include "core/UserProfile.h"

#include <QDate>
#include <QString>

// The pieces the main-window reports share: the page list of a run with its page frame, the
// band headers, the footer and the page-break rule.
namespace PageFrame {

// "Info: Vorname Name · Tel. 0123 · Mobil 0170"; the parts that are not set are left out.
QString infoLine(const UserProfile& user);
// "EMail: a@b.de · Web: www.b.de", "Web: www.b.de" or empty.
QString contactLine(const UserProfile& user);

// The band's name centred at the top of the page with the two contact lines below it and a
// rule under them (the Gig-Rider and the accounting statement).
void centredBandHeader(Report::PageRecorder& page, const PageMetrics& metrics,
                       const UserProfile& user);
// "Gig-Update", the date of the print and, on the right, the band and its contact lines.
void gigUpdateHeader(Report::PageRecorder& page, const PageMetrics& metrics,
                     const UserProfile& user, const QDate& today);
// Where the texts on the left of a page head end: the band's name and the contact lines on the
// right keep clear of them.
struct HeadLeftEdges {
    int besideBand = 100;    // right end of what stands left of the band's name
    int besideInfo = 100;    // ... of the "Info: " line
    int besideContact = 100; // ... of the "EMail: " line
};
// The band's name and its two contact lines right-aligned at the top of the page, each in a box
// from the texts left of it to 100 before the right edge. Leaves font 3 selected.
void bandAtRight(Report::PageRecorder& page, const PageMetrics& metrics, const UserProfile& user,
                 const HeadLeftEdges& left);
// The last thing on every page: a rule above the bottom edge and under it, letter-spaced, the
// band's web address when the user data has one.
void footer(Report::PageRecorder& page, const PageMetrics& metrics, const UserProfile& user);
// "Seite x von y" right-aligned at the foot of every page, ending at x `right`, when the
// document has more than one page. The footer's web address stays clear of it.
void numberPages(Report::Document& document, const PageMetrics& metrics, int right);
// The gap kept between two texts on one line.
constexpr int kTextGap = 30;

// A row whose top lies below this must go on a new page.
inline int bottomLimit(const PageMetrics& metrics) {
    return metrics.height - metrics.bottomMargin - 150;
}
// Where the rows continue on a page after a page break.
inline int continuationTop(const PageMetrics& metrics) {
    return metrics.offsetY + 300;
}

// The "dd.MM.yy" short date the pages print.
QString shortDate(const QDate& date);

// The page list of one report run. Pages are not limited in number.
class Run {
public:
    Run(const PageMetrics& metrics, const UserProfile& user, const QString& title);

    // A new page with a transparent background and the corner marks that pin its extent to the
    // whole sheet.
    Report::PageRecorder& beginPage();
    // Draws the footer and adds the page to the list.
    void endPage();
    Report::PageRecorder& page() { return m_recorder; }
    bool pageOpen() const { return m_open; }

    const PageMetrics& metrics() const { return m_metrics; }
    const UserProfile& user() const { return m_user; }
    Report::Document take();

private:
    PageMetrics m_metrics;
    UserProfile m_user;
    Report::PageRecorder m_recorder;
    Report::Document m_document;
    bool m_open = false;
};

} // namespace PageFrame
