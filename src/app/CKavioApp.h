#pragma once

#include "core/CProfileFile.h"
#include "core/Credentials.h"
#include "core/UserProfile.h"
#include "data/CDatabase.h"
#include "widgets/CPictureHolder.h"

#include <QString>

#include <array>
#include <cstdint>
#include <future>
#include <memory>

class CMainFrame;
class CKavioDoc;
class InstanceGuard;

// The application object: owns the program directory, the background picture, the settings
// file, the main database and the user profile for the whole run, creates the main window and
// runs the database maintenance at exit.
class CKavioApp {
public:
    CKavioApp();
    ~CKavioApp();
    CKavioApp(const CKavioApp&) = delete;
    CKavioApp& operator=(const CKavioApp&) = delete;

    // The running application object (there is one at a time).
    static CKavioApp* instance();

    // Starts in this folder instead of the working directory (`--program-directory`): a folder
    // without a database is created first, after a question, as `vorlanto-tool new` creates it.
    void setRequestedDirectory(const QString& directory) { m_requestedDirectory = directory; }

    // The start-up sequence. Returns false when the program must end; exactly one message has
    // then been shown and no main window exists.
    bool initInstance();
    // The exit maintenance, after the main window has closed.
    void exitInstance();

    // Replaces the database by a copy from the backup folder (the current state is saved as a
    // copy first) and opens it again; on a server, replaces the server's data while no other
    // program is connected. The German reason when it failed; the database is then as it was
    // and open again.
    QString restoreDatabase(const QString& copyPath);

    // The main database, reopened first when it was closed.
    CDatabase& database();
    // The same object as it is, open or not: for the main window, which keeps it for later
    // while the database opens on another thread.
    CDatabase& databaseToKeep() { return m_database; }
    QString databasePath() const;
    const QString& programDirectory() const { return m_programDirectory; }
    CProfileFile& profile() { return m_profile; }
    const CPictureHolder& background() const { return m_background; }
    const UserProfile& userProfile() const { return m_userProfile; }
    void refreshUserProfile();
    CMainFrame* mainFrame() const { return m_mainFrame.get(); }
    // Started read-only beside another Vorlanto on the same program directory: nothing is
    // written, and there is no maintenance at exit.
    bool isReadOnly() const { return m_readOnly; }

    // The user and password of the current login; without a password set, the stored user
    // name and the empty password.
    Credentials& credentials() { return m_credentials; }

    // Colour defaults in 0x00BBGGRR order; index 2 is the list views' background.
    static constexpr std::array<std::uint32_t, 14> kColourDefaults = {
        0xE9E9E9, 0, 0xBFBFBF, 0, 0, 0, 0, 0, 0xFFFFFF, 0, 0, 1, 0xC09E7D, 0};

    static const char* const kAlreadyRunning;

private:
    // Makes the requested folder the working directory, after creating it when it holds no
    // database and the user agrees. False when the program ends (answered "Nein", or the
    // folder could not be created or entered: the user has been told).
    bool enterRequestedDirectory();
    // One Vorlanto per program directory: false when the program ends (the running one was
    // asked to come forward, or the user cancelled); may choose the read-only start.
    bool guardDirectory();
    // Opens the database for this run, with the checks of a start; the German reason when it
    // cannot be used (then it is closed), else empty. Shows nothing: it runs on the start-up
    // thread.
    QString openDatabase();
    // Opens the database, read-only when started so.
    void connectDatabase();
    // Asks for the user name and password when the User row holds a password. False when the
    // login was refused: the user has been told, and the program ends.
    bool logIn();
    // Asks for the server login until it succeeds; false when the person cancelled (told).
    bool logInOnServer();
    // Reads whether a login is needed; without one, the stored user is the user. The German
    // reason when that cannot be told, else empty. Shows nothing: it runs on the start-up
    // thread, and logIn() asks afterwards.
    QString readLoginRule();

    QString m_requestedDirectory;
    QString m_programDirectory;
    CPictureHolder m_background;
    CProfileFile m_profile;
    CDatabase m_database;
    UserProfile m_userProfile;
    Credentials m_credentials;
    std::unique_ptr<CKavioDoc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<InstanceGuard> m_guard;
    bool m_readOnly = false;
    bool m_loginRequired = true;
    // The band database's server ([DATABASE] Server=), empty for the directory's file; the
    // name and password the person logged in with there, empty while libpq's own means serve.
    QString m_serverUri;
    QString m_serverUser;
    QString m_serverPassword;
    int m_openErrorCode = 0; // CDaoException code of the last failed open, 0 after success
};
