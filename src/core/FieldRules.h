#pragma once

#include <QDate>
#include <QString>

#include <optional>

// How the forms read numbers and dates typed by the user. Pure functions, so every form reads
// alike and the rules can be checked without a window.
namespace FieldRules {

// An amount: "," or "." as decimal separator; the text is read as far as it forms a number
// (so "1.200,50" reads 1.2, as the program has always read it). Empty text is no value
// (std::nullopt with ok true). Text that reads as 0 without beginning with "0" is refused
// (ok false).
std::optional<double> parseDecimal(const QString& text, bool* ok);
// Whole values without decimals, others with two ("12", "12,50"); no value gives "".
QString formatDecimal(std::optional<double> value);

// What a date field holds; it decides the century of a two-digit year.
enum class DateKind {
    // A gig or a booking: the year lies within 20 years ahead of today's year or 79 years back
    // (today 2026: "30" is 2030, "46" is 2046, "47" is 1947).
    Event,
    // A birthday never lies in the future: a two-digit year that would put the date after today
    // belongs to the century before.
    Birth
};

// A date: "dd.MM.yy" or "dd.MM.yyyy" (also with one-digit day or month), or six or eight digits
// typed without dots (day, month, two- or four-digit year). Four-digit years are taken as typed,
// two-digit years by the kind of date, counted from `today` (an invalid date means the current
// day). Empty text is no date (std::nullopt, ok true); anything unreadable gives ok false.
std::optional<QDate> parseDate(const QString& text, bool* ok, DateKind kind = DateKind::Event,
                               const QDate& today = QDate());
// "dd.MM.yyyy"; no date gives "".
QString formatDate(const std::optional<QDate>& date);

// The refusals the forms show.
constexpr const char* kNotANumber = "Geben Sie bitte eine Zahl ein.";
constexpr const char* kNotADate = "Geben Sie bitte ein Datum und/oder eine Zeit ein.";
constexpr const char* kTooLong = "Geben Sie bitte nicht mehr als %1 Zeichen ein.";

} // namespace FieldRules
