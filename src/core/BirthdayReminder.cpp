#include "BirthdayReminder.h"

#include "Settings.h"
#include "data/GermanCollation.h"
#include "data/RecordSets.h"

#include <algorithm>

namespace BirthdayReminder {

Setting Setting::read(const CProfileFile& profile) {
    const QList<int> stored =
        Settings::splitNumbers(Settings::readText(profile, Settings::BirthReminder));
    const QList<int> defaults =
        Settings::splitNumbers(QString::fromLatin1(Settings::BirthReminder.defaultValue));
    const auto number = [&](int index) {
        return std::max(0, index < stored.size() ? stored[index] : defaults.value(index));
    };
    Setting setting;
    setting.on = number(0) != 0;
    setting.daysBefore = number(1);
    setting.daysAfter = number(2);
    return setting;
}

bool Setting::write(CProfileFile& profile) const {
    return Settings::writeText(
        profile, Settings::BirthReminder,
        QStringLiteral("%1, %2, %3").arg(on ? 1 : 0).arg(daysBefore).arg(daysAfter));
}

QString firmKindText(int firmKind) {
    static const char* const texts[] = {"Veranstalter", "Techniker",    "Backliner",
                                        "PA Verleiher", "LA Verleiher", "Kfz Verleiher"};
    if (firmKind < 0 || firmKind >= int(std::size(texts)))
        return QString();
    return QString::fromLatin1(texts[firmKind]);
}

namespace {

QString personName(const QString& name, const QString& firstName) {
    return QStringLiteral("%1, %2").arg(name, firstName);
}

// The name of a contact's firm as the lists show it; empty when it is not there (any more).
QString firmName(CDatabase& db, int firmKind, std::int32_t extId) {
    CSetStammExtFirma firm(db);
    firm.open(
        QStringLiteral("[Art]=%1 AND [ExtID]=%2 AND [fDeleted]=False").arg(firmKind).arg(extId));
    if (firm.atEnd())
        return QString();
    if (firm.getBool("fPrivat"))
        return personName(firm.getText("Name"), firm.getText("Vorname"));
    return firm.getText("Firma");
}

// Fills in when the birthday is celebrated; false when it is not in the window.
bool placeInWindow(Entry& entry, const BirthdayWindow::Window& window, const QDateTime& birth) {
    if (!birth.isValid())
        return false;
    entry.birthDate = birth.date();
    entry.occurrence = BirthdayWindow::occurrence(window, entry.birthDate);
    if (!entry.occurrence.isValid())
        return false;
    entry.age = BirthdayWindow::ageOn(entry.occurrence, entry.birthDate);
    return true;
}

} // namespace

void collect(CDatabase& db, const BirthdayWindow::Window& window, std::vector<Entry>& entries) {
    {
        CSetStammMusiker musicians(db);
        for (musicians.open(QStringLiteral("[fDeleted]=False")); !musicians.atEnd();
             musicians.moveNext()) {
            Entry entry;
            if (!placeInWindow(entry, window, musicians.getDate("MGeb")))
                continue;
            entry.type = Musician;
            entry.id = musicians.getLong("MusikerID");
            entry.typeText = QStringLiteral("Musiker");
            entry.name = personName(musicians.getText("MName"), musicians.getText("MVorname"));
            entries.push_back(entry);
        }
    }
    {
        CSetStammExtFirma firms(db);
        for (firms.open(QStringLiteral("[fDeleted]=False AND [fPrivat]=True")); !firms.atEnd();
             firms.moveNext()) {
            Entry entry;
            if (!placeInWindow(entry, window, firms.getDate("GebDate")))
                continue;
            entry.firmKind = firms.getInt("Art");
            entry.type = FirstFirm + entry.firmKind;
            entry.id = entry.extId = firms.getLong("ExtID");
            entry.typeText = firmKindText(entry.firmKind);
            entry.name = personName(firms.getText("Name"), firms.getText("Vorname"));
            entries.push_back(entry);
        }
    }
    CSetStammExtAnsprech contacts(db);
    for (contacts.open(QStringLiteral("[fDeleted]=False")); !contacts.atEnd();
         contacts.moveNext()) {
        Entry entry;
        if (!placeInWindow(entry, window, contacts.getDate("APGebDate")))
            continue;
        entry.firmKind = contacts.getInt("Art");
        entry.type = FirstContact + entry.firmKind;
        entry.id = contacts.getLong("APID");
        entry.extId = contacts.getLong("ExtID");
        entry.typeText = firmKindText(entry.firmKind);
        entry.name = personName(contacts.getText("APName"), contacts.getText("APVorname"));
        entry.firm = firmName(db, entry.firmKind, entry.extId);
        entries.push_back(entry);
    }
}

void sort(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.occurrence != b.occurrence)
            return a.occurrence < b.occurrence;
        const QByteArray left = (a.typeText + a.name).toUtf8();
        const QByteArray right = (b.typeText + b.name).toUtf8();
        return GermanCollation::compare(left.constData(), int(left.size()), right.constData(),
                                        int(right.size())) < 0;
    });
}

bool anyDue(CDatabase& db, const CProfileFile& profile, const QDate& today) {
    const Setting setting = Setting::read(profile);
    if (!setting.on)
        return false;
    std::vector<Entry> entries;
    collect(db, BirthdayWindow::around(today, setting.daysBefore, setting.daysAfter), entries);
    return !entries.empty();
}

} // namespace BirthdayReminder
