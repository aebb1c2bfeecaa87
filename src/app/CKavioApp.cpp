#include "CKavioApp.h"

#include "CKavioDoc.h"
#include "CMainFrame.h"
#include "core/ExitMaintenance.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {
CKavioApp* runningApp = nullptr;
}

CKavioApp::CKavioApp() {
    runningApp = this;
}

CKavioApp::~CKavioApp() {
    m_mainFrame.reset();
    if (runningApp == this)
        runningApp = nullptr;
}

CKavioApp* CKavioApp::instance() {
    return runningApp;
}

QString CKavioApp::databasePath() const {
    return QDir(m_programDirectory).filePath(QStringLiteral("Kavio.mde"));
}

bool CKavioApp::initInstance() {
    // The program directory is the working directory, not the executable's.
    m_programDirectory = QDir::currentPath();
    const QDir directory(m_programDirectory);

    if (!m_background.load(directory.filePath(QStringLiteral("bgr1024.jpg"))))
        return false;

    m_profile.setPath(directory.filePath(QStringLiteral("Kavio.ini")));

    if (!QFileInfo::exists(databasePath())) {
        MessageService::stop(
            nullptr,
            QStringLiteral("Datenbank %1 wurde nicht gefunden. Abbruch.").arg(databasePath()));
        return false;
    }
    if (!openDatabase())
        return false;

    m_document = std::make_unique<CKavioDoc>();
    m_mainFrame = std::make_unique<CMainFrame>(*this);

    refreshUserProfile();
    // Without a window manager "maximised" means nothing: cover the screen ourselves.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_mainFrame->setGeometry(screen->availableGeometry());
    m_mainFrame->showMaximized();
    // The birthday reminder is shown here once it exists.
    return true;
}

bool CKavioApp::openDatabase() {
    try {
        m_database.open(databasePath());
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr,
                             error.description().isEmpty()
                                 ? QStringLiteral("open error on databse \"%1\". Maybe DAO isn't "
                                                  "istalled.")
                                       .arg(databasePath())
                                 : error.description());
        return false;
    }
    // Every save would fail and the exit maintenance could not run: say so now, once.
    const bool folderWritable = QFileInfo(m_programDirectory).isWritable();
    if (m_database.isReadOnly() || !folderWritable) {
        m_database.close();
        MessageService::stop(nullptr,
                             QStringLiteral("Die Datenbank %1 ist schreibgeschützt. Vorlanto "
                                            "braucht Schreibrechte für die Datei und ihren Ordner. "
                                            "Abbruch.")
                                 .arg(databasePath()));
        return false;
    }
    return true;
}

CDatabase& CKavioApp::database() {
    if (!m_database.isOpen())
        m_database.open(databasePath());
    return m_database;
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
    const MaintenanceReport report = runExitMaintenance(m_database, databasePath());
    const QString notice = maintenanceNotice(report);
    if (!report.damageNotice.isEmpty())
        MessageService::stop(m_mainFrame.get(), notice);
    else if (!notice.isEmpty())
        MessageService::exclamation(m_mainFrame.get(), notice);
    m_mainFrame.reset();
}
