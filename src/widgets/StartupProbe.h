#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <utility>

// Runs work once a window stands on the screen: the first paint of the window ends, then the
// work runs, so the user sees the window before anything slow happens.
//
// Also times a start: with VORLANTO_EXIT_WHEN_SHOWN set in the environment, the program writes
// the line "shown" to its standard output right after that first paint and ends its event loop
// instead of running the work. The start-up benchmark runs the program and a bare Qt window this
// way, one after the other, and times each from its start to that line. Header only, so that
// the bare window uses the very same probe.
class StartupProbe : public QObject {
public:
    static bool timingStart() { return qEnvironmentVariableIsSet("VORLANTO_EXIT_WHEN_SHOWN"); }

    // Calls `work` (which may be empty) after the first paint of `window`.
    static void whenShown(QWidget* window, std::function<void()> work = {}) {
        auto* probe = new StartupProbe(window, std::move(work));
        probe->setObjectName(QString::fromLatin1(kName));
        window->installEventFilter(probe);
    }

    // Whether work for `window` still waits for its first paint or is running.
    static bool pending(const QWidget* window) {
        return window->findChild<QObject*>(QString::fromLatin1(kName),
                                           Qt::FindDirectChildrenOnly) != nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The children paint in the same pass as their window; once the pass is over the
        // window stands on the screen as the user sees it.
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            if (timingStart()) {
                // Several probes may wait for the same window: the line is written once.
                static bool told = false;
                if (told)
                    return QObject::eventFilter(watched, event);
                told = true;
                QTimer::singleShot(0, qApp, [] {
                    std::fputs("shown\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
                return QObject::eventFilter(watched, event);
            }
            QTimer::singleShot(0, this, [this] {
                const std::function<void()> work = std::move(m_work);
                deleteLater();
                if (work)
                    work();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static constexpr const char* kName = "vorlanto-startup-probe";

    StartupProbe(QWidget* window, std::function<void()> work)
        : QObject(window), m_work(std::move(work)) {}

    std::function<void()> m_work;
    bool m_done = false;
};
