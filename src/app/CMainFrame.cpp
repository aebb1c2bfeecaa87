#include "CMainFrame.h"

#include "CKavioApp.h"
#include "CKavioDoc.h"
#include "MessageService.h"
#include "views/CViewEmpty.h"

#include <QCloseEvent>
#include <QMenuBar>

const char* const CMainFrame::kExitQuestion = "Wollen Sie Vorlanto wirklich beenden?";

CMainFrame::CMainFrame(CKavioApp& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_emptyView(new CViewEmpty(app.background(), this)) {
    setWindowTitle(QString::fromUtf8(CKavioDoc::kTitle));
    setCentralWidget(m_emptyView);
    createMenu();
    resize(1024, 768);
}

void CMainFrame::createMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (MessageService::askYesNo(this, QString::fromUtf8(kExitQuestion)))
        event->accept();
    else
        event->ignore();
}
