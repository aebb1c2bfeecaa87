#include "CMainMenu.h"
#include "FormRegistry.h"
#include "ReportCommands.h"
#include "widgets/StartupProbe.h"

#include "CAboutDlg.h"
#include "CKavioApp.h"
#include "CMainFrame.h"
#include "core/Backup.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "resources/Strings.h"
#include "views/CDatenaustauschDlg.h"
#include "views/CDatensicherungDlg.h"
#include "views/CHelpWindow.h"
#include "views/CKalenderDlg.h"
#include "views/CKalenderExportDlg.h"
#include "views/CPasswortDlg.h"
#include "views/CViewSplitRight.h"
#include "widgets/Pictures.h"
#include "widgets/ReadOnlyForm.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>

namespace {

// The logo at the right end of the menu bar; a click opens the manual's start page.
class CLogoLabel : public QLabel {
public:
    explicit CLogoLabel(QWidget* parent) : QLabel(parent) {
        setPixmap(Pictures::logo());
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("Vorlanto"));
        setContentsMargins(0, 0, 5, 0);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            CHelpWindow::showPage(window());
    }
};

} // namespace

CMainMenu::CMainMenu(CMainFrame& frame)
    : QObject(&frame), m_frame(frame), m_reports(new ReportCommands(frame)) {
    // The menu bar shows its titles in the window's first frame; the commands under them (some
    // sixty actions, a good part of the window's making) are added once the window stands on
    // the screen, or earlier when a menu opens or a command is asked for.
    QMenuBar* bar = m_frame.menuBar();
    for (const char* title : {"&Datei", "&Eventverwaltung", "&Finanzen", "&Stammdaten",
                              "E&instellungen", "D&rucken", "&?"}) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(title));
        connect(menu, &QMenu::aboutToShow, this, &CMainMenu::fillMenus);
        m_menus.push_back(menu);
    }
    createToolbarAndLogo();
    StartupProbe::whenShown(&m_frame, [this] { fillMenus(); });
}

QAction* CMainMenu::action(int command) {
    fillMenus();
    return m_actions.value(command);
}

void CMainMenu::fillMenus() {
    if (m_filled)
        return;
    m_filled = true;
    createMenus();
    updateEnabling();
}

CMainMenu::~CMainMenu() = default;

QAction* CMainMenu::add(QMenu* menu, int command, const QString& text,
                        void (CMainMenu::*handler)()) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, handler);
    m_actions.insert(command, action);
    return action;
}

QAction* CMainMenu::addDisabled(QMenu* menu, int command, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setEnabled(false);
    m_actions.insert(command, action);
    return action;
}

