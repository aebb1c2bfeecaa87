// The manual and its window: every page loads with a title, readable umlauts and its style
// sheet; every link inside the manual leads to a page and a place on it that exist; every page
// can be reached from the start page. The window is one and reused, goes back, forward and home,
// shows the start page for a page the manual does not have, and closes with Escape.
#include "views/CHelpWindow.h"

#include "core/InstalledData.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// What a reader finds on one page, as QTextBrowser shows it.
struct Page {
    QString title;
    QString text;
    QStringList links;
    QSet<QString> anchors;
    bool headingStyled = false;
};

Page load(const QUrl& url) {
    QTextBrowser browser;
    browser.setSource(url);
    Page page;
    page.title = browser.documentTitle();
    page.text = browser.toPlainText();
    const QTextDocument* document = browser.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 1 &&
            block.charFormat().foreground().style() != Qt::NoBrush)
            page.headingStyled = true;
        // An empty <a name> before a heading names the heading's block.
        if (block.charFormat().isAnchor())
            for (const QString& name : block.charFormat().anchorNames())
                page.anchors.insert(name);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isAnchor())
                continue;
            if (!format.anchorHref().isEmpty())
                page.links << format.anchorHref();
            for (const QString& name : format.anchorNames())
                page.anchors.insert(name);
        }
    }
    return page;
}

// The pages of the manual as they are installed beside the program.
QStringList manualPages() {
    return QDir(InstalledData::helpDirectory())
        .entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

bool isExternal(const QUrl& url) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto");
}

QString fileOf(const QUrl& url) {
    return QFileInfo(url.path()).fileName();
}

TEST(HelpManual, EveryPageLoadsWithItsOwnTitleReadableTextAndStyle) {
    const QStringList pages = manualPages();
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html")));
    ASSERT_GE(pages.size(), 5);
    EXPECT_TRUE(QFileInfo::exists(InstalledData::helpDirectory() + QStringLiteral("/help.css")));

    QSet<QString> titles;
    for (const QString& name : pages) {
        SCOPED_TRACE(name.toStdString());
        const Page page = load(CHelpWindow::pageUrl(name));
        EXPECT_FALSE(page.title.trimmed().isEmpty());
        EXPECT_FALSE(titles.contains(page.title))
            << "title used twice: " << page.title.toStdString();
        titles.insert(page.title);
        EXPECT_GT(page.text.size(), 500);
        // Umlauts arrive as umlauts, not as replacement characters or mis-decoded bytes.
        EXPECT_FALSE(page.text.contains(QChar(0xFFFD)));
        EXPECT_FALSE(page.text.contains(QStringLiteral("Ã")));
        EXPECT_TRUE(page.headingStyled) << "the style sheet did not reach the page";
        // Every other page leads back to the start page.
        if (name != QLatin1String("index.html")) {
            EXPECT_TRUE(page.links.contains(QStringLiteral("index.html")));
        }
    }
    EXPECT_TRUE(load(CHelpWindow::pageUrl(QStringLiteral("menue.html")))
                    .title.contains(QStringLiteral("Menüs")));
}

TEST(HelpManual, EveryLinkLeadsToAnExistingPageAndPlace) {
    QHash<QString, QSet<QString>> anchorsOf;
    const QStringList pages = manualPages();
    for (const QString& name : pages)
        anchorsOf.insert(name, load(CHelpWindow::pageUrl(name)).anchors);

    int checked = 0;
    for (const QString& name : pages) {
        const QUrl base = CHelpWindow::pageUrl(name);
        for (const QString& link : load(base).links) {
            SCOPED_TRACE((name + QStringLiteral(" -> ") + link).toStdString());
            const QUrl target = base.resolved(QUrl(link));
            if (isExternal(target))
                continue; // opens in the system's browser
            ++checked;
            ASSERT_TRUE(target.isLocalFile());
            EXPECT_TRUE(QFileInfo::exists(target.toLocalFile()));
            if (target.hasFragment()) {
                EXPECT_TRUE(anchorsOf.value(fileOf(target)).contains(target.fragment()));
            }
        }
    }
    EXPECT_GT(checked, 50);
}

