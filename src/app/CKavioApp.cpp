#include "CKavioApp.h"
#include "exchange/CalendarExport.h"

#include "CKavioDoc.h"
#include "CMainFrame.h"
#include "InstanceGuard.h"
#include "core/Backup.h"
#include "core/ChangeNotifier.h"
#include "core/ExitMaintenance.h"
#include "core/MessageService.h"
#include "core/OthersChanges.h"
#include "core/ProgramDirectory.h"
#include "data/CDaoException.h"
#include "data/PgConnection.h"
#include "reminder/CGeburtstagDlg.h"
#include "views/CLoginDlg.h"
#include "views/CServerLoginDlg.h"
#include "views/CViewSplitLeft.h"
#include "widgets/Pictures.h"
#include "widgets/StartupProbe.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

#include <future>

namespace {
CKavioApp* runningApp = nullptr;
}

const char* const CKavioApp::kAlreadyRunning =
    "Vorlanto läuft in diesem Programmverzeichnis bereits (%1).\n\nSoll das laufende "
    "Vorlanto-Fenster nach vorne geholt werden? Mit \"Nein\" startet Vorlanto schreibgeschützt: "
    "Sie können dann lesen und drucken, aber nichts speichern.";

CKavioApp::CKavioApp() {
    runningApp = this;
}

CKavioApp::~CKavioApp() {
    m_mainFrame.reset();
    m_guard.reset();
    if (runningApp == this)
        runningApp = nullptr;
}

CKavioApp* CKavioApp::instance() {
    return runningApp;
}

QString CKavioApp::databasePath() const {
    return QDir(m_programDirectory).filePath(QStringLiteral("Kavio.mde"));
}

namespace {
// What the start-up thread hands back: the reason the database cannot be used (empty when it
// opened) and the background picture.
struct OpenedStart {
    QString databaseError;
    CPictureHolder::Decoded background;
};
} // namespace