void CMainMenu::createMenus() {
    QMenu* file = m_menus[0];
    QAction* calendarExport =
        file->addAction(QStringLiteral("&Termine exportieren (iCalendar)..."));
    connect(calendarExport, &QAction::triggered, this, [this] {
        CKalenderExportDlg dialog(m_frame.app().database(), &m_frame);
        dialog.exec();
    });
    for (const auto& [text, mode] :
         {std::pair{"CSV-E&xport...", CDatenaustauschDlg::Mode::Export},
          std::pair{"CSV-&Import...", CDatenaustauschDlg::Mode::Import}}) {
        QAction* exchange = file->addAction(QString::fromUtf8(text));
        connect(exchange, &QAction::triggered, this, [this, mode = mode] {
            if (mode == CDatenaustauschDlg::Mode::Import &&
                ReadOnlyForm::refuse(m_frame.app().database(), &m_frame))
                return;
            CDatenaustauschDlg dialog(m_frame.app().database(), mode, &m_frame);
            dialog.exec();
        });
    }
    file->addSeparator();
    add(file, PrintSetup, QStringLiteral("Drucker&einrichtung..."), &CMainMenu::onPrintSetup);
    add(file, BackupNow, QStringLiteral("Jetzt &sichern"), &CMainMenu::onBackupNow);
    add(file, RestoreBackup, QStringLiteral("Datensicherung &wiederherstellen..."),
        &CMainMenu::onRestoreBackup);
    file->addSeparator();
    add(file, Exit, QStringLiteral("&Beenden"), &CMainMenu::onExit);

    QMenu* events = m_menus[1];
    add(events, ShowEventList, QStringLiteral("Eventliste &anzeigen..."),
        &CMainMenu::onShowEventList);
    add(events, NewEvent, QStringLiteral("&Neuen Event anlegen..."), &CMainMenu::onNewEvent);
    add(events, EditEvent, QStringLiteral("Eventdaten &ändern..."), &CMainMenu::onEditEvent);
    add(events, DeleteEvent, QStringLiteral("Event &löschen..."), &CMainMenu::onDeleteEvent);
    add(events, PlanEvent, QStringLiteral("Event &planen..."), &CMainMenu::onPlanEvent);
    events->addSeparator();
    QAction* calendar = events->addAction(QStringLiteral("&Kalender..."));
    connect(calendar, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, MonthCalendar); });
    m_actions.insert(MonthCalendar, calendar);

    QMenu* finances = m_menus[2];
    QMenu* accounting = finances->addMenu(QStringLiteral("&Abrechnung"));
    add(accounting, CostPersonnel, QStringLiteral("&Personal..."), &CMainMenu::onCostBooking);
    add(accounting, CostPA, QStringLiteral("&PA..."), &CMainMenu::onCostBooking);
    add(accounting, CostLight, QStringLiteral("&Lichtanlage..."), &CMainMenu::onCostBooking);
    add(accounting, CostTransport, QStringLiteral("&Transport..."), &CMainMenu::onCostBooking);
    add(accounting, CostOvernight, QStringLiteral("&Übernachtungen..."), &CMainMenu::onCostBooking);
    add(accounting, CostOther, QStringLiteral("&Spesen / Sonstiges..."), &CMainMenu::onCostBooking);
    QAction* merchandise = finances->addAction(QStringLiteral("&Fanartikel..."));
    connect(merchandise, &QAction::triggered, this, [this] { m_frame.navigate(2, 1); });
    m_actions.insert(Merchandise, merchandise);
    QAction* overview = finances->addAction(QStringLiteral("&Jahresübersicht..."));
    connect(overview, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, YearOverview); });
    m_actions.insert(YearOverview, overview);

    QMenu* master = m_menus[3];
    const struct {
        int command;
        const char* text;
        int listButton;
    } addressLists[] = {{Organizers, "&Veranstalter...", 0}, {Musicians, "&Musiker...", 1},
                        {Technicians, "&Techniker...", 2},   {Backliners, "&Backliner...", 3},
                        {PAHire, "&PA-Verleih...", 4},       {LightHire, "&LA-Verleih...", 5},
                        {CarHire, "&KfZ-Verleiher...", 6}};
    for (const auto& list : addressLists) {
        QAction* action = master->addAction(QString::fromUtf8(list.text));
        const int button = list.listButton;
        connect(action, &QAction::triggered, this, [this, button] { m_frame.navigate(0, button); });
        m_actions.insert(list.command, action);
    }
    master->addSeparator();
    QAction* instruments = master->addAction(QStringLiteral("&Instrumente..."));
    connect(instruments, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, Instruments); });
    m_actions.insert(Instruments, instruments);
    QAction* songs = master->addAction(QStringLiteral("&Songliste..."));
    connect(songs, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, Songs); });
    m_actions.insert(Songs, songs);
    QAction* hotels = master->addAction(QStringLiteral("&Hotel / Pension..."));
    connect(hotels, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, Hotels); });
    m_actions.insert(Hotels, hotels);
    QMenu* merchandiseData = master->addMenu(QStringLiteral("&Fanartikelverwaltung"));
    QAction* articleGroups = merchandiseData->addAction(QStringLiteral("Artikel&gruppen..."));
    connect(articleGroups, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, ArticleGroups); });
    m_actions.insert(ArticleGroups, articleGroups);
    QAction* articles = merchandiseData->addAction(QStringLiteral("&Artikelverwaltung..."));
    connect(articles, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, Articles); });
    m_actions.insert(Articles, articles);
    master->addSeparator();
    QAction* birthdays = master->addAction(QStringLiteral("&Geburtstagserinnerung..."));
    connect(birthdays, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, BirthdayReminder); });
    m_actions.insert(BirthdayReminder, birthdays);
    QAction* gemaOffices = master->addAction(QStringLiteral("GEMA Be&zirksdirektionen..."));
    connect(gemaOffices, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, GemaOffices); });
    m_actions.insert(GemaOffices, gemaOffices);

    QMenu* settings = m_menus[4];
    QAction* userData = settings->addAction(QStringLiteral("&Benutzerdaten..."));
    connect(userData, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, UserData); });
    m_actions.insert(UserData, userData);
    add(settings, ChangePassword, QStringLiteral("&Passwort ändern..."),
        &CMainMenu::onChangePassword)
        ->setStatusTip(QStringLiteral("Änderung des Passworts"));
    add(settings, Currency, QStringLiteral("&Währung..."), &CMainMenu::onCurrency);
    add(settings, Vat, QStringLiteral("MWST..."), &CMainMenu::onVat);
    QAction* reminderOption = settings->addAction(QStringLiteral("&Erinnerungsfunktion..."));
    connect(reminderOption, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, ReminderOption); });
    m_actions.insert(ReminderOption, reminderOption);
    QAction* calendarOption = settings->addAction(QStringLiteral("&Kalender..."));
    connect(calendarOption, &QAction::triggered, this, [this] {
        CKalenderDlg dialog(m_frame.app().profile(), &m_frame);
        dialog.exec();
    });

    QMenu* print = m_menus[5];
    const struct {
        int command;
        const char* text;
        void (ReportCommands::*handler)();
    } reports[] = {{PrintGigUpdate, "&Gig-Update...", &ReportCommands::gigUpdate},
                   {PrintGigRider, "Gig-&Rider...", &ReportCommands::gigRider},
                   {PrintAccounting, "&Abrechnung...", &ReportCommands::accounting}};
    for (const auto& report : reports) {
        QAction* action = print->addAction(QString::fromUtf8(report.text));
        connect(action, &QAction::triggered, m_reports, report.handler);
        m_actions.insert(report.command, action);
    }

    QMenu* help = m_menus[6];
    add(help, HelpTopics, QStringLiteral("&Hilfethemen..."), &CMainMenu::onHelp);
    add(help, Web, QStringLiteral("Vorlanto im Web"), &CMainMenu::onHelp);
    help->addSeparator();
    add(help, About, QStringLiteral("Inf&o über Vorlanto..."), &CMainMenu::onAbout);
}