TEST(HelpManual, EveryPageCanBeReachedFromTheStartPage) {
    const QStringList pages = manualPages();
    QSet<QString> reached{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QUrl base = CHelpWindow::pageUrl(queue.takeFirst());
        for (const QString& link : load(base).links) {
            const QUrl target = base.resolved(QUrl(link));
            const QString file = fileOf(target);
            if (target.isLocalFile() && !reached.contains(file)) {
                reached.insert(file);
                queue << file;
            }
        }
    }
    for (const QString& name : pages)
        EXPECT_TRUE(reached.contains(name)) << name.toStdString() << " cannot be reached";
}

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (CHelpWindow* window : windows())
            delete window;
    }

    // The help windows that exist now.
    static QList<CHelpWindow*> windows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<CHelpWindow*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<CHelpWindow*>(widget))
                found << window;
        return found;
    }

    static CHelpWindow* onlyWindow() {
        const QList<CHelpWindow*> found = windows();
        EXPECT_EQ(found.size(), 1);
        return found.isEmpty() ? nullptr : found.first();
    }

    static QUrl shownUrl(CHelpWindow* window) {
        return window->findChild<QTextBrowser*>()->source();
    }

    static QString shownPage(CHelpWindow* window) { return fileOf(shownUrl(window)); }

    static QAction* action(CHelpWindow* window, const char* name) {
        QAction* found = window->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(HelpWindowTest, OneWindowShowsEachAskedPage) {
    CHelpWindow::showPage(nullptr, QStringLiteral("menue.html"));
    CHelpWindow* window = onlyWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vorlanto – Hilfe"));
    EXPECT_EQ(shownPage(window), QStringLiteral("menue.html"));

    CHelpWindow::showPage(nullptr, QStringLiteral("einstellungen.html#mwst"));
    EXPECT_EQ(onlyWindow(), window);
    EXPECT_EQ(shownPage(window), QStringLiteral("einstellungen.html"));
    EXPECT_EQ(shownUrl(window).fragment(), QStringLiteral("mwst"));

    // Without a page name: the start page.
    CHelpWindow::showPage(nullptr);
    EXPECT_EQ(onlyWindow(), window);
    EXPECT_EQ(shownPage(window), QStringLiteral("index.html"));
}

TEST_F(HelpWindowTest, GoesBackForwardAndHome) {
    CHelpWindow::showPage(nullptr, QStringLiteral("hauptfenster.html"));
    CHelpWindow* window = onlyWindow();
    ASSERT_NE(window, nullptr);
    QAction* back = action(window, "helpBack");
    QAction* forward = action(window, "helpForward");
    QAction* home = action(window, "helpHome");
    ASSERT_TRUE(back && forward && home);
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());

    // Showing the page that is shown already adds no step to go back to.
    CHelpWindow::showPage(nullptr, QStringLiteral("hauptfenster.html"));
    EXPECT_FALSE(back->isEnabled());

    CHelpWindow::showPage(nullptr, QStringLiteral("tastatur.html"));
    ASSERT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(shownPage(window), QStringLiteral("hauptfenster.html"));
    EXPECT_FALSE(back->isEnabled());
    ASSERT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_EQ(shownPage(window), QStringLiteral("tastatur.html"));

    home->trigger();
    EXPECT_EQ(shownPage(window), QStringLiteral("index.html"));
    back->trigger();
    EXPECT_EQ(shownPage(window), QStringLiteral("tastatur.html"));
}

TEST_F(HelpWindowTest, APageTheManualDoesNotHaveShowsTheStartPage) {
    for (const char* page :
         {"gibtsnicht.html", "", "help.css", "../help/index.html#x", "https://example.org/",
          "qrc:/other/index.html", "file:///tmp/index.html", "../../index.html"}) {
        SCOPED_TRACE(page);
        CHelpWindow::showPage(nullptr, QString::fromUtf8(page));
        CHelpWindow* window = onlyWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(shownUrl(window).adjusted(QUrl::RemoveFragment),
                  CHelpWindow::pageUrl(QStringLiteral("index.html")));
    }
}

TEST_F(HelpWindowTest, ClosedWindowIsGoneAndOpensAgain) {
    CHelpWindow::showPage(nullptr, QStringLiteral("menue.html"));
    QPointer<CHelpWindow> first = onlyWindow();
    ASSERT_TRUE(first);
    first->close();
    // Asked for a page before the closed window is gone: a new window shows it.
    CHelpWindow::showPage(nullptr, QStringLiteral("tastatur.html"));
    CHelpWindow* second = onlyWindow();
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(shownPage(second), QStringLiteral("tastatur.html"));
    EXPECT_FALSE(action(second, "helpBack")->isEnabled());
}

TEST_F(HelpWindowTest, EscapeClosesTheWindow) {
    CHelpWindow::showPage(nullptr, QStringLiteral("menue.html"));
    QPointer<CHelpWindow> window = onlyWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->findChild<QTextBrowser*>(), Qt::Key_Escape);
    EXPECT_TRUE(windows().isEmpty());
}

TEST_F(HelpWindowTest, WindowOfItsOwnThatEndsWithTheMainWindow) {
    auto* mainWindow = new QWidget;
    mainWindow->show();
    CHelpWindow::showPage(mainWindow, QStringLiteral("index.html"));
    QPointer<CHelpWindow> window = onlyWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), mainWindow);

    // Closing the main window closes the help; showing the main window again does not bring
    // the closed help back, asking for a page opens a fresh one.
    mainWindow->close();
    mainWindow->show();
    EXPECT_TRUE(windows().isEmpty());
    EXPECT_TRUE(window.isNull());

    // Destroying it as well.
    CHelpWindow::showPage(mainWindow, QStringLiteral("menue.html"));
    window = onlyWindow();
    ASSERT_TRUE(window);
    delete mainWindow;
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(windows().isEmpty());
}

} // namespace
