#include "GigUpdateSelection.h"

#include "data/JetFilter.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"

#include <QHash>

#include <algorithm>

namespace GigUpdate {

Selection openingSelection(CDatabase& db, const QDate& today) {
    Selection selection;
    selection.from = today;
    selection.to = today;
    CSetEvent events(db);
    events.open(QString(), QStringLiteral("[EBeginn] DESC"));
    // Up to the latest event; when every event lies in the past the period is today alone,
    // which the form's own check accepts.
    if (!events.atEnd() && !events.isNull("EBeginn"))
        selection.to = std::max(today, events.getDate("EBeginn").date());
    return selection;
}

bool exists(CDatabase& db, const CrewEntry& entry) {
    if (entry.key <= 0)
        return false;
    if (entry.kind == Musician) {
        CSetStammMusiker musician(db);
        musician.open(QStringLiteral("[MusikerID]=%1").arg(entry.key));
        return !musician.atEnd();
    }
    CSetStammExtFirma firm(db);
    firm.open(QStringLiteral("[ExtID]=%1 AND [Art]=%2").arg(entry.key).arg(entry.kind));
    return !firm.atEnd();
}

QString unknownText(const CrewEntry& entry) {
    const char* const kind = entry.kind == Musician     ? "Musiker"
                             : entry.kind == Technician ? "Techniker"
                                                        : "Backliner";
    return QStringLiteral("Kein %1 mit der Nummer %2.").arg(QString::fromUtf8(kind)).arg(entry.key);
}

QString statusText(int status) {
    static const char* const texts[] = {"angefragt", "reserviert", "gebucht", "abgesagt"};
    return status >= 0 && status < 4 ? QString::fromUtf8(texts[status]) : QString();
}

QString statusCondition(const std::array<bool, 4>& statuses) {
    int chosen = 0;
    for (bool status : statuses)
        chosen += status ? 1 : 0;
    if (chosen == 0 || chosen == 4)
        return QString();
    QString condition;
    for (int status = 0; status < 4; ++status) {
        if (!statuses[size_t(status)])
            continue;
        if (!condition.isEmpty())
            condition += QLatin1String(" OR ");
        condition += QStringLiteral("[Status]=%1").arg(status);
    }
    return condition;
}

QString periodCondition(const QDate& from, const QDate& to) {
    return Jet::dayRangeFilter(QStringLiteral("EBeginn"), from, to);
}

QString filter(const Selection& selection) {
    const QString status = statusCondition(selection.statuses);
    const QString period = periodCondition(selection.from, selection.to);
    return status.isEmpty() ? period : QStringLiteral("(%1) AND %2").arg(status, period);
}

namespace {

// Adds a row for the first record of a key and counts the further ones.
void count(std::vector<CrewRow>& rows, QHash<std::int32_t, size_t>& rowOfKey,
           const CrewEntry& entry, const QString& name, const char* function) {
    const auto found = rowOfKey.constFind(entry.key);
    if (found != rowOfKey.constEnd()) {
        ++rows[*found].gigs;
        return;
    }
    rowOfKey.insert(entry.key, rows.size());
    rows.push_back({entry, name, QString::fromUtf8(function), 1});
}

} // namespace

void loadCrew(CDatabase& db, const QString& eventFilter, std::vector<CrewRow>& rows) {
    {
        QHash<std::int32_t, size_t> rowOfKey;
        CSetAbfrGigMusiker musicians(db);
        musicians.open(eventFilter, QStringLiteral("[MusikerID]"));
        for (; !musicians.atEnd(); musicians.moveNext()) {
            const CrewEntry entry{musicians.getLong("MusikerID"), Musician};
            count(rows, rowOfKey, entry,
                  QStringLiteral("%1 %2").arg(musicians.getText("MVorname"),
                                              musicians.getText("MName")),
                  Strings::kMusicianColumn);
        }
    }
    // Technicians, then backliners: the list is kept in the order of the kind.
    std::vector<CrewRow> firmRows[3];
    const auto keepFirms = [&] {
        for (int kind : {Technician, Backliner})
            rows.insert(rows.end(), firmRows[kind].begin(), firmRows[kind].end());
    };
    try {
        QHash<std::int32_t, size_t> rowOfKey[3];
        CSetAbfrGigFirma firms(db);
        firms.open(eventFilter, QStringLiteral("[ExtID]"));
        for (; !firms.atEnd(); firms.moveNext()) {
            const int kind = firms.getInt("Art");
            if (kind != Technician && kind != Backliner)
                continue;
            const CrewEntry entry{firms.getLong("ExtID"), kind};
            const QString name =
                firms.getBool("fPrivat")
                    ? QStringLiteral("%1 %2").arg(firms.getText("Vorname"), firms.getText("Name"))
                    : firms.getText("Firma");
            count(firmRows[kind], rowOfKey[kind], entry, name,
                  kind == Technician ? "Techniker" : "Backliner");
        }
    } catch (...) {
        keepFirms();
        throw;
    }
    keepFirms();
}

} // namespace GigUpdate
