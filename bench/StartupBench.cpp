// Measures the start of Vorlanto against a bare Qt main window: both programs are started in
// turn, offscreen, and say "shown" once their window has been painted (StartupProbe); each run
// is timed from starting the process to that line, then the process ends untimed. Vorlanto starts
// on a program directory with 10,000 generated events and on one with the example data. Ends with
// "figure startup_10k <ratio>" and "figure startup_example <ratio>": each run of Vorlanto is
// paired with the bare window's run right after it, and the figure is the median of the pairs'
// ratios, so that the machine's speed drifting between pairs does not move it.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 41;

QString program(const char* name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
}

bool makeDirectory(const QString& directory, const QStringList& options) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(program("vorlanto-tool"), QStringList{QStringLiteral("new"), directory} + options);
    return tool.waitForFinished(600000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

// Milliseconds from starting the process until its window was painted, or -1 when it failed.
double timedRun(const QString& executable, const QString& directory) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORLANTO_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(directory);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(executable, {});
    QByteArray output;
    while (!output.contains("shown\n") && process.waitForReadyRead(60000))
        output += process.readAllStandardOutput();
    const bool shown = output.contains("shown\n");
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0 || !shown) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Alternating runs, one of each unmeasured first; false when a run failed.
bool compare(const char* figure, const QString& directory) {
    const QString vorlanto = program("vorlanto");
    const QString bare = program("bare_window");
    timedRun(vorlanto, directory);
    timedRun(bare, directory);
    std::vector<double> vorlantoMs;
    std::vector<double> bareMs;
    std::vector<double> ratios;
    for (int run = 0; run < kRuns; ++run) {
        vorlantoMs.push_back(timedRun(vorlanto, directory));
        bareMs.push_back(timedRun(bare, directory));
        if (vorlantoMs.back() < 0 || bareMs.back() < 0) {
            std::fprintf(stderr, "A timed start failed in %s.\n", qPrintable(directory));
            return false;
        }
        ratios.push_back(vorlantoMs.back() / bareMs.back());
    }
    std::printf("%s: Vorlanto %.1f ms, bare Qt window %.1f ms (medians of %d alternating runs)\n",
                figure, median(vorlantoMs), median(bareMs), kRuns);
    std::printf("figure %s %.2f\n", figure, median(ratios));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir root;
    const QString generated = QDir(root.path()).filePath(QStringLiteral("10k"));
    const QString example = QDir(root.path()).filePath(QStringLiteral("beispiel"));
    if (!makeDirectory(generated, {QStringLiteral("--events"), QStringLiteral("10000")}) ||
        !makeDirectory(example, {QStringLiteral("--demo")})) {
        std::fprintf(stderr, "The program directories could not be made.\n");
        return 1;
    }
    return compare("startup_10k", generated) && compare("startup_example", example) ? 0 : 1;
}
