#include "CMainFrame.h"

#include "CKavioApp.h"
#include "CKavioDoc.h"
#include "CMainMenu.h"
#include "FormRegistry.h"
#include "ReportCommands.h"
#include "core/ListKinds.h"
#include "core/MessageService.h"
#include "resources/Strings.h"
#include "views/CMultiViewSplitter.h"
#include "views/CViewEmpty.h"
#include "views/CViewSplitLeft.h"
#include "views/CViewSplitRight.h"
#include "views/Navigation.h"
#include "views/ReportPrinting.h"
#include "widgets/Pictures.h"

#include <QCloseEvent>
#include <QShortcut>

CMainFrame::CMainFrame(CKavioApp& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_navigation(new CViewSplitLeft),
      m_emptyView(new CViewEmpty(app.background())),
      m_splitter(new CMultiViewSplitter(
          m_navigation, m_emptyView, [this](int which) { return makeListView(which); }, this)) {
    setWindowTitle(QString::fromUtf8(CKavioDoc::kTitle));
    setWindowIcon(Pictures::applicationIcon());
    setCentralWidget(m_splitter);
    resize(1024, 768);
    m_forms =
        std::make_unique<FormRegistry>(app.databaseToKeep(), app.profile(), app.programDirectory());
    m_menu = new CMainMenu(*this);
    ReportPrinting::setPrinterSource(this, [this] { return &printer(); });

    connect(m_navigation, &CViewSplitLeft::groupSelected, this, &CMainFrame::onGroupSelected);
    connect(m_navigation, &CViewSplitLeft::listButtonSelected, this,
            &CMainFrame::onListButtonSelected);

    // The Delete key deletes the selected entry of the list shown.
    auto* deleteKey = new QShortcut(QKeySequence::Delete, this);
    connect(deleteKey, &QShortcut::activated, this, [this] {
        if (m_preview)
            return; // the list stands hidden behind a report's preview
        if (CViewSplitRight* view = currentListView())
            view->onDelete();
    });
}

CMainFrame::~CMainFrame() {
    // The printer goes with the menu; forms printing later must not reach it.
    ReportPrinting::releasePrinterSource(this);
}

CViewSplitRight* CMainFrame::makeListView(int which) {
    auto* view = new CViewSplitRight(m_app.databaseToKeep(), m_app.profile());
    (which == 2 ? m_eventViews : m_addressViews) = view;
    view->setFormOpener([this](QWidget* parent, int listKind, std::int32_t key) {
        // The print list's entries open no form: they are printed.
        if (listKind == ListKind::Print)
            return m_menu->reports().printEvent(key);
        return m_forms->openList(parent, listKind, key);
    });
    // "&Ende" hides the list: the commands that act on its entries have nothing left to
    // act on, so none of them may delete or edit an entry the user no longer sees.
    connect(view, &CViewSplitRight::endRequested, this, [this] {
        setFlags({});
        m_navigation->setSelectedListButton(-1);
        showView(1);
    });
    return view;
}

CViewSplitRight* CMainFrame::listView(int which) const {
    return static_cast<CViewSplitRight*>(m_splitter->view(which));
}

void CMainFrame::navigate(int group, int listButton) {
    // Choosing a list leaves a report's preview.
    if (m_preview)
        m_menu->reports().closePreview();
    m_navigation->clickGroup(group);
    if (listButton >= 0 && listButton <= 6)
        m_navigation->clickListButton(listButton);
}

void CMainFrame::showView(int which, int listKind) {
    // The list being hidden keeps its column widths, so the next list reads them as left.
    CViewSplitRight* leaving = currentListView();
    if (leaving && leaving != m_splitter->view(which))
        leaving->saveWidths();
    if (which == 2 || which == 3)
        listView(which)->setListKind(listKind);
    m_splitter->showView(which);
}

CViewSplitRight* CMainFrame::currentListView() const {
    switch (m_splitter->currentView()) {
    case 2:
        return m_eventViews;
    case 3:
        return m_addressViews;
    default:
        return nullptr;
    }
}

void CMainFrame::requestListRefresh(int, std::int32_t) {
    if (CViewSplitRight* view = currentListView())
        view->refreshList();
}

void CMainFrame::onGroupSelected(int) {
    setFlags({});
    showView(1);
}

void CMainFrame::onListButtonSelected(int group, int button) {
    const NavigationStep step = navigationStep(group, button);
    Flags flags;
    flags.eventEdit = flags.eventDelete = flags.eventPlan = step.eventFlags;
    flags.accounting = step.accountingFlag;
    setFlags(flags);
    if (step.view == 1)
        m_navigation->setSelectedListButton(-1);
    showView(step.view, step.listKind);
}

void CMainFrame::setFlags(const Flags& flags) {
    m_flags = flags;
    m_menu->updateEnabling();
}

QPrinter& CMainFrame::printer() const {
    return m_menu->printer();
}

void CMainFrame::setReportPreview(QWidget* preview) {
    if (preview == m_preview)
        return;
    // The widget taken out stays alive: the panes come back, the preview's owner deletes it.
    // The panes stay children of the window while hidden, so they go with it.
    QWidget* taken = takeCentralWidget();
    if (taken == m_splitter) {
        m_splitter->setParent(this);
        m_splitter->hide();
    }
    m_preview = preview;
    QWidget* shown = preview ? preview : static_cast<QWidget*>(m_splitter);
    setCentralWidget(shown);
    shown->show();
    // While the preview stands in, the hidden list and the commands on its entries rest.
    m_splitter->setEnabled(!preview);
    m_menu->updateEnabling();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (MessageService::askYesNo(this, QString::fromUtf8(Strings::kExitQuestion)))
        event->accept();
    else
        event->ignore();
}
