// Measures how long forms take to open: from the call that opens a form until it is shown and
// painted once, the fastest of five openings. Every form opens modally as the program opens it
// and is closed as soon as its first painting is done.
//
// "figure form_open_event_2000_ms <ms>": the event form on a stored event whose organiser pick
// list offers 2,000 organisers.
// "figure form_open_slowest_ms <ms>": the slowest of every form the lists and menus open (through
// the form registry) and the forms these open for one record, on the example data a hundred
// times over; preceded by "# slowest form: <class name>".

#include "app/CMainMenu.h"
#include "app/FormRegistry.h"
#include "core/ArticleGroups.h"
#include "core/CProfileFile.h"
#include "core/ListKinds.h"
#include "core/PlanningContext.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "data/RecordSets.h"
#include "events/CEventSelectDlg.h"
#include "events/CGigUpdateDlg.h"
#include "finance/CFanartikelDlg.h"
#include "finance/CKostenBuchenDlg.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CArtikelDlg.h"
#include "masterdata/CArtikelgruppeDlg.h"
#include "masterdata/CFahrzeugDlg.h"
#include "masterdata/CFahrzeugeDlg.h"
#include "masterdata/CGemaBezirkDlg.h"
#include "masterdata/CHotelDlg.h"
#include "masterdata/CInstrumentDlg.h"
#include "masterdata/CSongDlg.h"
#include "planning/CEventPlanDlg.h"
#include "planning/CPlanBesetzungDlg.h"
#include "planning/CPlanFirmaDlg.h"
#include "planning/CPlanReservierungDlg.h"
#include "planning/CPlanSetlisteDlg.h"
#include "planning/CPlanTransportDlg.h"
#include "planning/CPlanTransportKfzDlg.h"
#include "planning/CPlanUebernachtungDlg.h"
#include "tool/DemoData.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kRepetitions = 5;
constexpr int kOrganisers = 2000;
constexpr int kCopies = 100;

// Closes the first dialog painted after arm() once that painting is done, and notes when.
class FirstPaint : public QObject {
public:
    void arm() {
        m_armed = true;
        m_form.clear();
        m_ms = -1;
        m_timer.start();
    }
    double ms() const { return m_ms; }
    QString formClass() const { return m_class; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (m_armed && event->type() == QEvent::Paint) {
            auto* dialog = qobject_cast<QDialog*>(object);
            if (dialog && dialog->isWindow()) {
                m_armed = false;
                m_form = dialog;
                m_class = QString::fromLatin1(dialog->metaObject()->className());
                // Runs once the whole window, children included, has been painted.
                QTimer::singleShot(0, dialog, [this] {
                    m_ms = double(m_timer.nsecsElapsed()) / 1e6;
                    if (m_form)
                        m_form->reject();
                });
            }
        }
        return false;
    }

private:
    bool m_armed = false;
    QPointer<QDialog> m_form;
    QString m_class;
    double m_ms = -1;
    QElapsedTimer m_timer;
};

struct Opening {
    std::string name;           // what is opened, for the log and the choice of openings
    std::function<void()> open; // opens the form modally
};

// The fastest of the repetitions in ms, or -1 when no form was painted. `formClass` receives the
// class of the window painted, so that a message box instead of the form shows up.
double fastestOpening(FirstPaint& watch, const Opening& opening, QString& formClass) {
    double fastest = std::numeric_limits<double>::max();
    for (int run = 0; run < kRepetitions; ++run) {
        watch.arm();
        opening.open();
        QApplication::processEvents();
        if (watch.ms() < 0)
            return -1;
        formClass = watch.formClass();
        fastest = std::min(fastest, watch.ms());
    }
    return fastest;
}

QString newDatabase(const QTemporaryDir& dir) {
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Kavio.mde"));
    createDatabase(path);
    return path;
}

std::int32_t firstKey(CDatabase& db, const char* sql) {
    return db.queryText(sql).toInt();
}