void CMainMenu::createToolbarAndLogo() {
    QToolBar* toolbar = m_frame.addToolBar(QStringLiteral("Symbolleiste"));
    toolbar->setObjectName(QStringLiteral("toolbar100"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(16, 15));
    QAction* help = toolbar->addAction(Pictures::toolbarIcon(0), QStringLiteral("Hilfe"));
    connect(help, &QAction::triggered, this, &CMainMenu::onHelp);
    m_actions.insert(ToolbarHelp, help);
    // The calendar opens the month calendar, the printer the list of what can be printed.
    QAction* calendar = toolbar->addAction(Pictures::toolbarIcon(1), QStringLiteral("Kalender"));
    connect(calendar, &QAction::triggered, this,
            [this] { m_frame.forms().openCommand(&m_frame, MonthCalendar); });
    m_actions.insert(ToolbarCalendar, calendar);
    QAction* print = toolbar->addAction(Pictures::toolbarIcon(2), QStringLiteral("Drucken"));
    connect(print, &QAction::triggered, this, [this] { m_frame.navigate(1, 6); });
    m_actions.insert(ToolbarPrint, print);
    // The logo stands at the right end of the menu bar; the window caption belongs to the
    // window manager.
    m_frame.menuBar()->setCornerWidget(new CLogoLabel(m_frame.menuBar()), Qt::TopRightCorner);
}

void CMainMenu::updateEnabling() {
    // Before the commands are made there is nothing to enable; making them calls this.
    if (!m_filled)
        return;
    const CMainFrame::Flags& flags = m_frame.flags();
    // The commands act on the list's entry; behind a report's preview the list is out of sight.
    const bool list = !m_frame.reportPreviewShown();
    m_actions.value(EditEvent)->setEnabled(list && flags.eventEdit);
    // Reading only: the commands that only write are disabled (and refuse, see the list).
    const CDatabase& db = m_frame.app().databaseToKeep();
    const bool writable = !db.isOpen() || !db.isReadOnly();
    m_actions.value(NewEvent)->setEnabled(writable);
    m_actions.value(DeleteEvent)->setEnabled(list && flags.eventDelete && writable);
    m_actions.value(PlanEvent)->setEnabled(list && flags.eventPlan);
    for (int command : {CostPersonnel, CostPA, CostLight, CostTransport, CostOvernight, CostOther})
        m_actions.value(command)->setEnabled(list && flags.accounting);
}

QPrinter& CMainMenu::printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return *m_printer;
}

