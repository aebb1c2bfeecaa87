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

// A date: "dd.MM.yy" or "dd.MM.yyyy" (also with one-digit day or month), or six or eight digits
// typed without dots (day, month, two- or four-digit year). Two-digit years 00 to 29 are read
// as 2000 to 2029, 30 to 99 as 1930 to 1999. Empty text is no date (std::nullopt, ok true);
// anything unreadable gives ok false.
std::optional<QDate> parseDate(const QString& text, bool* ok);
// "dd.MM.yyyy"; no date gives "".
QString formatDate(const std::optional<QDate>& date);

// The refusals the forms show.
constexpr const char* kNotANumber = "Geben Sie bitte eine Zahl ein.";
constexpr const char* kNotADate = "Geben Sie bitte ein Datum und/oder eine Zeit ein.";
constexpr const char* kTooLong = "Geben Sie bitte nicht mehr als %1 Zeichen ein.";

} // namespace FieldRules
