#include "PrintCommand.h"

#include "core/GigUpdateSelection.h"
#include "core/PlanningContext.h"
#include "core/UserProfile.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "reports/AccountingReport.h"
#include "reports/GemaReport.h"
#include "reports/GigRiderReport.h"
#include "reports/GigUpdateReport.h"
#include "reports/PageRenderer.h"
#include "reports/SetListPrint.h"

#include "ProgramDatabase.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return 2;
}

// An event or person that is not in the database: nothing is written.
int refuse(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return 1;
}

int usage() {
    return fail(QStringLiteral("Aufruf:\n"
                               "  vorlanto-tool print VERZEICHNIS --report gig-update [--from "
                               "TT.MM.JJJJ] [--to TT.MM.JJJJ]\n"
                               "      [--status angefragt,reserviert,gebucht,abgesagt]\n"
                               "      [--musician ID | --technician ID | --backliner ID ...] "
                               "[--pdf DATEI] [--dump DATEI]\n"
                               "  vorlanto-tool print VERZEICHNIS --report setliste --event ID "
                               "[--pdf DATEI] [--dump DATEI]\n"
                               "  vorlanto-tool print VERZEICHNIS --report gig-rider --event ID "
                               "[--pdf DATEI] [--dump DATEI]\n"
                               "  vorlanto-tool print VERZEICHNIS --report abrechnung --event ID "
                               "[--pdf DATEI] [--dump DATEI]\n"
                               "  vorlanto-tool print VERZEICHNIS --report gema --event ID "
                               "[--office NAME] [--member NR] [--direkt]\n"
                               "      [--pdf DATEI] [--dump DATEI]"));
}

bool readDate(const QString& text, QDate& date) {
    date = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
    return date.isValid();
}

bool readKey(const QString& text, std::int32_t& key) {
    bool ok = false;
    key = text.toInt(&ok);
    return ok && key > 0;
}