// The event form on a stored event, its organiser list offering 2,000 organisers.
double eventFormWithManyOrganisers(FirstPaint& watch) {
    QTemporaryDir dir;
    CDatabase db;
    db.open(newDatabase(dir));
    fillDemoData(db);
    // The example's organisers, copied until there are 2,000 of them.
    const char* const copy = R"sql(
        INSERT INTO "T_Stamm_ExtFirma" ("Art", "fPrivat", "Anrede", "Firma", "Name", "Vorname",
            "Strasse", "PLZ", "Ort", "Tel", "Telm", "Fax", "Email", "Homepage")
        SELECT "Art", "fPrivat", "Anrede", "Firma" || ' ' || n.i, "Name", "Vorname", "Strasse",
            "PLZ", "Ort", "Tel", "Telm", "Fax", "Email", "Homepage"
        FROM "T_Stamm_ExtFirma", (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n
            WHERE i < 400) SELECT i FROM n) AS n
        WHERE "Art" = 0)sql";
    db.execute(copy);
    const int organisers =
        firstKey(db, R"(SELECT count(*) FROM "T_Stamm_ExtFirma" WHERE "Art" = 0)");
    if (organisers > kOrganisers)
        db.execute(QStringLiteral(R"(DELETE FROM "T_Stamm_ExtFirma" WHERE "ExtID" IN (SELECT
            "ExtID" FROM "T_Stamm_ExtFirma" WHERE "Art" = 0 ORDER BY "ExtID" DESC LIMIT %1))")
                       .arg(organisers - kOrganisers)
                       .toUtf8()
                       .constData());
    if (firstKey(db, R"(SELECT count(*) FROM "T_Stamm_ExtFirma" WHERE "Art" = 0)") != kOrganisers) {
        std::fprintf(stderr, "The organisers could not be made.\n");
        return -1;
    }
    CProfileFile profile(QDir(dir.path()).filePath(QStringLiteral("Kavio.ini")));
    FormRegistry forms(db, profile, dir.path());
    const std::int32_t event =
        firstKey(db, R"(SELECT "EventID" FROM "T_Event" WHERE "VAnsprechID" > 0 LIMIT 1)");
    QString formClass;
    const double ms = fastestOpening(
        watch, {"event form", [&] { forms.openList(nullptr, ListKind::Events, event); }},
        formClass);
    if (formClass != QLatin1String("CEventDlg")) {
        std::fprintf(stderr, "The event form did not open (%s).\n", qPrintable(formClass));
        return -1;
    }
    return ms;
}

