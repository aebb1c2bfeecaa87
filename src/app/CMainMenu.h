#pragma once

#include <QHash>
#include <QObject>

#include <memory>
#include <vector>

class CMainFrame;
class QAction;
class QMenu;
class QPrinter;
class ReportCommands;

// The main window's menu bar, toolbar, logo and their commands. Commands that act on the list
// shown follow the navigation's flags; commands whose forms the program does not have yet are
// shown disabled.
class CMainMenu : public QObject {
    Q_OBJECT
public:
    // Command numbers, as the program has always called them.
    enum Command {
        PrintSetup = 57606,
        Exit = 57665,
        RestoreBackup = 32080,
        BackupNow = 32092,
        ShowEventList = 32018,
        NewEvent = 32016,
        EditEvent = 32014,
        DeleteEvent = 32015,
        PlanEvent = 32019,
        CostPersonnel = 32025,
        CostPA = 32030,
        CostLight = 32021,
        CostTransport = 32027,
        CostOvernight = 32026,
        CostOther = 32029,
        Merchandise = 32020,
        Organizers = 32065,
        Musicians = 32046,
        Technicians = 32048,
        Backliners = 32041,
        PAHire = 32047,
        LightHire = 32042,
        CarHire = 32066,
        Instruments = 32043,
        Songs = 32044,
        Hotels = 32045,
        ArticleGroups = 32063,
        Articles = 32064,
        BirthdayReminder = 32068,
        GemaOffices = 32071,
        UserData = 32005,
        ChangePassword = 32001,
        Currency = 32013,
        Vat = 32010,
        ReminderOption = 32067,
        PrintGigUpdate = 32072,
        PrintGigRider = 32073,
        PrintAccounting = 32075,
        HelpTopics = 57670,
        Web = 32074,
        About = 57664,
        ToolbarHelp = 1420,
        ToolbarCalendar = 32069,
        ToolbarPrint = 32070,
        MonthCalendar = 32090,
        YearOverview = 32091,
    };

    explicit CMainMenu(CMainFrame& frame);
    ~CMainMenu() override;

    // The command's action; the menus' commands are made first if they are not yet.
    QAction* action(int command);
    // The printer chosen with "Druckereinrichtung..." for this run; the system's default printer
    // until the user chooses one.
    QPrinter& printer();
    // The commands of the menu "D&rucken".
    ReportCommands& reports() const { return *m_reports; }
    // Sets the enabled state of the commands that follow the navigation's flags.
    void updateEnabling();

private:
    QAction* add(QMenu* menu, int command, const QString& text, void (CMainMenu::*handler)());
    QAction* addDisabled(QMenu* menu, int command, const QString& text);
    // Adds the commands under the menu bar's titles, once.
    void fillMenus();
    void createMenus();
    void createToolbarAndLogo();

    void onPrintSetup();
    void onExit();
    void onRestoreBackup();
    // "Jetzt &sichern": a checked copy of the database at once, as the exit writes one.
    void onBackupNow();
    void onShowEventList();
    void onNewEvent();
    void onEditEvent();
    void onDeleteEvent();
    void onPlanEvent();
    void onCostBooking();
    void onCurrency();
    void onVat();
    void onChangePassword();
    void onHelp();
    void onAbout();

    CMainFrame& m_frame;
    QHash<int, QAction*> m_actions;
    std::vector<QMenu*> m_menus; // the menu bar's menus, left to right
    bool m_filled = false;
    std::unique_ptr<QPrinter> m_printer;
    ReportCommands* m_reports = nullptr;
};
