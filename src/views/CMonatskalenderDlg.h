#pragma once

#include "core/MonthCalendar.h"

#include <QDate>
#include <QDialog>
#include <QWidget>

#include <cstdint>
#include <functional>

class CDatabase;
class CProfileFile;
class QLabel;

// The days of one month as a grid of six weeks, each cell with the events that begin on it:
// time, kind and venue on the colour of the event's status, the planning state as a small
// corner mark, a double booking framed in red, a cancelled event struck through. Texts too long
// for their cell are shortened.
class CMonthGrid : public QWidget {
    Q_OBJECT
public:
    explicit CMonthGrid(QWidget* parent = nullptr);

    void setMonth(MonthCalendar::Month month, const QDate& today);
    const MonthCalendar::Month& month() const { return m_month; }

    // The cell of a day (0 to 41) and the line of one of its events, in widget coordinates.
    QRect dayRect(int day) const;
    QRect entryRect(int day, int entry) const;

    QSize minimumSizeHint() const override { return QSize(700, 400); }

Q_SIGNALS:
    void eventActivated(std::int32_t eventId);
    void dayActivated(const QDate& date);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    int headerHeight() const;
    int lineHeight() const;
    // The event under a point: day and entry index; false when there is none.
    bool entryAt(const QPoint& point, int& day, int& entry) const;

    MonthCalendar::Month m_month;
    QDate m_today;
};

// "Kalender": the gigs of a month. Previous and next month and "Heute" move it; a double click on
// an event opens the event form, on an empty spot of a day a new event of that day. It reads the
// month again whenever events change.
class CMonatskalenderDlg : public QDialog {
    Q_OBJECT
public:
    CMonatskalenderDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr,
                       const QDate& today = QDate::currentDate());

    void showMonth(int year, int month);
    void previousMonth();
    void nextMonth();
    void thisMonth();
    CMonthGrid* grid() const { return m_grid; }
    QString caption() const;

    // Opens the event form; tests replace it. Arguments: EventID (-1 new), the new event's date.
    std::function<void(std::int32_t eventId, const QDate& date)> openEvent;

private:
    void reload();

    CDatabase& m_db;
    QDate m_today;
    int m_year = 0;
    int m_month = 0;
    CMonthGrid* m_grid = nullptr;
    QLabel* m_caption = nullptr;
};
