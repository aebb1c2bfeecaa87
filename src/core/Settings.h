#pragma once

#include "CProfileFile.h"

#include <QList>
#include <QString>

// Every key of Kavio.ini with its default, in one place, so that no form writes its own
// default string.
struct SettingKey {
    const char* section;
    const char* key;
    // The value used while the key is missing. Directory keys leave it empty: their default is
    // the program directory.
    const char* defaultValue;
};

namespace Settings {

// Section "LIST_COLS": column widths of the lists.
extern const SettingKey Organizer, Technician, Musician, Backliner, Event, CarRental, PARental,
    LightRental, Accounting, EventSelect, PrtGigUpdate, PlanCast1, PlanCast2, PlanTransp, PlanHotel,
    PlanSetlist, PlanSonglist, FinPerson, AccntHotel, AccntTransp1, AccntTransp2, AccntOther,
    AccntMerchandise, ExtCompany, Songlist, Hotellist, CarList, Product, Gema, BirthReminderList;
// Section "OPTIONS".
extern const SettingKey BirthReminder, MwStInkl;
// "Backup": versioned copies at exit, "on,count" ("1,10": on, keep the last 10).
extern const SettingKey Backup;
// "GemaReminder": the start-up note of due GEMA reports, 1 on, 0 off.
extern const SettingKey GemaReminder;
// Section "PHOTO".
extern const SettingKey DirMerch, DirMusician;

// Every key above, for checks over the whole table.
const QList<const SettingKey*>& allKeys();

QString readText(const CProfileFile& profile, const SettingKey& key);
bool writeText(CProfileFile& profile, const SettingKey& key, const QString& value);
int readInt(const CProfileFile& profile, const SettingKey& key);
bool writeInt(CProfileFile& profile, const SettingKey& key, int value);

// A width list ("20,106,98"): at most `columns` numbers; missing numbers come from the default,
// multiplied by `defaultScale` (the stored numbers are used as stored).
QList<int> readWidths(const CProfileFile& profile, const SettingKey& key, int columns,
                      double defaultScale = 1.0);
// The key's default widths for `columns` columns (100 where it names none), each multiplied by
// `scale` and rounded.
QList<int> defaultWidths(const SettingKey& key, int columns, double scale = 1.0);
// Written without blanks and without a trailing comma.
bool writeWidths(CProfileFile& profile, const SettingKey& key, const QList<int>& widths);

// A list of integers separated by commas, blanks allowed ("1, 14, 14"); pieces that are not
// numbers read as 0.
QList<int> splitNumbers(const QString& text);

// The start folder of a photo dialog: the stored folder, or the program directory.
QString readDirectory(const CProfileFile& profile, const SettingKey& key,
                      const QString& programDirectory);

} // namespace Settings
