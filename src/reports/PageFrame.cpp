#include "PageFrame.h"

#include <cmath>

using Report::Align;
using Report::PageRecorder;

namespace PageFrame {

namespace {

const QChar kMiddleDot(0x00B7);

// The text rectangle of the headers: from x `left` to 100 before the right edge.
QRect band(const PageMetrics& metrics, int top, int bottom, int left = 100) {
    return QRect(QPoint(left, top), QPoint(metrics.width - 100, bottom)).adjusted(0, 0, -1, -1);
}

// Room kept at both ends of the footer for the page number.
int pageNumberRoom() {
    ReportFont font = ReportFonts::font(2);
    return int(std::ceil(font.textWidth(QStringLiteral("Seite 88 von 88")))) + kTextGap;
}

// The two contact lines under the band's name, each in the room its line has: the info line
// down to the contact line, the contact line down to the rule under the head.
void contactLines(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user,
                  int bandTop, Align align, int infoLeft = 100, int contactLeft = 100) {
    const int y0 = bandTop - 20;
    page.selectFont(ReportFonts::font(3));
    page.fittedText(band(metrics, y0 + 85, y0 + 125, infoLeft), align, infoLine(user));
    const QString contact = contactLine(user);
    if (!contact.isEmpty())
        page.fittedText(band(metrics, y0 + 125, y0 + 183, contactLeft), align, contact);
}

} // namespace

QString infoLine(const UserProfile& user) {
    QString line = QStringLiteral("Info: ") + user.firstName;
    if (!user.name.isEmpty())
        line += QLatin1Char(' ') + user.name;
    if (!user.phone.isEmpty())
        line += QStringLiteral(" %1 Tel. ").arg(kMiddleDot) + user.phone;
    if (!user.mobile.isEmpty())
        line += QStringLiteral(" %1 Mobil ").arg(kMiddleDot) + user.mobile;
    return line;
}

QString contactLine(const UserProfile& user) {
    QString line;
    if (!user.email.isEmpty())
        line = QStringLiteral("EMail: ") + user.email;
    if (!user.homepage.isEmpty())
        line += (line.isEmpty() ? QStringLiteral("Web: ")
                                : QStringLiteral(" %1 Web: ").arg(kMiddleDot)) +
                user.homepage;
    return line;
}

QString shortDate(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yy")) : QString();
}

void centredBandHeader(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user) {
    const int y0 = metrics.offsetY;
    const auto previous = page.selectFont(ReportFonts::font(10));
    page.fittedText(band(metrics, y0 + 20, y0 + 85), Align::Center, user.band);
    contactLines(page, metrics, user, y0 + 20, Align::Center);
    page.restoreFont(previous);
    page.line(100, y0 + 185, metrics.width - 100, y0 + 185);
}

void gigUpdateHeader(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user,
                     const QDate& today) {
    const int y0 = metrics.offsetY;
    const auto previous = page.selectFont(ReportFonts::font(12));
    const QString title = QStringLiteral("Gig-Update");
    page.text(100, y0 + 10, title);
    HeadLeftEdges left;
    left.besideBand = left.besideInfo =
        100 + int(std::ceil(ReportFonts::font(12).textWidth(title))) + kTextGap;
    page.selectFont(ReportFonts::font(5));
    const QString stand = QStringLiteral("Stand: %1").arg(shortDate(today));
    page.textInRect(band(metrics, y0 + 120, y0 + 270), Align::Left, stand);
    left.besideContact = 100 + int(std::ceil(ReportFonts::font(5).textWidth(stand))) + kTextGap;
    bandAtRight(page, metrics, user, left);
    page.restoreFont(previous);
    page.line(100, y0 + 185, metrics.width - 100, y0 + 185);
}

void bandAtRight(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user,
                 const HeadLeftEdges& left) {
    const int y0 = metrics.offsetY;
    page.selectFont(ReportFonts::font(10));
    page.fittedText(band(metrics, y0 + 20, y0 + 85, left.besideBand), Align::Right, user.band);
    contactLines(page, metrics, user, y0 + 20, Align::Right, left.besideInfo, left.besideContact);
}

void footer(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user) {
    const int top = metrics.height - metrics.bottomMargin - 40;
    const auto previous = page.currentFont();
    if (!user.homepage.isEmpty()) {
        // The address is letter-spaced when there is room for it, otherwise fitted.
        const ReportFont& font = ReportFonts::font(2);
        page.selectFont(font);
        const int room = pageNumberRoom();
        const QRect box = band(metrics, top, top + 30, 100 + room).adjusted(0, 0, -room, 0);
        const int spacing = 6;
        if (font.textWidth(user.homepage) + spacing * user.homepage.size() <= box.width())
            page.textInRect(box, Align::Center, user.homepage, spacing);
        else
            page.fittedText(box, Align::Center, user.homepage);
    }
    page.restoreFont(previous);
    page.line(100, top - 10, metrics.width - 100, top - 10);
}

void numberPages(Report::Document& document, const PageMetrics& metrics, int right) {
    const int count = document.pageCount();
    if (count < 2)
        return;
    const int top = metrics.height - metrics.bottomMargin - 40;
    for (int index = 0; index < count; ++index) {
        PageRecorder page(*document.pages[size_t(index)]);
        page.setTextColor(Qt::black);
        page.selectFont(ReportFonts::font(2));
        page.textInRect(
            QRect(QPoint(right - 400, top), QPoint(right, top + 30)).adjusted(0, 0, -1, -1),
            Align::Right, QStringLiteral("Seite %1 von %2").arg(index + 1).arg(count));
        document.pages[size_t(index)] = std::make_shared<const Report::RecordedPage>(page.finish());
    }
}

Run::Run(const PageMetrics& metrics, const UserProfile& user, const QString& title)
    : m_metrics(metrics), m_user(user), m_recorder(metrics.sheet()) {
    m_document.title = title;
}

PageRecorder& Run::beginPage() {
    m_recorder.finish();
    m_open = true;
    m_recorder.setBackgroundOpaque(false);
    m_recorder.cornerMark(0, 0, 1, 0);
    m_recorder.cornerMark(2099, 2970, 2100, 2970);
    return m_recorder;
}

void Run::endPage() {
    if (!m_open)
        return;
    footer(m_recorder, m_metrics, m_user);
    m_document.pages.push_back(std::make_shared<const Report::RecordedPage>(m_recorder.finish()));
    m_open = false;
}

Report::Document Run::take() {
    endPage();
    numberPages(m_document, m_metrics, m_metrics.width - 100);
    return std::move(m_document);
}

} // namespace PageFrame
