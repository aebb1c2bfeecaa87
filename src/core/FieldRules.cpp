#include "FieldRules.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace FieldRules {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads the longest leading number of the text (sign, digits, one point, digits) and gives its
// value; no number at all gives 0. The amount fields have always been read this way, so that
// "1.200.50" stops at the second point.
double leadingNumber(const QString& text) {
    int pos = 0;
    QString sign;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        sign = text.at(pos++);
    const int wholeStart = pos;
    while (pos < text.size() && isDigit(text.at(pos)))
        ++pos;
    const QString whole = text.mid(wholeStart, pos - wholeStart);
    QString fraction;
    if (pos < text.size() && text.at(pos) == QLatin1Char('.')) {
        const int fractionStart = ++pos;
        while (pos < text.size() && isDigit(text.at(pos)))
            ++pos;
        fraction = text.mid(fractionStart, pos - fractionStart);
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return 0.0;
    const QString number = sign + (whole.isEmpty() ? QStringLiteral("0") : whole) +
                           QLatin1Char('.') + (fraction.isEmpty() ? QStringLiteral("0") : fraction);
    return QLocale::c().toDouble(number);
}

// How far ahead of today's year a two-digit event year may lie before it counts as the past.
constexpr int kEventYearsAhead = 20;

// The year of a typed date. Four digits are the year itself; two digits are placed in the
// century that the kind of date asks for.
int fullYear(const QString& digits, int month, int day, DateKind kind, const QDate& today) {
    const int typed = digits.toInt();
    if (digits.size() != 2)
        return typed;
    const int thisYear = today.year();
    int year = thisYear - thisYear % 100 + typed;
    if (kind == DateKind::Birth) {
        // Compared as numbers, so that a 29 February of a year that is no leap year still moves.
        const auto key = [](int y, int m, int d) { return (y * 100 + m) * 100 + d; };
        if (key(year, month, day) > key(thisYear, today.month(), today.day()))
            year -= 100;
        return year;
    }
    if (year > thisYear + kEventYearsAhead)
        year -= 100;
    else if (year <= thisYear + kEventYearsAhead - 100)
        year += 100;
    return year;
}

} // namespace

std::optional<double> parseDecimal(const QString& text, bool* ok) {
    bool ignored = false;
    if (!ok)
        ok = &ignored;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        *ok = true;
        return std::nullopt;
    }
    QString pointed = trimmed;
    pointed.replace(QLatin1Char(','), QLatin1Char('.'));
    const double value = leadingNumber(pointed);
    // A zero counts only when it was typed as one: letters read as 0 too.
    if (value == 0.0 && trimmed.at(0) != QLatin1Char('0')) {
        *ok = false;
        return std::nullopt;
    }
    *ok = true;
    return value;
}

QString formatDecimal(std::optional<double> value) {
    if (!value)
        return QString();
    const double v = *value;
    if (v == std::floor(v) && std::fabs(v) <= 1e15)
        return QString::number(static_cast<qlonglong>(v));
    return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<QDate> parseDate(const QString& text, bool* ok, DateKind kind, const QDate& today) {
    bool ignored = false;
    if (!ok)
        ok = &ignored;
    const QString trimmed = text.trimmed();
    *ok = true;
    if (trimmed.isEmpty())
        return std::nullopt;

    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9]{6}$|^[0-9]{8}$"));
    static const QRegularExpression dotted(
        QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{2}|[0-9]{4})$"));
    QString day;
    QString month;
    QString year;
    if (digitsOnly.match(trimmed).hasMatch()) {
        // Typed without dots: day and month take two digits each, the rest is the year.
        day = trimmed.mid(0, 2);
        month = trimmed.mid(2, 2);
        year = trimmed.mid(4);
    } else if (const QRegularExpressionMatch match = dotted.match(trimmed); match.hasMatch()) {
        day = match.captured(1);
        month = match.captured(2);
        year = match.captured(3);
    } else {
        *ok = false;
        return std::nullopt;
    }
    const QDate reference = today.isValid() ? today : QDate::currentDate();
    const QDate date(fullYear(year, month.toInt(), day.toInt(), kind, reference), month.toInt(),
                     day.toInt());
    if (!date.isValid()) {
        *ok = false;
        return std::nullopt;
    }
    return date;
}

QString formatDate(const std::optional<QDate>& date) {
    if (!date || !date->isValid())
        return QString();
    return date->toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace FieldRules
