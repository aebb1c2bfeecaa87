#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>

class QTextBrowser;

// The help window: the German manual installed with the program, one page at a time, with
// back, forward and home. There is one help window at a time: asking for a page while it is open
// shows that page in it and brings the window to the front. Links that leave the manual open in
// the system's browser.
class CHelpWindow : public QMainWindow {
    Q_OBJECT
public:
    // Shows a page of the manual, for example "index.html" or "menue.html#datei"; a page the
    // manual does not have shows the start page. A new window belongs to the window of `parent`
    // (it closes with it) but is a window of its own; closing the help window ends it.
    static void showPage(QWidget* parent, const QString& page = QStringLiteral("index.html"));

    // The address of an installed page of the manual; the start page for a name that is not a
    // page of the manual.
    static QUrl pageUrl(const QString& page);

    static const char* const kTitle;

private:
    explicit CHelpWindow(QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void createActions();
    void open(const QUrl& url);

    QTextBrowser* m_browser;
};
