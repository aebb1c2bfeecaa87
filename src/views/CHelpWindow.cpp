#include "CHelpWindow.h"

#include "core/InstalledData.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

const char* const CHelpWindow::kTitle = "Vorlanto – Hilfe";

namespace {

const char* const kStartPage = "index.html";

// The one help window, while it exists.
QPointer<CHelpWindow> g_helpWindow;

// The desktop's own icon where it has one.
QIcon icon(const QWidget* widget, const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(themeName), widget->style()->standardIcon(fallback));
}

} // namespace

QUrl CHelpWindow::pageUrl(const QString& page) {
    const QString folder = InstalledData::helpDirectory() + QLatin1Char('/');
    const QUrl base = QUrl::fromLocalFile(folder);
    const QUrl url = base.resolved(QUrl(page));
    const QString path = url.toLocalFile();
    const bool isPage = url.isLocalFile() && path.startsWith(folder) &&
                        path.endsWith(QLatin1String(".html")) && QFileInfo::exists(path);
    return isPage ? url : base.resolved(QUrl(QLatin1String(kStartPage)));
}

void CHelpWindow::showPage(QWidget* parent, const QString& page) {
    const QUrl url = pageUrl(page);
    // A closed window is on its way out even before it is deleted.
    if (!g_helpWindow || !g_helpWindow->isVisible())
        g_helpWindow = new CHelpWindow(parent ? parent->window() : nullptr);
    CHelpWindow* window = g_helpWindow;
    window->open(url);
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

CHelpWindow::CHelpWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    // An open help window does not keep the program running after the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QString::fromUtf8(kTitle));

    // Pages of the manual open here; other addresses go to the system's browser.
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);
    createActions();
    resize(840, 680);
    if (parent)
        parent->installEventFilter(this);
}

bool CHelpWindow::eventFilter(QObject* watched, QEvent* event) {
    // The main window closing (not one minimised by the desktop) takes the help with it.
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous())
        close();
    return QMainWindow::eventFilter(watched, event);
}

void CHelpWindow::createActions() {
    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("helpToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    QAction* back = bar->addAction(icon(this, "go-previous", QStyle::SP_ArrowBack),
                                   QStringLiteral("Zurück"), m_browser, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("helpBack"));
    back->setToolTip(QStringLiteral("Zurück zur vorigen Seite (Alt+Pfeil links)"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);

    QAction* forward = bar->addAction(icon(this, "go-next", QStyle::SP_ArrowForward),
                                      QStringLiteral("Vor"), m_browser, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("helpForward"));
    forward->setToolTip(QStringLiteral("Wieder vor zur nächsten Seite (Alt+Pfeil rechts)"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    QAction* home =
        bar->addAction(icon(this, "go-home", QStyle::SP_DirHomeIcon), QStringLiteral("Startseite"),
                       this, [this] { open(pageUrl(QLatin1String(kStartPage))); });
    home->setObjectName(QStringLiteral("helpHome"));
    home->setToolTip(QStringLiteral("Zur Startseite der Hilfe (Alt+Pos1)"));
    home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    // Keys without a button: larger and smaller text, and Escape to close.
    QAction* larger = new QAction(QStringLiteral("Schrift größer"), this);
    larger->setShortcut(QKeySequence::ZoomIn);
    connect(larger, &QAction::triggered, m_browser, [this] { m_browser->zoomIn(1); });
    QAction* smaller = new QAction(QStringLiteral("Schrift kleiner"), this);
    smaller->setShortcut(QKeySequence::ZoomOut);
    connect(smaller, &QAction::triggered, m_browser, [this] { m_browser->zoomOut(1); });
    QAction* closeAction = new QAction(QStringLiteral("Hilfe schließen"), this);
    closeAction->setObjectName(QStringLiteral("helpClose"));
    closeAction->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addActions({larger, smaller, closeAction});
}

void CHelpWindow::open(const QUrl& url) {
    // Without its installed pages the window says so instead of staying empty.
    if (!QFileInfo::exists(url.toLocalFile())) {
        m_browser->setPlainText(InstalledData::missingMessage(url.toLocalFile()));
        return;
    }
    // Asking again for the page on show adds no step to the history.
    if (m_browser->source() != url)
        m_browser->setSource(url);
}
