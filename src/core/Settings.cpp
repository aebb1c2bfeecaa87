#include "Settings.h"

#include <cmath>

#include <QStringList>

namespace Settings {

const SettingKey Organizer{"LIST_COLS", "Organizer", "58,134,113,130,100,100,100,129"};
const SettingKey Technician{"LIST_COLS", "Technician", "166,143,100,131,100,100,100,125"};
const SettingKey Musician{"LIST_COLS", "Musician", "68,164,151,130,100,100,151"};
const SettingKey Backliner{"LIST_COLS", "Backliner", "69,138,109,129,100,100,100,119"};
const SettingKey Event{"LIST_COLS", "Event", "20,106,98,131,100,110,100,100,100"};
const SettingKey CarRental{"LIST_COLS", "CarRental", "62,100,134,145,100,100,100,124"};
const SettingKey PARental{"LIST_COLS", "PARental", "62,142,100,133,100,100,100,128"};
const SettingKey LightRental{"LIST_COLS", "LightRental", "57,130,110,144,100,100,100,123"};
const SettingKey Accounting{"LIST_COLS", "Accounting", "20,99,100,128,90,115,112,100,100"};
const SettingKey EventSelect{"LIST_COLS", "EventSelect", "20,106,98,131,100,110,100,100,100"};
const SettingKey PrtGigUpdate{"LIST_COLS", "Prt_GigUpdate", "100,80"};
const SettingKey PlanCast1{"LIST_COLS", "PlanCast1", "118,178"};
const SettingKey PlanCast2{"LIST_COLS", "PlanCast2", "108,188"};
const SettingKey PlanTransp{"LIST_COLS", "PlanTransp", "90,149,100,82,50,76"};
const SettingKey PlanHotel{"LIST_COLS", "PlanHotel", "109,100,60,69,72"};
const SettingKey PlanSetlist{"LIST_COLS", "PlanSetlist", "149,43,47,120,72,0,31,68,63,56"};
const SettingKey PlanSonglist{"LIST_COLS", "PlanSonglist", "149,43,47,120,72,0,31,68,63,56"};
const SettingKey FinPerson{"LIST_COLS", "FinPerson", "100,80"};
const SettingKey AccntHotel{"LIST_COLS", "AccntHotel", "123,61,233,66,72,55"};
const SettingKey AccntTransp1{"LIST_COLS", "AccntTransp1", "105,77,88"};
const SettingKey AccntTransp2{"LIST_COLS", "AccntTransp2", "65,100,100,94"};
const SettingKey AccntOther{"LIST_COLS", "AccntOther", "103,67,60,154"};
const SettingKey AccntMerchandise{"LIST_COLS", "AccntMerchandise", "85,354,49,60,50"};
const SettingKey ExtCompany{"LIST_COLS", "ExtCompany", "89,100,70,70,132"};
const SettingKey Songlist{"LIST_COLS", "Songlist", "134,34,51,139,56"};
const SettingKey Hotellist{"LIST_COLS", "Hotellist", "159,48,135,197"};
const SettingKey CarList{"LIST_COLS", "CarList", "90,40,40,90"};
const SettingKey Product{"LIST_COLS", "Product", "77,143,113,52,51,53,50"};
const SettingKey Gema{"LIST_COLS", "GEMA", "100,200,240"};
const SettingKey BirthReminderList{"LIST_COLS", "BirthReminder", "0,0,0,82,78,148,163,44"};

const SettingKey BirthReminder{"OPTIONS", "BirthReminder", "1,14,14"};
const SettingKey MwStInkl{"OPTIONS", "MwStInkl", "1"};
const SettingKey Backup{"OPTIONS", "Backup", "1,10"};
const SettingKey GemaReminder{"OPTIONS", "GemaReminder", "1"};

const SettingKey DirMerch{"PHOTO", "DirMerch", ""};
const SettingKey DirMusician{"PHOTO", "DirMusician", ""};

const QList<const SettingKey*>& allKeys() {
    static const QList<const SettingKey*> keys = {
        &Organizer,     &Technician,   &Musician,         &Backliner,    &Event,
        &CarRental,     &PARental,     &LightRental,      &Accounting,   &EventSelect,
        &PrtGigUpdate,  &PlanCast1,    &PlanCast2,        &PlanTransp,   &PlanHotel,
        &PlanSetlist,   &PlanSonglist, &FinPerson,        &AccntHotel,   &AccntTransp1,
        &AccntTransp2,  &AccntOther,   &AccntMerchandise, &ExtCompany,   &Songlist,
        &Hotellist,     &CarList,      &Product,          &Gema,         &BirthReminderList,
        &BirthReminder, &MwStInkl,     &Backup,           &GemaReminder, &DirMerch,
        &DirMusician};
    return keys;
}

QString readText(const CProfileFile& profile, const SettingKey& key) {
    return profile.readText(QLatin1String(key.section), QLatin1String(key.key),
                            QLatin1String(key.defaultValue));
}

bool writeText(CProfileFile& profile, const SettingKey& key, const QString& value) {
    return profile.writeText(QLatin1String(key.section), QLatin1String(key.key), value);
}

int readInt(const CProfileFile& profile, const SettingKey& key) {
    return profile.readInt(QLatin1String(key.section), QLatin1String(key.key),
                           CProfileFile::toInt(QLatin1String(key.defaultValue)));
}

bool writeInt(CProfileFile& profile, const SettingKey& key, int value) {
    return profile.writeInt(QLatin1String(key.section), QLatin1String(key.key), value);
}

QList<int> splitNumbers(const QString& text) {
    QList<int> numbers;
    for (const QString& piece : text.split(QLatin1Char(',')))
        numbers.append(CProfileFile::toInt(piece));
    return numbers;
}

QList<int> readWidths(const CProfileFile& profile, const SettingKey& key, int columns,
                      double defaultScale) {
    const QString stored =
        profile.readText(QLatin1String(key.section), QLatin1String(key.key), QString());
    QList<int> widths =
        stored.trimmed().isEmpty() ? QList<int>() : splitNumbers(stored).mid(0, columns);
    const QList<int> defaults = defaultWidths(key, columns, defaultScale);
    while (widths.size() < columns)
        widths.append(defaults.at(widths.size()));
    return widths;
}

QList<int> defaultWidths(const SettingKey& key, int columns, double scale) {
    const QList<int> defaults = splitNumbers(QLatin1String(key.defaultValue));
    QList<int> widths;
    for (int column = 0; column < columns; ++column) {
        const int width = column < defaults.size() ? defaults.at(column) : 100;
        widths.append(int(std::lround(width * scale)));
    }
    return widths;
}

bool writeWidths(CProfileFile& profile, const SettingKey& key, const QList<int>& widths) {
    QStringList pieces;
    for (int width : widths)
        pieces << QString::number(width);
    return writeText(profile, key, pieces.join(QLatin1Char(',')));
}

QString readDirectory(const CProfileFile& profile, const SettingKey& key,
                      const QString& programDirectory) {
    const QString stored = readText(profile, key);
    return stored.isEmpty() ? programDirectory : stored;
}

} // namespace Settings
