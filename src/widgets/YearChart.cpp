#include "YearChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace YearChart {

namespace {

QBarSet* barSet(const QString& name, const QColor& colour) {
    auto* set = new QBarSet(name);
    set->setColor(colour);
    set->setBorderColor(colour.darker(130));
    return set;
}

// A round upper bound for the value axis: 1, 2 or 5 times a power of ten.
double roundUp(double value) {
    if (value <= 0)
        return 0;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value)
            return step * power;
    }
    return 10 * power;
}

} // namespace

QChart* create(const YearOverview::Year& year, const YearOverview::Year& previous) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(QStringLiteral("Gagen und Kosten %1 und %2").arg(year.year).arg(previous.year));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    QBarSet* fees = barSet(QStringLiteral("Gagen %1").arg(year.year), QColor(30, 140, 60));
    QBarSet* costs = barSet(QStringLiteral("Kosten %1").arg(year.year), QColor(200, 60, 50));
    QBarSet* feesBefore =
        barSet(QStringLiteral("Gagen %1").arg(previous.year), QColor(150, 205, 160));
    QBarSet* costsBefore =
        barSet(QStringLiteral("Kosten %1").arg(previous.year), QColor(235, 165, 155));
    auto* balance = new QLineSeries;
    balance->setName(QStringLiteral("Saldo %1 (laufend)").arg(year.year));
    balance->setPen(QPen(QColor(30, 58, 106), 2.5));

    const std::array<double, 12> running = year.runningBalance();
    double low = 0;
    double high = 0;
    double highBalance = 0;
    QStringList months;
    for (int i = 0; i < 12; ++i) {
        const YearOverview::Figures& now = year.months[size_t(i)];
        const YearOverview::Figures& before = previous.months[size_t(i)];
        *fees << now.fees;
        *costs << now.costs;
        *feesBefore << before.fees;
        *costsBefore << before.costs;
        balance->append(i, running[size_t(i)]);
        months << YearOverview::monthName(i + 1);
        high = std::max({high, now.fees, now.costs, before.fees, before.costs});
        highBalance = std::max(highBalance, running[size_t(i)]);
        low = std::min(low, running[size_t(i)]);
    }
    auto* bars = new QBarSeries;
    bars->append({fees, costs, feesBefore, costsBefore});
    chart->addSeries(bars);
    chart->addSeries(balance);

    auto* axisX = new QBarCategoryAxis;
    axisX->append(months);
    chart->addAxis(axisX, Qt::AlignBottom);
    bars->attachAxis(axisX);
    balance->attachAxis(axisX);
    // The bars on the left axis, the running balance, which grows over the year, on the right:
    // both start at zero, so the months stay readable.
    auto* axisBars = new QValueAxis;
    axisBars->setRange(0, std::max(roundUp(high), 5.0));
    axisBars->setTitleText(QStringLiteral("je Monat"));
    auto* axisBalance = new QValueAxis;
    axisBalance->setRange(-roundUp(-low), std::max(roundUp(highBalance), 5.0));
    axisBalance->setTitleText(QStringLiteral("Saldo laufend"));
    axisBalance->setLinePenColor(QColor(30, 58, 106));
    axisBalance->setLabelsColor(QColor(30, 58, 106));
    for (QValueAxis* axis : {axisBars, axisBalance}) {
        axis->setLabelFormat(QStringLiteral("%.0f"));
        axis->setTickCount(6);
    }
    chart->addAxis(axisBars, Qt::AlignLeft);
    chart->addAxis(axisBalance, Qt::AlignRight);
    bars->attachAxis(axisBars);
    balance->attachAxis(axisBalance);
    return chart;
}

std::shared_ptr<QImage> picture(const YearOverview::Year& year, const YearOverview::Year& previous,
                                QSize size) {
    QGraphicsScene scene;
    QChart* chart = create(year, previous);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    // Twice the size, so the printed chart stays sharp.
    auto image = std::make_shared<QImage>(size * 2, QImage::Format_RGB32);
    image->fill(Qt::white);
    {
        QPainter painter(image.get());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        scene.render(&painter, QRectF(QPointF(0, 0), size * 2), scene.sceneRect());
    }
    return image;
}

} // namespace YearChart
