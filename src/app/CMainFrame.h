#pragma once

#include <QMainWindow>

class CKavioApp;
class CViewEmpty;

// The main window: title "Vorlanto 2.0", asks before the program ends.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CKavioApp& app, QWidget* parent = nullptr);

    static const char* const kExitQuestion;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenu();

    CKavioApp& m_app;
    CViewEmpty* m_emptyView;
};
