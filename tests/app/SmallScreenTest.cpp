// Every window of the program fits a laptop screen of 1280×720 at its smallest, title bar
// included: nothing the user needs lies below the screen's edge. The window manager's title bar
// is assumed to be at most 30 pixels high.
#include "MainWindowSupport.h"
#include "app/CAboutDlg.h"
#include "events/CEventDlg.h"
#include "events/CEventSelectDlg.h"
#include "events/CGigUpdateDlg.h"
#include "finance/CFanartikelDlg.h"
#include "finance/CFinanzenDlg.h"
#include "finance/CJahresuebersichtDlg.h"
#include "finance/CKostenBuchenDlg.h"
#include "finance/CKostenDlg.h"
#include "finance/CMwStDlg.h"
#include "finance/CWaehrungDlg.h"
#include "masterdata/CAnsprechDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CInstrumentDlg.h"
#include "masterdata/CInstrumenteDlg.h"
#include "masterdata/CMusikerDlg.h"
#include "planning/CDruckGemaDlg.h"
#include "planning/CEventPlanDlg.h"
#include "planning/CPlanBesetzungDlg.h"
#include "planning/CPlanFirmaDlg.h"
#include "planning/CPlanReservierungDlg.h"
#include "planning/CPlanSetlisteDlg.h"
#include "planning/CPlanTransportDlg.h"
#include "planning/CPlanTransportKfzDlg.h"
#include "planning/CPlanUebernachtungDlg.h"
#include "reminder/CErinnerungDlg.h"
#include "reminder/CGeburtstagDlg.h"
#include "views/CBenutzerDlg.h"
#include "views/CDatenaustauschDlg.h"
#include "views/CDatensicherungDlg.h"
#include "views/CHelpWindow.h"
#include "views/CKalenderDlg.h"
#include "views/CKalenderExportDlg.h"
#include "views/CLoginDlg.h"
#include "views/CMonatskalenderDlg.h"
#include "views/CPasswortDlg.h"
#include "views/CSicherheitsabfrageDlg.h"
#include "views/CViewPrintPreview.h"

#include <QApplication>
#include <QMainWindow>

#include <functional>
#include <memory>

