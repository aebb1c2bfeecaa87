// vorlanto-tool print and ics as a script calls them: an unknown event or person is refused with
// a German message and exit code 1 and nothing is written; what the tool writes is laid out as
// the program's PDF files.
#include "../reports/ReportTestSupport.h"

#include "reports/SetListPrint.h"
#include "support/ToolRun.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace ReportTest;

namespace {

class ToolRefusalTest : public ::testing::Test {
protected:
    void SetUp() override { fill(database); }
    QString file(const QString& name) const { return out.filePath(name); }

    TestDatabase database;
    QTemporaryDir out;
};

TEST_F(ToolRefusalTest, PrintRefusesAnUnknownEventForEveryEventReport) {
    for (const char* report : {"gig-rider", "abrechnung", "gema", "setliste"}) {
        const QString pdf = file(QStringLiteral("%1.pdf").arg(QLatin1String(report)));
        const QString dump = file(QStringLiteral("%1.txt").arg(QLatin1String(report)));
        const ToolRun run =
            runTool({QStringLiteral("print"), database.dir(), QStringLiteral("--report"),
                     QLatin1String(report), QStringLiteral("--event"), QStringLiteral("999"),
                     QStringLiteral("--pdf"), pdf, QStringLiteral("--dump"), dump});
        EXPECT_EQ(run.exitCode, 1) << report;
        EXPECT_EQ(run.lastError(), QStringLiteral("Kein Event mit der Nummer 999.")) << report;
        EXPECT_FALSE(QFile::exists(pdf)) << report;
        EXPECT_FALSE(QFile::exists(dump)) << report;
    }
}

TEST_F(ToolRefusalTest, GigUpdateRefusesAPersonThatIsNotOfItsKind) {
    // 11 is a PA firm, 10 a technician firm; musician 99 does not exist.
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{QStringLiteral("--musician"), QStringLiteral("99")},
         QStringLiteral("Kein Musiker mit der Nummer 99.")},
        {{QStringLiteral("--musician"), QStringLiteral("1"), QStringLiteral("--technician"),
          QStringLiteral("11")},
         QStringLiteral("Kein Techniker mit der Nummer 11.")},
        {{QStringLiteral("--backliner"), QStringLiteral("10")},
         QStringLiteral("Kein Backliner mit der Nummer 10.")},
    };
    const QString pdf = file(QStringLiteral("update.pdf"));
    for (const auto& [people, message] : cases) {
        const ToolRun run =
            runTool(QStringList{QStringLiteral("print"), database.dir(), QStringLiteral("--report"),
                                QStringLiteral("gig-update"), QStringLiteral("--from"),
                                QStringLiteral("01.03.2024"), QStringLiteral("--pdf"), pdf} +
                    people);
        EXPECT_EQ(run.exitCode, 1) << message.toStdString();
        EXPECT_EQ(run.lastError(), message);
        EXPECT_FALSE(QFile::exists(pdf));
    }
    // The technician by its own kind prints.
    const ToolRun known = runTool(
        {QStringLiteral("print"), database.dir(), QStringLiteral("--report"),
         QStringLiteral("gig-update"), QStringLiteral("--from"), QStringLiteral("01.03.2024"),
         QStringLiteral("--technician"), QStringLiteral("10"), QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(known.exitCode, 0) << known.lastError().toStdString();
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(ToolRefusalTest, CalendarExportRefusesAFirmOfAnotherKind) {
    const QString ics = file(QStringLiteral("termine.ics"));
    const ToolRun refused =
        runTool({QStringLiteral("ics"), database.dir(), QStringLiteral("--technician"),
                 QStringLiteral("11"), QStringLiteral("--out"), ics});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.lastError(), QStringLiteral("Kein Techniker mit der Nummer 11."));
    EXPECT_FALSE(QFile::exists(ics));
    // Nothing was counted as exported either.
    EXPECT_EQ(database.count("X_Kalender_Event"), 0);

    const ToolRun exported =
        runTool({QStringLiteral("ics"), database.dir(), QStringLiteral("--technician"),
                 QStringLiteral("10"), QStringLiteral("--out"), ics});
    EXPECT_EQ(exported.exitCode, 0) << exported.lastError().toStdString();
    EXPECT_TRUE(QFile::exists(ics));
}

TEST_F(ToolRefusalTest, TheDumpIsLaidOutAsTheProgramsPdfFiles) {
    const QString dump = file(QStringLiteral("setliste.txt"));
    const ToolRun run =
        runTool({QStringLiteral("print"), database.dir(), QStringLiteral("--report"),
                 QStringLiteral("setliste"), QStringLiteral("--event"), QStringLiteral("1"),
                 QStringLiteral("--dump"), dump});
    ASSERT_EQ(run.exitCode, 0) << run.lastError().toStdString();
    QFile written(dump);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const Report::Document expected = SetListPrint::render(
        database.db(), 1, UserProfile::load(database.db()), PageMetrics::pdf());
    EXPECT_EQ(QString::fromUtf8(written.readAll()), Report::dump(expected));
}

} // namespace