bool CKavioApp::enterRequestedDirectory() {
    const QString& folder = m_requestedDirectory;
    const QDir directory(folder);
    const bool hasDatabase = QFileInfo::exists(directory.filePath(QStringLiteral("Kavio.mde"))) ||
                             !serverOf(folder).isEmpty();
    if (!hasDatabase) {
        const QString question =
            QFileInfo(folder).isDir()
                ? QStringLiteral("Im Ordner %1 gibt es keine Vorlanto-Datenbank.\n\nSoll dort eine "
                                 "leere Datenbank angelegt werden?")
                : QStringLiteral("Das Programmverzeichnis %1 gibt es noch nicht.\n\nSoll es mit "
                                 "einer leeren Datenbank angelegt werden?");
        if (!MessageService::askYesNo(nullptr, question.arg(QDir::toNativeSeparators(folder))))
            return false;
        try {
            createProgramDirectory(folder);
        } catch (const CDaoException& error) {
            MessageService::stop(nullptr, error.description());
            return false;
        }
    }
    if (!QDir::setCurrent(folder)) {
        MessageService::stop(nullptr, QStringLiteral("Das Programmverzeichnis %1 kann nicht "
                                                     "geöffnet werden. Abbruch.")
                                          .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    return true;
}

bool CKavioApp::initInstance() {
    // The program directory is the working directory, not the executable's; a folder asked
    // for on the command line becomes the working directory first, so that everything that
    // reads files of the program directory finds them there.
    if (!m_requestedDirectory.isEmpty() && !enterRequestedDirectory())
        return false;
    m_programDirectory = QDir::currentPath();
    const QDir directory(m_programDirectory);
    m_profile.setPath(directory.filePath(QStringLiteral("Kavio.ini")));
    m_serverUri = serverOf(m_programDirectory);

    if (m_serverUri.isEmpty() && !QFileInfo::exists(databasePath())) {
        MessageService::stop(
            nullptr,
            QStringLiteral("Datenbank %1 wurde nicht gefunden. Abbruch.").arg(databasePath()));
        return false;
    }
    if (!guardDirectory())
        return false;

    // While the window is built here, one thread loads the fonts and another reads the
    // navigation pictures (the window waits for them only where it shows one), opens and
    // checks the database and reads the background picture, in the order the window needs
    // them. Nothing here touches the database until that thread is done.
    const QString cacheFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    std::future<void> fonts = std::async(std::launch::async, [] {
        // The window's first text needs the fonts: they load here meanwhile.
        QFontMetricsF(QFont()).horizontalAdvance(QStringLiteral("Datei"));
    });
    std::future<OpenedStart> opening = std::async(
        std::launch::async,
        [this, pictures = Pictures::startPictureTask(CViewSplitLeft::kStartGroup, cacheFolder),
         backgroundPath = directory.filePath(QStringLiteral("bgr1024.jpg")),
         keptBackground = cacheFolder.isEmpty()
                              ? QString()
                              : QDir(cacheFolder).filePath(QStringLiteral("hintergrund.bin"))] {
            pictures();
            OpenedStart opened;
            opened.databaseError = openDatabase();
            if (opened.databaseError.isEmpty())
                opened.databaseError = readLoginRule();
            opened.background = CPictureHolder::decodeKept(backgroundPath, keptBackground);
            return opened;
        });
    m_document = std::make_unique<CKavioDoc>();
    m_mainFrame = std::make_unique<CMainFrame>(*this);
    OpenedStart opened = opening.get();

    const auto giveUp = [this] {
        m_mainFrame.reset();
        m_document.reset();
        return false;
    };
    // A server that wants a name and password asks for them here, once the window is built.
    if (m_openErrorCode == CDaoException::LoginFailed) {
        if (!logInOnServer())
            return giveUp();
        opened.databaseError = readLoginRule();
    }
    if (!opened.databaseError.isEmpty()) {
        MessageService::stop(nullptr, opened.databaseError);
        return giveUp();
    }
    if (!logIn())
        return giveUp();

    refreshUserProfile();
    // The reports print the band's data as it is now.
    QObject::connect(&ChangeNotifier::instance(), &ChangeNotifier::changed, m_mainFrame.get(),
                     [this](ChangeNotifier::Topic topic) {
                         if (topic == ChangeNotifier::Topic::UserData)
                             refreshUserProfile();
                     });
    if (!m_background.take(std::move(opened.background)))
        return giveUp();
    // Without a window manager "maximised" means nothing: cover the screen ourselves.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_mainFrame->setGeometry(screen->availableGeometry());
    m_mainFrame->showMaximized();
    if (m_readOnly)
        m_mainFrame->setWindowTitle(m_mainFrame->windowTitle() +
                                    QStringLiteral(" (schreibgeschützt)"));
    // A later start on this directory brings this window forward.
    QObject::connect(m_guard.get(), &InstanceGuard::raiseRequested, m_mainFrame.get(), [this] {
        if (m_mainFrame->isMinimized())
            m_mainFrame->showMaximized();
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    });
    // Once the main window stands on the screen: which GEMA reports and whose birthdays are due,
    // and from then on what others save on the same database.
    StartupProbe::whenShown(m_mainFrame.get(), [this] {
        new OthersChanges(m_database, m_mainFrame.get());
        CGeburtstagDlg::remindAtStartup(m_database, m_profile, m_programDirectory,
                                        QDate::currentDate(), m_mainFrame.get());
    });
    return true;
}

bool CKavioApp::guardDirectory() {
    m_guard = std::make_unique<InstanceGuard>(m_programDirectory);
    if (m_guard->acquire())
        return true;
    switch (MessageService::askYesNoCancel(
        nullptr,
        QString::fromUtf8(kAlreadyRunning).arg(QDir::toNativeSeparators(m_programDirectory)))) {
    case MessageService::Answer::Yes:
        // The running one shows its window; this one ends.
        m_guard->bringRunningForward();
        return false;
    case MessageService::Answer::No:
        m_readOnly = true;
        return true;
    default:
        return false;
    }
}

void CKavioApp::connectDatabase() {
    if (m_serverUri.isEmpty())
        m_database.open(databasePath());
    else
        m_database.openServer(m_serverUri.toStdString(), m_serverUser, m_serverPassword);
    // The other Vorlanto writes; this one only reads, so that nothing of its is overwritten.
    if (m_readOnly)
        m_database.setReadOnlySession();
    // A server login that may only read works as a program started beside another one.
    else if (!m_serverUri.isEmpty() && m_database.isReadOnly())
        m_readOnly = true;
}

QString CKavioApp::openDatabase() {
    m_openErrorCode = 0;
    try {
        connectDatabase();
    } catch (const CDaoException& error) {
        m_openErrorCode = error.code();
        return error.description().isEmpty()
                   ? QStringLiteral("open error on databse \"%1\". Maybe DAO isn't istalled.")
                         .arg(databasePath())
                   : error.description();
    }
    // On a server the server decides what may be written, and there are no copies to remove.
    if (m_readOnly || !m_serverUri.isEmpty())
        return QString();
    // Every save would fail and the exit maintenance could not run: say so now, once.
    const QString protection = writeProtection(m_database, m_programDirectory);
    if (!protection.isEmpty()) {
        m_database.close();
        return protection;
    }
    // Copies a backup, restore or compaction left when it was stopped midway.
    removeLeftoverCopies(m_programDirectory);
    return QString();
}

QString CKavioApp::readLoginRule() {
    // On a server a person logs in with a role of their own: that is the user.
    if (PgConnection* server = m_database.server()) {
        m_loginRequired = false;
        m_credentials = {server->user(), QString()};
        return QString();
    }
    try {
        m_loginRequired = Credentials::loginRequired(m_database);
        if (!m_loginRequired)
            m_credentials = {Credentials::storedUser(m_database), QString()};
    } catch (const CDaoException& error) {
        // Whether a password is set cannot be told: nobody gets in unasked.
        return error.description();
    }
    return QString();
}

bool CKavioApp::logInOnServer() {
    const ServerAddress address = addressOf(m_serverUri.toStdString());
    CServerLoginDlg login(address.shownName,
                          address.user.isEmpty() ? QString::fromLocal8Bit(qgetenv("USER"))
                                                 : address.user,
                          [this](const QString& user, const QString& password) {
                              m_serverUser = user;
                              m_serverPassword = password;
                              try {
                                  connectDatabase();
                              } catch (const CDaoException& error) {
                                  return error.description();
                              }
                              return QString();
                          });
    if (login.exec() == QDialog::Accepted)
        return true;
    MessageService::stop(nullptr, QStringLiteral("Sie sind zur Benutzung von Vorlanto nicht "
                                                 "berechtigt.\nAuf Wiedersehen."));
    return false;
}

bool CKavioApp::logIn() {
    if (!m_loginRequired)
        return true;
    CLoginDlg login(m_database);
    if (login.exec() != QDialog::Accepted) {
        m_database.close();
        MessageService::stop(nullptr, QStringLiteral("Sie sind zur Benutzung von Vorlanto nicht "
                                                     "berechtigt.\nAuf Wiedersehen."));
        return false;
    }
    m_credentials = login.credentials();
    return true;
}

CDatabase& CKavioApp::database() {
    if (!m_database.isOpen())
        connectDatabase();
    return m_database;
}

QString CKavioApp::restoreDatabase(const QString& copyPath) {
    QString error;
    // On a server the data is replaced through the open connection, which stays as it is (with
    // whatever it listens to); the program's own connection is not counted as another one.
    if (m_database.server()) {
        try {
            Backup::restoreOnServer(m_database, copyPath, Backup::folder(m_programDirectory),
                                    QDateTime::currentDateTime());
        } catch (const CDaoException& failure) {
            error = failure.description();
        }
        refreshUserProfile();
        return error;
    }
    // Our own shared lock would keep the restore from replacing the file.
    m_database.close();
    try {
        Backup::restore(databasePath(), copyPath, Backup::folder(m_programDirectory),
                        QDateTime::currentDateTime());
    } catch (const CDaoException& failure) {
        error = failure.description();
    }
    try {
        connectDatabase();
    } catch (const CDaoException& failure) {
        if (error.isEmpty())
            error = failure.description();
    }
    refreshUserProfile();
    return error;
}

void CKavioApp::refreshUserProfile() {
    try {
        m_userProfile = UserProfile::load(database());
    } catch (const CDaoException& error) {
        MessageService::stop(m_mainFrame.get(), error.description());
    }
}

void CKavioApp::exitInstance() {
    if (!m_mainFrame)
        return;
    // Beside the running Vorlanto nothing is written: no calendars, no maintenance.
    if (m_readOnly) {
        m_database.close();
        m_mainFrame.reset();
        return;
    }
    // The published calendars go out while the database is still open; a failure is left out.
    Calendar::publishAtExit(m_database, m_profile);
    MaintenanceReport report;
    if (m_database.server()) {
        // The server checks and vacuums its database itself; others may still be working on it.
        report = runServerMaintenance(m_database, m_programDirectory,
                                      Backup::readOptions(m_profile), QDateTime::currentDateTime());
        m_database.close();
    } else {
        report = runExitMaintenance(m_database, databasePath());
        backupAfterMaintenance(databasePath(), Backup::readOptions(m_profile),
                               QDateTime::currentDateTime(), report);
    }
    const QString notice = maintenanceNotice(report);
    if (!report.damageNotice.isEmpty())
        MessageService::stop(m_mainFrame.get(), notice);
    else if (!notice.isEmpty())
        MessageService::exclamation(m_mainFrame.get(), notice);
    m_mainFrame.reset();
    // The directory is free for the next start once the maintenance is done.
    m_guard.reset();
}