namespace {

const QSize kScreen(1280, 720);
constexpr int kTitleBar = 30;

class SmallScreenTest : public RunningProgramTest {
protected:
    // The smallest size the window can be given, as its layout and its own minimum allow.
    static QSize smallest(QWidget& window) {
        window.ensurePolished();
        return window.minimumSizeHint().expandedTo(window.minimumSize());
    }
    static void expectFits(QWidget& window, const char* name) {
        const QSize size = smallest(window);
        EXPECT_LE(size.width(), kScreen.width()) << name << " is too wide";
        EXPECT_LE(size.height() + kTitleBar, kScreen.height()) << name << " is too high";
    }
};

TEST_F(SmallScreenTest, MainWindowAndEveryFormFitTheScreen) {
    expectFits(*frame, "the main window");
    // Shown as the user sees it after choosing a list: the list buttons below the list count.
    frame->navigate(0, 0);
    expectFits(*frame, "the main window with the organiser list");
    frame->navigate(1, 0);
    expectFits(*frame, "the main window with the event list");

    PlanningContext plan;
    plan.eventId = 1;
    plan.kind = QStringLiteral("Hochzeit");
    const QString programDirectory = dir.path();
    PrintRegistration printRegistration;
    const struct {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
    } forms[] = {
        {"Event bearbeiten", [&] { return std::make_unique<CEventDlg>(db(), app.profile(), -1); }},
        {"Veranstalter",
         [&] { return std::make_unique<CExtFirmaDlg>(db(), app.profile(), 0, -1); }},
        {"Techniker", [&] { return std::make_unique<CExtFirmaDlg>(db(), app.profile(), 1, -1); }},
        {"Ansprechpartner", [&] { return std::make_unique<CAnsprechDlg>(db(), 0, 1, -1); }},
        {"Musiker",
         [&] { return std::make_unique<CMusikerDlg>(db(), app.profile(), programDirectory, -1); }},
        {"Instrumente", [&] { return std::make_unique<CInstrumenteDlg>(db()); }},
        {"Instrument", [] { return std::make_unique<CInstrumentDlg>(CInstrumentDlg::Mode::Add); }},
        {"Währung", [&] { return std::make_unique<CWaehrungDlg>(db()); }},
        {"Mehrwertsteuer", [&] { return std::make_unique<CMwStDlg>(db(), app.profile()); }},
        {"Event planen",
         [&] { return std::make_unique<CEventPlanDlg>(db(), app.profile(), plan); }},
        {"Planung PA",
         [&] {
             return std::make_unique<CPlanFirmaDlg>(db(), app.profile(), CPlanFirmaDlg::kPAHire,
                                                    plan);
         }},
        {"Planung Techniker",
         [&] {
             return std::make_unique<CPlanFirmaDlg>(db(), app.profile(), CPlanFirmaDlg::kTechnician,
                                                    plan);
         }},
        {"Besetzung planen",
         [&] { return std::make_unique<CPlanBesetzungDlg>(db(), app.profile(), plan); }},
        {"Setlisten erstellen",
         [&] { return std::make_unique<CPlanSetlisteDlg>(db(), app.profile(), plan); }},
        {"Planung Transport",
         [&] { return std::make_unique<CPlanTransportDlg>(db(), app.profile(), plan); }},
        {"Planung Transport (Fahrzeug)",
         [&] { return std::make_unique<CPlanTransportKfzDlg>(db(), app.profile(), 1, -1, -1); }},
        {"Übernachtungen planen",
         [&] { return std::make_unique<CPlanUebernachtungDlg>(db(), app.profile(), plan); }},
        {"Reservierung",
         [&] { return std::make_unique<CPlanReservierungDlg>(db(), 1, -1, 0, QDateTime()); }},
        {"Finanzen", [&] { return std::make_unique<CFinanzenDlg>(db(), app.profile(), 1); }},
        {"Kosten PA",
         [&] {
             return std::make_unique<CKostenFirmaDlg>(db(), app.profile(), CKostenFirmaDlg::kPA,
                                                      plan, Finance::VatMode::Inclusive, nullptr);
         }},
        {"Personalkosten",
         [&] {
             return std::make_unique<CKostenPersonalDlg>(db(), app.profile(), plan,
                                                         Finance::VatMode::Inclusive, nullptr);
         }},
        {"Übernachtungskosten",
         [&] {
             return std::make_unique<CKostenHotelDlg>(db(), app.profile(), plan,
                                                      Finance::VatMode::Inclusive, nullptr);
         }},
        {"Transportkosten",
         [&] {
             return std::make_unique<CKostenListeDlg>(db(), app.profile(), Finance::Transport, plan,
                                                      Finance::VatMode::Inclusive, nullptr);
         }},
        {"Kosten buchen", [&] { return std::make_unique<CKostenBuchenDlg>(db(), plan, 1, 1, -1); }},
        {"Spesen buchen", [&] { return std::make_unique<CSpesenBuchenDlg>(db(), plan, -1); }},
        {"Fanartikel",
         [&] {
             return std::make_unique<CFanartikelDlg>(db(), app.profile(), programDirectory, plan);
         }},
        {"Fanartikel Detail",
         [&] {
             return std::make_unique<CFanartikelDetailDlg>(db(), app.profile(), programDirectory,
                                                           plan, -1);
         }},
        {"Info über Vorlanto", [] { return std::make_unique<CAboutDlg>(); }},
        {"Event wählen", [&] { return std::make_unique<CEventSelectDlg>(db(), app.profile()); }},
        {"Drucken Gig-Update",
         [&] { return std::make_unique<CGigUpdateDlg>(db(), app.profile(), QDate(2024, 3, 1)); }},
        {"Druckvorschau", [] { return std::make_unique<CPrintPreviewWindow>(); }},
        {"Druck GEMA-Liste",
         [&] { return std::make_unique<CDruckGemaDlg>(db(), 1, printRegistration); }},
        {"Benutzerdaten", [&] { return std::make_unique<CBenutzerDlg>(db()); }},
        {"Vorlanto 2.0 (Anmeldung)", [&] { return std::make_unique<CLoginDlg>(db()); }},
        {"Passwort ändern",
         [&] { return std::make_unique<CPasswortDlg>(db(), app.credentials()); }},
        {"Datensicherung wiederherstellen",
         [&] { return std::make_unique<CDatensicherungDlg>(programDirectory); }},
        {"Sicherheitsabfrage",
         [] { return std::make_unique<CSicherheitsabfrageDlg>(QStringLiteral("x")); }},
        {"Geburtstagserinnerung",
         [&] {
             return std::make_unique<CGeburtstagDlg>(db(), app.profile(), programDirectory,
                                                     QDate::currentDate());
         }},
        {"Erinnerungsfunktion", [&] { return std::make_unique<CErinnerungDlg>(app.profile()); }},
        {"Kalender", [&] { return std::make_unique<CKalenderDlg>(app.profile()); }},
        {"Termine exportieren", [&] { return std::make_unique<CKalenderExportDlg>(db()); }},
        {"Monatskalender",
         [&] { return std::make_unique<CMonatskalenderDlg>(db(), app.profile()); }},
        {"Jahresübersicht",
         [&] { return std::make_unique<CJahresuebersichtDlg>(db(), app.profile()); }},
        {"CSV-Import",
         [&] {
             return std::make_unique<CDatenaustauschDlg>(db(), CDatenaustauschDlg::Mode::Import);
         }},
    };
    for (const auto& form : forms) {
        const std::unique_ptr<QWidget> window = form.make();
        expectFits(*window, form.name);
    }

    CHelpWindow::showPage(nullptr);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<CHelpWindow*>(window)) {
            expectFits(*window, "Hilfe");
            delete window;
        }
    }
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

} // namespace