// Every form on the example data a hundred times over; the slowest one's time and class.
// `only`, when not empty, chooses the openings whose name contains it.
double slowestForm(FirstPaint& watch, const std::string& only, QString& slowestClass) {
    QTemporaryDir dir;
    CDatabase db;
    db.open(newDatabase(dir));
    fillDemoData(db, kCopies);
    CProfileFile profile(QDir(dir.path()).filePath(QStringLiteral("Kavio.ini")));
    const QString programDirectory = dir.path();
    FormRegistry forms(db, profile, programDirectory);

    // The records of the last copy of the example: the event planned most fully, its transport
    // and overnight stays, one firm of each kind, and so on.
    const std::int32_t event = firstKey(db, R"(SELECT "EventID" FROM "T_Event_Transport"
        ORDER BY "EventID" DESC LIMIT 1)");
    CSetEventNacht stay(db);
    stay.open(QStringLiteral("[EventID]=%1").arg(event));
    if (stay.atEnd()) {
        std::fprintf(stderr, "The planned event has no overnight stay.\n");
        return -1;
    }
    const std::int32_t stayPerson = stay.getLong("PersonID");
    const int stayFunction = stay.getInt("Funktion");
    const QDateTime stayArrival = stay.getDate("Anreise");
    stay.close();
    const std::int32_t carHire = firstKey(db, R"(SELECT "VerleiherID" FROM "T_Event_Transport"
        ORDER BY "EventID" DESC LIMIT 1)");
    const std::int32_t vehicle = firstKey(db, R"(SELECT "KfzID" FROM "T_Event_Transport"
        ORDER BY "EventID" DESC LIMIT 1)");
    const std::int32_t organiser =
        firstKey(db, R"(SELECT "VeranstalterID" FROM "T_Event" WHERE "VAnsprechID" > 0
        ORDER BY "EventID" DESC LIMIT 1)");
    const std::int32_t contact = firstKey(db, R"(SELECT "VAnsprechID" FROM "T_Event"
        WHERE "VAnsprechID" > 0 ORDER BY "EventID" DESC LIMIT 1)");
    const std::int32_t musician =
        firstKey(db, R"(SELECT max("MusikerID") FROM "T_Stamm_Musiker" WHERE "fDeleted" = 0)");
    const std::int32_t song = firstKey(db, R"(SELECT max("SongID") FROM "T_Stamm_Songliste")");
    const std::int32_t hotel = firstKey(db, R"(SELECT max("HotelID") FROM "T_Stamm_Hotel")");
    const std::int32_t article = firstKey(db, R"(SELECT max("ArtikelID") FROM "T_Stamm_Artikel")");
    const QString office = db.queryText(R"(SELECT "Bezirksdirektion" FROM "T_Stamm_Gema_Bezirk"
        ORDER BY rowid DESC LIMIT 1)");
    ArticleGroups::Group group;
    group.name = db.queryText(R"(SELECT "Artikelgruppe" FROM "T_Stamm_Artikelgruppe"
        ORDER BY rowid DESC LIMIT 1)");
    const std::optional<PlanningContext> planning = PlanningContext::read(db, event);
    if (!planning) {
        std::fprintf(stderr, "The planned event cannot be read.\n");
        return -1;
    }
    const PlanningContext& context = *planning;

    auto exec = [](QDialog& form) { form.exec(); };
    auto firmOf = [&](int kind) {
        return firstKey(db, QStringLiteral(R"(SELECT max("ExtID") FROM "T_Stamm_ExtFirma"
            WHERE "Art" = %1 AND "fDeleted" = 0)")
                                .arg(kind)
                                .toUtf8()
                                .constData());
    };

    std::vector<Opening> openings;
    // What the lists open for one of their entries.
    for (int kind : {ListKind::Organizers, ListKind::Technicians, ListKind::Backliners,
                     ListKind::PAHire, ListKind::LightHire, ListKind::CarHire}) {
        const std::int32_t firm = firmOf(listKindInfo(kind)->firmKind);
        openings.push_back({"list " + std::to_string(kind),
                            [&forms, kind, firm] { forms.openList(nullptr, kind, firm); }});
    }
    for (const auto& [kind, key] : {std::pair<int, std::int32_t>{ListKind::Musicians, musician},
                                    {ListKind::Events, event},
                                    {ListKind::Accounting, event},
                                    {ListKind::Merchandise, event}}) {
        const int listKind = kind;
        const std::int32_t entry = key;
        openings.push_back({"list " + std::to_string(listKind), [&forms, listKind, entry] {
                                forms.openList(nullptr, listKind, entry);
                            }});
    }
    // What the menu opens, on the chosen event where a command acts on one.
    for (int command :
         {CMainMenu::PlanEvent,     CMainMenu::CostPersonnel,    CMainMenu::CostPA,
          CMainMenu::CostLight,     CMainMenu::CostTransport,    CMainMenu::CostOvernight,
          CMainMenu::CostOther,     CMainMenu::Instruments,      CMainMenu::Songs,
          CMainMenu::ArticleGroups, CMainMenu::Articles,         CMainMenu::Hotels,
          CMainMenu::GemaOffices,   CMainMenu::Currency,         CMainMenu::Vat,
          CMainMenu::UserData,      CMainMenu::BirthdayReminder, CMainMenu::MonthCalendar,
          CMainMenu::YearOverview,  CMainMenu::ReminderOption}) {
        if (!forms.hasCommand(command))
            continue;
        openings.push_back({"menu " + std::to_string(command), [&forms, command, event] {
                                forms.openCommand(nullptr, command, event);
                            }});
    }
    openings.push_back({"event selection", [&] {
                            CEventSelectDlg form(db, profile);
                            exec(form);
                        }});
    openings.push_back({"gig update", [&] {
                            CGigUpdateDlg form(db, profile, QDate(2026, 12, 7));
                            exec(form);
                        }});
    // What the planning hub opens for its areas.
    openings.push_back({"line-up", [&] {
                            CPlanBesetzungDlg form(db, profile, context);
                            exec(form);
                        }});
    for (int area = 1; area <= 4; ++area) {
        openings.push_back({"service firm", [&, area] {
                                CPlanFirmaDlg form(db, profile,
                                                   *CPlanFirmaDlg::forPlanningArea(area), context);
                                exec(form);
                            }});
    }
    openings.push_back({"transport", [&] {
                            CPlanTransportDlg form(db, profile, context);
                            exec(form);
                        }});
    openings.push_back({"transport vehicle", [&] {
                            CPlanTransportKfzDlg form(db, profile, event, carHire, vehicle);
                            exec(form);
                        }});
    openings.push_back({"overnight stays", [&] {
                            CPlanUebernachtungDlg form(db, profile, context);
                            exec(form);
                        }});
    openings.push_back({"reservation", [&] {
                            CPlanReservierungDlg form(db, event, stayPerson, stayFunction,
                                                      stayArrival);
                            exec(form);
                        }});
    openings.push_back({"set list", [&] {
                            CPlanSetlisteDlg form(db, profile, context);
                            exec(form);
                        }});
    // What the cost, merchandise and master data forms open for one record.
    openings.push_back({"cost booking", [&] {
                            CKostenBuchenDlg form(db, context, vehicle, carHire, -1);
                            exec(form);
                        }});
    openings.push_back({"expenses booking", [&] {
                            CSpesenBuchenDlg form(db, context, -1);
                            exec(form);
                        }});
    openings.push_back({"merchandise sale", [&] {
                            CFanartikelDetailDlg form(db, profile, programDirectory, context, -1);
                            exec(form);
                        }});
    openings.push_back({"contact", [&] {
                            CAnsprechDlg form(db, 0, organiser, contact);
                            exec(form);
                        }});
    openings.push_back({"vehicles", [&] {
                            CFahrzeugeDlg form(db, profile, carHire);
                            exec(form);
                        }});
    openings.push_back({"vehicle", [&] {
                            CFahrzeugDlg form(db, carHire, vehicle);
                            exec(form);
                        }});
    openings.push_back({"song", [&] {
                            CSongDlg form(db, song);
                            exec(form);
                        }});
    openings.push_back({"hotel", [&] {
                            CHotelDlg form(db, hotel);
                            exec(form);
                        }});
    openings.push_back({"article", [&] {
                            CArtikelDlg form(db, profile, programDirectory, article);
                            exec(form);
                        }});
    openings.push_back({"article group", [&] {
                            CArtikelgruppeDlg form(db, group);
                            exec(form);
                        }});
    openings.push_back({"GEMA office", [&] {
                            CGemaBezirkDlg form(db, office);
                            exec(form);
                        }});
    openings.push_back({"instrument", [&] {
                            CInstrumentDlg form(CInstrumentDlg::Mode::Edit,
                                                QStringLiteral("Akkordeon"), QStringLiteral("Akk"));
                            exec(form);
                        }});

    double slowest = -1;
    for (const Opening& opening : openings) {
        if (!only.empty() && opening.name.find(only) == std::string::npos)
            continue;
        QString formClass;
        const double ms = fastestOpening(watch, opening, formClass);
        std::printf("%-20s %-24s %8.1f ms\n", opening.name.c_str(), qPrintable(formClass), ms);
        if (ms < 0 || formClass.startsWith(QLatin1String("QMessageBox")) ||
            formClass == QLatin1String("QDialog")) {
            std::fprintf(stderr, "The %s did not open.\n", opening.name.c_str());
            return -1;
        }
        if (ms > slowest) {
            slowest = ms;
            slowestClass = formClass;
        }
    }
    return slowest;
}

} // namespace

