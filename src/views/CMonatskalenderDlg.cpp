#include "CMonatskalenderDlg.h"

#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "events/CEventDlg.h"
#include "widgets/Pictures.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 7;
constexpr int kRows = 6;

// The colours of the event list's status images, by event status: angefragt red, reserviert
// yellow, gebucht green, abgesagt white, fakturiert grey. Lightened, so text stays readable.
QColor statusFill(int status) {
    switch (status) {
    case 0:
        return QColor(244, 170, 170);
    case 1:
        return QColor(252, 236, 150);
    case 2:
        return QColor(160, 222, 170);
    case 3:
        return QColor(255, 255, 255);
    default:
        return QColor(205, 205, 205);
    }
}

QString planningText(int image) {
    switch (image) {
    case 2:
        return QStringLiteral("Planung abgeschlossen");
    case 1:
        return QStringLiteral("Planung begonnen");
    default:
        return QStringLiteral("Planung offen");
    }
}

} // namespace

CMonthGrid::CMonthGrid(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CMonthGrid::setMonth(MonthCalendar::Month month, const QDate& today) {
    m_month = std::move(month);
    m_today = today;
    update();
}

int CMonthGrid::headerHeight() const {
    return fontMetrics().height() + 6;
}

int CMonthGrid::lineHeight() const {
    return fontMetrics().height() + 3;
}

QRect CMonthGrid::dayRect(int day) const {
    const int top = headerHeight();
    const int column = day % kColumns;
    const int row = day / kColumns;
    const int x0 = column * width() / kColumns;
    const int x1 = (column + 1) * width() / kColumns;
    const int y0 = top + row * (height() - top) / kRows;
    const int y1 = top + (row + 1) * (height() - top) / kRows;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

QRect CMonthGrid::entryRect(int day, int entry) const {
    const QRect cell = dayRect(day);
    const int top = cell.top() + lineHeight() + 1 + entry * lineHeight();
    return QRect(cell.left() + 3, top, cell.width() - 6, lineHeight() - 1);
}

bool CMonthGrid::entryAt(const QPoint& point, int& day, int& entry) const {
    for (day = 0; day < MonthCalendar::kDays; ++day) {
        if (!dayRect(day).contains(point))
            continue;
        const auto& entries = m_month.days[size_t(day)].entries;
        for (entry = 0; entry < int(entries.size()); ++entry) {
            const QRect line = entryRect(day, entry);
            if (line.bottom() > dayRect(day).bottom())
                break;
            if (line.contains(point))
                return true;
        }
        return false;
    }
    return false;
}

void CMonthGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QLocale german(QLocale::German, QLocale::Germany);
    const int header = headerHeight();
    QFont bold = font();
    bold.setBold(true);
    for (int column = 0; column < kColumns; ++column) {
        const QRect cell(column * width() / kColumns, 0, width() / kColumns, header);
        p.fillRect(cell, QColor(30, 58, 106));
        p.setPen(Qt::white);
        p.setFont(bold);
        p.drawText(cell, Qt::AlignCenter, german.dayName(column + 1, QLocale::LongFormat));
    }
    const QFontMetrics metrics(font());
    for (int day = 0; day < MonthCalendar::kDays; ++day) {
        const MonthCalendar::Day& d = m_month.days[size_t(day)];
        const QRect cell = dayRect(day);
        const bool weekend = d.date.dayOfWeek() >= 6;
        QColor background = weekend ? QColor(232, 238, 248) : QColor(255, 255, 255);
        if (!d.inMonth)
            background = QColor(242, 242, 242);
        p.fillRect(cell, background);
        const bool today = d.date == m_today;
        bool doubleBooked = false;
        for (const auto& entry : d.entries)
            doubleBooked = doubleBooked || entry.doubleBooked;
        // The day number, today's on a dark badge.
        const QRect number(cell.left() + 2, cell.top() + 1, cell.width() - 4, lineHeight());
        p.setFont(today ? bold : font());
        if (today) {
            const int w = metrics.horizontalAdvance(QStringLiteral("00")) + 8;
            p.fillRect(QRect(number.right() - w, number.top(), w, number.height()),
                       QColor(232, 112, 36));
            p.setPen(Qt::white);
        } else {
            p.setPen(d.inMonth ? (weekend ? QColor(30, 58, 106) : Qt::black) : Qt::gray);
        }
        p.drawText(number.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(d.date.day()));
        if (doubleBooked) {
            p.setPen(QColor(200, 0, 0));
            p.setFont(bold);
            p.drawText(number.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("Doppelbuchung"));
        }
        p.setFont(font());
        int shown = 0;
        for (const auto& entry : d.entries) {
            const QRect line = entryRect(day, shown);
            const bool lastFits = entryRect(day, shown + 1).bottom() <= cell.bottom();
            if (line.bottom() > cell.bottom())
                break;
            if (!lastFits && shown + 1 < int(d.entries.size())) {
                p.setPen(Qt::darkGray);
                p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                           QStringLiteral("+%1 weitere").arg(int(d.entries.size()) - shown));
                shown = int(d.entries.size());
                break;
            }
            const bool cancelled = entry.status == MonthCalendar::kCancelled;
            p.fillRect(line, statusFill(entry.status));
            p.setPen(entry.doubleBooked ? QPen(QColor(200, 0, 0), 2) : QPen(QColor(150, 150, 150)));
            p.drawRect(line.adjusted(0, 0, -1, -1));
            // The planning state: a small triangle in the upper-left corner.
            const int mark = line.height() / 2 + 1;
            QPolygon triangle;
            triangle << line.topLeft() << line.topLeft() + QPoint(mark, 0)
                     << line.topLeft() + QPoint(0, mark);
            p.setPen(Qt::NoPen);
            p.setBrush(Pictures::statusColour(entry.planningImage));
            p.drawPolygon(triangle);
            p.setBrush(Qt::NoBrush);
            QFont entryFont = font();
            entryFont.setStrikeOut(cancelled);
            p.setFont(entryFont);
            p.setPen(cancelled ? QColor(110, 110, 110) : Qt::black);
            const QRect textRect = line.adjusted(mark + 2, 0, -3, 0);
            p.drawText(
                textRect, Qt::AlignLeft | Qt::AlignVCenter,
                QFontMetrics(entryFont).elidedText(entry.text(), Qt::ElideRight, textRect.width()));
            p.setFont(font());
            ++shown;
        }
        p.setPen(today          ? QPen(QColor(232, 112, 36), 2)
                 : doubleBooked ? QPen(QColor(200, 0, 0), 2)
                                : QPen(QColor(190, 190, 190)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cell.adjusted(0, 0, -1, -1));
    }
}

void CMonthGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    int day = 0;
    int entry = 0;
    if (entryAt(event->position().toPoint(), day, entry)) {
        Q_EMIT eventActivated(m_month.days[size_t(day)].entries[size_t(entry)].eventId);
        return;
    }
    for (day = 0; day < MonthCalendar::kDays; ++day) {
        if (dayRect(day).contains(event->position().toPoint())) {
            Q_EMIT dayActivated(m_month.days[size_t(day)].date);
            return;
        }
    }
}

