#include "PageFrame.h"

using Report::Align;
using Report::PageRecorder;

namespace PageFrame {

namespace {

const QChar kMiddleDot(0x00B7);

// The text rectangle of the headers: from x `left` to 100 before the right edge.
QRect band(const PageMetrics& metrics, int top, int bottom, int left = 100) {
    return QRect(QPoint(left, top), QPoint(metrics.width - 100, bottom)).adjusted(0, 0, -1, -1);
}

// The two contact lines, right-aligned or centred, from the rectangle of the band's name.
void contactLines(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user,
                  int bandTop, Align align, int left = 100) {
    const int y0 = bandTop - 20;
    page.selectFont(ReportFonts::font(3));
    page.textInRect(band(metrics, y0 + 85, y0 + 235, left), align, infoLine(user));
    const QString contact = contactLine(user);
    if (!contact.isEmpty())
        page.textInRect(band(metrics, y0 + 125, y0 + 275, left), align, contact);
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
    page.textInRect(band(metrics, y0 + 20, y0 + 170), Align::Center, user.band);
    contactLines(page, metrics, user, y0 + 20, Align::Center);
    page.restoreFont(previous);
    page.line(100, y0 + 185, metrics.width - 100, y0 + 185);
}

void gigUpdateHeader(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user,
                     const QDate& today) {
    const int y0 = metrics.offsetY;
    const auto previous = page.selectFont(ReportFonts::font(12));
    page.text(100, y0 + 10, QStringLiteral("Gig-Update"));
    page.selectFont(ReportFonts::font(5));
    page.textInRect(band(metrics, y0 + 120, y0 + 270), Align::Left,
                    QStringLiteral("Stand: %1").arg(shortDate(today)));
    bandAtRight(page, metrics, user, 100);
    page.restoreFont(previous);
    page.line(100, y0 + 185, metrics.width - 100, y0 + 185);
}

void bandAtRight(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user,
                 int left) {
    const int y0 = metrics.offsetY;
    page.selectFont(ReportFonts::font(10));
    page.textInRect(band(metrics, y0 + 20, y0 + 170, left), Align::Right, user.band);
    contactLines(page, metrics, user, y0 + 20, Align::Right, left);
}

void footer(PageRecorder& page, const PageMetrics& metrics, const UserProfile& user) {
    const int top = metrics.height - metrics.bottomMargin - 40;
    const auto previous = page.currentFont();
    if (!user.homepage.isEmpty()) {
        page.selectFont(ReportFonts::font(2));
        page.textInRect(band(metrics, top, top + 30), Align::Center, user.homepage, 6);
    }
    page.restoreFont(previous);
    page.line(100, top - 10, metrics.width - 100, top - 10);
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
    return std::move(m_document);
}

} // namespace PageFrame
