#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// One run of vorlanto-tool as a user's script runs it: the arguments, what it reads on standard
// input, and what it gave back. A run that did not end within two minutes has exit code -1.
struct ToolRun {
    int exitCode = -1;
    QString output; // standard output, then standard error
    QString errors; // standard error alone

    // The tool's own message is the last line on standard error; Qt may warn before it.
    QString lastError() const { return errors.trimmed().section(u'\n', -1); }
};

inline ToolRun runTool(const QStringList& arguments, const QByteArray& input = QByteArray()) {
    QProcess process;
    process.start(QStringLiteral(VORLANTO_TOOL_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    ToolRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    const QByteArray out = process.readAllStandardOutput();
    const QByteArray err = process.readAllStandardError();
    run.errors = QString::fromUtf8(err);
    run.output = QString::fromUtf8(out + err);
    return run;
}