bool CMonthGrid::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    int day = 0;
    int entry = 0;
    if (!entryAt(help->pos(), day, entry)) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const MonthCalendar::Entry& e = m_month.days[size_t(day)].entries[size_t(entry)];
    QString text = e.text() + QLatin1Char('\n') + MonthCalendar::statusText(e.status) +
                   QStringLiteral(", ") + planningText(e.planningImage);
    if (e.doubleBooked)
        text += QStringLiteral("\nDoppelbuchung: überschneidet sich mit einem anderen Event.");
    QToolTip::showText(help->globalPos(), text, this);
    return true;
}

CMonatskalenderDlg::CMonatskalenderDlg(CDatabase& db, CProfileFile& profile, QWidget* parent,
                                       const QDate& today)
    : QDialog(parent), m_db(db), m_today(today) {
    setWindowTitle(QStringLiteral("Kalender"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* previous = new QPushButton(QStringLiteral("< &Vorheriger Monat"), this);
    auto* next = new QPushButton(QStringLiteral("&Nächster Monat >"), this);
    auto* current = new QPushButton(QStringLiteral("&Heute"), this);
    m_caption = new QLabel(this);
    QFont big = m_caption->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_caption->setFont(big);
    bar->addWidget(previous);
    bar->addWidget(current);
    bar->addWidget(next);
    bar->addStretch();
    bar->addWidget(m_caption);
    bar->addStretch();
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    bar->addWidget(close);
    layout->addLayout(bar);
    m_grid = new CMonthGrid(this);
    layout->addWidget(m_grid, 1);
    auto* legend = new QLabel(
        QStringLiteral("Farben: angefragt rot, reserviert gelb, gebucht grün, abgesagt weiß "
                       "(durchgestrichen), fakturiert grau · Ecke: Planungsstand · Doppelklick: "
                       "Event öffnen bzw. neuen Event an diesem Tag anlegen"),
        this);
    legend->setWordWrap(true);
    layout->addWidget(legend);

    // No button is the default: a stray Enter neither turns the month nor closes the calendar.
    for (QPushButton* button : {previous, next, current, close}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(previous, &QPushButton::clicked, this, &CMonatskalenderDlg::previousMonth);
    connect(next, &QPushButton::clicked, this, &CMonatskalenderDlg::nextMonth);
    connect(current, &QPushButton::clicked, this, &CMonatskalenderDlg::thisMonth);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    openEvent = [this, &db, &profile](std::int32_t eventId, const QDate& date) {
        CEventDlg::showModal(db, profile, eventId, this, date);
    };
    connect(m_grid, &CMonthGrid::eventActivated, this,
            [this](std::int32_t eventId) { openEvent(eventId, QDate()); });
    connect(m_grid, &CMonthGrid::dayActivated, this,
            [this](const QDate& date) { openEvent(-1, date); });
    connect(&ChangeNotifier::instance(), &ChangeNotifier::changed, this,
            [this](ChangeNotifier::Topic topic) {
                if (topic == ChangeNotifier::Topic::Events ||
                    topic == ChangeNotifier::Topic::Planning)
                    reload();
            });
    resize(1200, 660);
    showMonth(today.year(), today.month());
}

QString CMonatskalenderDlg::caption() const {
    return m_caption->text();
}

void CMonatskalenderDlg::showMonth(int year, int month) {
    m_year = year;
    m_month = month;
    reload();
}

void CMonatskalenderDlg::previousMonth() {
    MonthCalendar::step(m_year, m_month, -1);
    reload();
}

void CMonatskalenderDlg::nextMonth() {
    MonthCalendar::step(m_year, m_month, 1);
    reload();
}

void CMonatskalenderDlg::thisMonth() {
    showMonth(m_today.year(), m_today.month());
}

void CMonatskalenderDlg::reload() {
    const QLocale german(QLocale::German, QLocale::Germany);
    m_caption->setText(
        QStringLiteral("%1 %2").arg(german.standaloneMonthName(m_month)).arg(m_year));
    try {
        m_grid->setMonth(MonthCalendar::load(m_db, m_year, m_month), m_today);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
}
