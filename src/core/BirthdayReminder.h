#pragma once

#include "BirthdayWindow.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

class CDatabase;
class CProfileFile;

// Who has a birthday in the days around today: the band's musicians, the firms that are private
// persons, and the contact persons of firms. Soft-deleted records are left out.
namespace BirthdayReminder {

// The reminder's setting (Kavio.ini, OPTIONS/BirthReminder, "1, 14, 14"): on or off, and the
// days before and after today that the reminder covers.
struct Setting {
    bool on = true;
    int daysBefore = 14;
    int daysAfter = 14;

    // Negative numbers read as 0.
    static Setting read(const CProfileFile& profile);
    bool write(CProfileFile& profile) const;
};

// Who a row stands for: 0 a musician, 1 + firm kind a private firm, 7 + firm kind a contact.
enum TypeCode { Musician = 0, FirstFirm = 1, FirstContact = 7 };

struct Entry {
    int type = Musician;
    std::int32_t id = 0;    // MusikerID, ExtID or APID
    std::int32_t extId = 0; // the firm: its own ExtID, or the contact's firm
    int firmKind = -1;      // -1 for a musician
    QDate birthDate;
    QDate occurrence; // the birthday inside the window
    QString typeText; // "Musiker", "Veranstalter" ...
    QString name;     // "Name, Vorname"
    QString firm;     // a contact's firm
    int age = 0;      // reached on that birthday
};

// "Veranstalter", "Techniker", "Backliner", "PA Verleiher", "LA Verleiher", "Kfz Verleiher";
// empty for an unknown kind.
QString firmKindText(int firmKind);

// Adds everyone whose birthday falls into the window, musicians first, then private firms, then
// contacts. Throws CDaoException; the entries added before the error stay.
void collect(CDatabase& db, const BirthdayWindow::Window& window, std::vector<Entry>& entries);

// In calendar order from the window's start; on the same day by type text and then name,
// without regard to case.
void sort(std::vector<Entry>& entries);

// Whether the start-up reminder has something to show: false when it is switched off.
// Throws CDaoException.
bool anyDue(CDatabase& db, const CProfileFile& profile, const QDate& today);

} // namespace BirthdayReminder
