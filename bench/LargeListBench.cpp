// The event list of a database with 100,000 events: the time from choosing the list until it is
// painted with its rows ("figure event_list_fill_100k_ms", fastest of five), and the memory the
// process holds while the list is shown ("figure rss_100k_mb", resident set). The database is
// made by vorlanto-tool in a process of its own, so that making it leaves nothing in this one;
// every event gets one of five musicians, so that double bookings are marked too.

#include "core/CProfileFile.h"
#include "core/ListKinds.h"
#include "data/CDatabase.h"
#include "views/CViewSplitRight.h"
#include "widgets/CReportListModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kEvents = 100000;
constexpr int kRuns = 5;

bool makeDirectory(const QString& directory) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vorlanto-tool")),
        {QStringLiteral("new"), directory, QStringLiteral("--events"), QString::number(kEvents)});
    return tool.waitForFinished(600000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

// A line of /proc/self/status in megabytes ("VmRSS", "VmHWM").
double statusMb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir root;
    const QString directory = QDir(root.path()).filePath(QStringLiteral("100k"));
    if (!makeDirectory(directory)) {
        std::fprintf(stderr, "The program directory could not be made.\n");
        return 1;
    }
    CDatabase db;
    db.open(QDir(directory).filePath(QStringLiteral("Kavio.mde")));
    db.execute(R"(INSERT INTO "T_Event_Besetzung" ("EventID", "MusikerID") )"
               R"(SELECT "EventID", 1 + "EventID" % 5 FROM "T_Event" WHERE "EventID" > 0)");
    CProfileFile profile(QDir(directory).filePath(QStringLiteral("Kavio.ini")));

    CViewSplitRight view(db, profile);
    view.resize(1100, 650);
    view.show();
    QApplication::processEvents();
    std::printf("resident before the list: %.1f MB\n", statusMb("VmRSS"));
    double fastest = -1;
    double residentMb = -1;
    for (int run = 0; run < kRuns; ++run) {
        view.setListKind(ListKind::Musicians);
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        view.setListKind(ListKind::Events);
        view.repaint();
        QApplication::processEvents();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (view.model()->rowCount() != kEvents) {
            std::fprintf(stderr, "The list shows %d events instead of %d.\n",
                         view.model()->rowCount(), kEvents);
            return 1;
        }
        fastest = fastest < 0 ? ms : std::min(fastest, ms);
        residentMb = std::max(residentMb, statusMb("VmRSS"));
        std::printf("event list of %d events shown in %.1f ms, %.1f MB resident\n", kEvents, ms,
                    statusMb("VmRSS"));
    }
    std::printf("peak resident set: %.1f MB\n", statusMb("VmHWM"));
    std::printf("figure event_list_fill_100k_ms %.0f\n", fastest);
    std::printf("figure rss_100k_mb %.0f\n", residentMb);
    return 0;
}