// Drops the offscreen platform's note that it cannot pass size hints on, printed for every form.
QtMessageHandler g_standardHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QLatin1String("propagateSizeHints")))
        g_standardHandler(type, context, message);
}

int main(int argc, char** argv) {
    g_standardHandler = qInstallMessageHandler(quietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    FirstPaint watch;
    application.installEventFilter(&watch);

    // An argument measures only the openings whose name contains it ("organisers": the event
    // form with 2,000 organisers), for profiling one form; the figures then are not printed.
    const std::string only = argc > 1 ? argv[1] : "";
    if (!only.empty()) {
        QString slowestClass;
        const double ms = only == "organisers" ? eventFormWithManyOrganisers(watch)
                                               : slowestForm(watch, only, slowestClass);
        std::printf("%.1f ms\n", ms);
        return ms < 0 ? 1 : 0;
    }
    const double eventMs = eventFormWithManyOrganisers(watch);
    QString slowestClass;
    const double slowestMs = slowestForm(watch, only, slowestClass);
    std::fflush(stdout);
    if (eventMs < 0 || slowestMs < 0)
        return 1;
    std::printf("figure form_open_event_2000_ms %.1f\n", eventMs);
    std::printf("# slowest form: %s\n", qPrintable(slowestClass));
    std::printf("figure form_open_slowest_ms %.1f\n", slowestMs);
    return 0;
}