int print(const QStringList& args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return usage();
    const QString directory = args.first();
    QString report, pdf, dumpFile, statuses, office, member;
    bool direct = false;
    QDate from, to;
    std::int32_t event = 0;
    std::vector<GigUpdate::CrewEntry> crew;
    for (int i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--direkt")) {
            direct = true;
            continue;
        }
        if (i + 1 >= args.size())
            return usage();
        const QString value = args[++i];
        std::int32_t key = 0;
        if (option == QLatin1String("--report")) {
            report = value;
        } else if (option == QLatin1String("--pdf")) {
            pdf = value;
        } else if (option == QLatin1String("--office")) {
            office = value;
        } else if (option == QLatin1String("--member")) {
            member = value;
        } else if (option == QLatin1String("--dump")) {
            dumpFile = value;
        } else if (option == QLatin1String("--from")) {
            if (!readDate(value, from))
                return fail(QStringLiteral("Ungültiges Datum: %1").arg(value));
        } else if (option == QLatin1String("--to")) {
            if (!readDate(value, to))
                return fail(QStringLiteral("Ungültiges Datum: %1").arg(value));
        } else if (option == QLatin1String("--status")) {
            statuses = value;
        } else if (option == QLatin1String("--event")) {
            if (!readKey(value, event))
                return fail(QStringLiteral("Ungültige Event-Nummer: %1").arg(value));
        } else if (option == QLatin1String("--musician") ||
                   option == QLatin1String("--technician") ||
                   option == QLatin1String("--backliner")) {
            if (!readKey(value, key))
                return fail(QStringLiteral("Ungültige Nummer: %1").arg(value));
            const int kind = option == QLatin1String("--musician")     ? GigUpdate::Musician
                             : option == QLatin1String("--technician") ? GigUpdate::Technician
                                                                       : GigUpdate::Backliner;
            crew.push_back({key, kind});
        } else {
            return usage();
        }
    }
    if (pdf.isEmpty() && dumpFile.isEmpty())
        return usage();
    const bool gemaOptions = direct || !office.isEmpty() || !member.isEmpty();
    if (gemaOptions && report != QLatin1String("gema"))
        return usage();
    if (member.size() > Gema::kMemberNumberLength)
        return fail(QStringLiteral("Die GEMA-Mitglieds-Nr. hat höchstens %1 Zeichen.")
                        .arg(Gema::kMemberNumberLength));

    CDatabase db;
    if (const QString missing = ProgramDatabase::open(db, directory); !missing.isEmpty())
        return fail(missing);
    // Keys the report takes must name what they stand for; a wrong call stays a usage error.
    const bool gigUpdate = report == QLatin1String("gig-update");
    const bool eventReport = QStringList{QStringLiteral("setliste"), QStringLiteral("gig-rider"),
                                         QStringLiteral("abrechnung"), QStringLiteral("gema")}
                                 .contains(report);
    if (eventReport && event != 0 && !PlanningContext::read(db, event))
        return refuse(QStringLiteral("Kein Event mit der Nummer %1.").arg(event));
    for (const GigUpdate::CrewEntry& entry : crew)
        if (gigUpdate && !GigUpdate::exists(db, entry))
            return refuse(GigUpdate::unknownText(entry));
    const UserProfile user = UserProfile::load(db);
    // The PDF file and the dump are laid out as the program saves a PDF file.
    const PageMetrics metrics = PageMetrics::pdf();
    const QDate today = QDate::currentDate();

    Report::Document document;
    if (gigUpdate) {
        if (event != 0)
            return usage();
        GigUpdate::Selection selection = GigUpdate::openingSelection(db, today);
        if (from.isValid())
            selection.from = from;
        if (to.isValid())
            selection.to = to;
        if (selection.to < selection.from)
            return fail(QStringLiteral("Das Ende des Zeitraums liegt vor seinem Beginn."));
        if (!statuses.isEmpty()) {
            selection.statuses = {{false, false, false, false}};
            for (const QString& name : statuses.split(QLatin1Char(','))) {
                int code = 0;
                while (code < 4 && GigUpdate::statusText(code) != name.trimmed())
                    ++code;
                if (code == 4)
                    return fail(QStringLiteral("Unbekannter Status: %1").arg(name));
                selection.statuses[size_t(code)] = true;
            }
        }
        selection.crew = crew;
        document = GigUpdateReport::render(db, selection, user, metrics, today);
    } else if (report == QLatin1String("setliste")) {
        if (event == 0 || !crew.empty() || from.isValid() || to.isValid() || !statuses.isEmpty())
            return usage();
        document = SetListPrint::render(db, event, user, metrics);
    } else if (report == QLatin1String("gig-rider")) {
        if (event == 0 || !crew.empty() || from.isValid() || to.isValid() || !statuses.isEmpty())
            return usage();
        document = GigRiderReport::render(db, event, user, metrics);
    } else if (report == QLatin1String("abrechnung")) {
        if (event == 0 || !crew.empty() || from.isValid() || to.isValid() || !statuses.isEmpty())
            return usage();
        document = AccountingReport::render(db, event, user, metrics);
    } else if (report == QLatin1String("gema")) {
        if (event == 0 || !crew.empty() || from.isValid() || to.isValid() || !statuses.isEmpty())
            return usage();
        Gema::FormValues values = Gema::initialValues(db, event, user);
        values.direct = direct;
        values.memberNumber = member;
        const std::vector<Gema::Office> offices = Gema::offices(db);
        if (!office.isEmpty()) {
            auto found = std::find_if(offices.begin(), offices.end(), [&](const Gema::Office& o) {
                return o.name.compare(office, Qt::CaseInsensitive) == 0;
            });
            if (found == offices.end())
                return fail(QStringLiteral("Unbekannte Bezirksdirektion: %1").arg(office));
            values.office = *found;
        } else if (!offices.empty()) {
            values.office = offices.front();
        }
        document = GemaReport::render(db, event, values, metrics);
    } else {
        return usage();
    }

    if (!dumpFile.isEmpty()) {
        QFile file(dumpFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(Report::dump(document).toUtf8()) < 0 || !file.flush())
            return fail(
                QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.").arg(dumpFile));
    }
    if (!pdf.isEmpty()) {
        if (document.pages.empty()) {
            std::printf("Der Bericht hat keine Seiten; es wurde keine PDF-Datei geschrieben.\n");
            return 1;
        }
        QString error;
        if (!Report::writePdf(document, pdf, &error))
            return fail(error);
    }
    std::printf("Seiten: %d\n", document.pageCount());
    return 0;
}

} // namespace

int runPrintCommand(int argc, char* argv[]) {
    // Fonts need a GUI application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(2);
    try {
        return print(args);
    } catch (const CDaoException& error) {
        std::fprintf(stderr, "%s\n", error.description().toUtf8().constData());
        return 1;
    }
}