void CMainMenu::onBackupNow() {
    CKavioApp& app = m_frame.app();
    const QString folder = Backup::folder(app.programDirectory());
    const QDateTime now = QDateTime::currentDateTime();
    QString path;
    try {
        path = Backup::writeOf(app.database(), folder, now);
        // The same rule of which copies stay as after the exit's backup.
        Backup::rotate(folder, now, Backup::readOptions(app.profile()).keepLast);
    } catch (const CDaoException& error) {
        MessageService::stop(&m_frame, error.description());
        return;
    }
    MessageService::information(
        &m_frame,
        QStringLiteral("Die Datenbank wurde gesichert:\n%1").arg(QDir::toNativeSeparators(path)));
}

void CMainMenu::onPrintSetup() {
    // The print dialog chooses the printer as well as its paper; the page set-up dialog could
    // only set up the paper of Qt's own PDF printer. What the user accepts stays with the
    // printer for the rest of the run; cancelling leaves it as it was.
    QPrintDialog dialog(&printer(), &m_frame);
    dialog.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Nothing is printed here: the button that accepts the choice says so.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    dialog.exec();
}

void CMainMenu::onExit() {
    m_frame.close();
}

void CMainMenu::onRestoreBackup() {
    CKavioApp* app = CKavioApp::instance();
    if (!app || ReadOnlyForm::refuse(app->database(), &m_frame))
        return;
    CDatensicherungDlg dialog(Backup::folder(app->programDirectory()), &m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString error = app->restoreDatabase(dialog.chosenPath());
    if (!error.isEmpty()) {
        MessageService::stop(&m_frame, error);
        return;
    }
    // Everything shown may have changed.
    for (ChangeNotifier::Topic topic :
         {ChangeNotifier::Topic::Events, ChangeNotifier::Topic::Planning,
          ChangeNotifier::Topic::Contacts, ChangeNotifier::Topic::Musicians,
          ChangeNotifier::Topic::Instruments, ChangeNotifier::Topic::BaseData,
          ChangeNotifier::Topic::UserData})
        ChangeNotifier::instance().notify(topic);
    m_frame.requestListRefresh();
    MessageService::information(
        &m_frame, QStringLiteral("Die Datensicherung wurde wiederhergestellt. Der "
                                 "vorige Stand liegt als Datensicherung im Ordner "
                                 "%1.")
                      .arg(QDir::toNativeSeparators(Backup::folder(app->programDirectory()))));
}

void CMainMenu::onShowEventList() {
    m_frame.navigate(1, 0);
}

void CMainMenu::onNewEvent() {
    // The event list comes first, so the new event is listed there when the form closes.
    m_frame.navigate(1, 0);
    m_frame.eventListView()->onNew();
}

void CMainMenu::onEditEvent() {
    m_frame.eventListView()->onEdit();
}

void CMainMenu::onDeleteEvent() {
    m_frame.eventListView()->onDelete();
}

void CMainMenu::onPlanEvent() {
    const std::int32_t event = m_frame.eventListView()->selectedKey();
    if (event < 0) {
        MessageService::exclamation(&m_frame, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    m_frame.forms().openCommand(&m_frame, PlanEvent, event);
}

void CMainMenu::onCostBooking() {
    const std::int32_t event = m_frame.eventListView()->selectedKey();
    if (event < 0) {
        MessageService::exclamation(&m_frame, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    // The command's number says which area's cost form opens.
    const auto* action = qobject_cast<QAction*>(sender());
    const int command = m_actions.key(const_cast<QAction*>(action), -1);
    m_frame.forms().openCommand(&m_frame, command, event);
}

void CMainMenu::onCurrency() {
    m_frame.forms().openCommand(&m_frame, Currency);
}

void CMainMenu::onVat() {
    m_frame.forms().openCommand(&m_frame, Vat);
}

void CMainMenu::onChangePassword() {
    if (ReadOnlyForm::refuse(m_frame.app().database(), &m_frame))
        return;
    CPasswortDlg::changePassword(m_frame.app().database(), m_frame.app().credentials(), &m_frame);
}

void CMainMenu::onHelp() {
    CHelpWindow::showPage(&m_frame);
}

void CMainMenu::onAbout() {
    CAboutDlg dialog(&m_frame);
    dialog.exec();
}
