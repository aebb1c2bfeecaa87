#include "BudgetCommand.h"

#include "core/BaseData.h"
#include "core/CProfileFile.h"
#include "core/FinanceModel.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"

#include "ProgramDatabase.h"

#include <QDir>

#include <cstdio>
#include <optional>

namespace {

int usage() {
    std::fprintf(stderr, "Aufruf: vorlanto-tool budget VERZEICHNIS --event ID [--inkl|--exkl]\n");
    return 2;
}

int fail(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    return 1;
}

void printLine(const char* label, const QString& value) {
    std::printf("%s: %s\n", label, value.toUtf8().constData());
}

} // namespace

int runBudgetCommand(const QStringList& args) {
    if (args.isEmpty())
        return usage();
    const QString directory = args.first();
    std::int32_t eventId = 0;
    std::optional<Finance::VatMode> chosenMode;
    for (int i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--inkl")) {
            chosenMode = Finance::VatMode::Inclusive;
        } else if (option == QLatin1String("--exkl")) {
            chosenMode = Finance::VatMode::Exclusive;
        } else if (option == QLatin1String("--event") && i + 1 < args.size()) {
            bool ok = false;
            eventId = args[++i].toInt(&ok);
            if (!ok || eventId <= 0)
                return fail(QStringLiteral("Ungültige Event-Nummer: %1").arg(args[i]));
        } else {
            return usage();
        }
    }
    if (eventId <= 0)
        return usage();
    CDatabase db;
    if (const QString missing = ProgramDatabase::open(db, directory); !missing.isEmpty())
        return fail(missing);
    {
        CSetEvent event(db);
        event.open(QString::asprintf("[EventID]=%ld", long(eventId)));
        if (event.atEnd())
            return fail(QStringLiteral("Event %1 wurde nicht gefunden.").arg(eventId));
    }
    const CProfileFile profile(QDir(directory).filePath(QStringLiteral("Kavio.ini")));
    const Finance::VatMode mode = chosenMode.value_or(Finance::vatMode(profile));
    const BaseData base = BaseData::read(db);
    const Finance::BudgetSummary summary = Finance::BudgetSummary::compute(db, eventId, base, mode);
    const Finance::UnbookedCosts unbooked = Finance::unbookedCosts(db, eventId, base, mode);

    printLine("Personal", Finance::formatAmount(summary.personnel));
    printLine("PA", Finance::formatAmount(summary.pa));
    printLine("LA", Finance::formatAmount(summary.light));
    printLine("Transport", Finance::formatAmount(summary.transport));
    // The form leaves the field empty when the organiser pays the rooms.
    printLine("Übernachtungen",
              summary.organiserPays ? QString() : Finance::formatAmount(summary.overnight));
    printLine("Spesen / Sonstiges", Finance::formatAmount(summary.expenses));
    printLine("Budget Gesamt", Finance::formatAmount(summary.total));
    printLine("Summe Kosten", Finance::formatAmount(summary.costs));
    printLine("davon noch nicht gebucht", Finance::formatAmount(unbooked.total()));
    printLine("Budget Rest", Finance::formatAmount(summary.rest()));
    return 0;
}
