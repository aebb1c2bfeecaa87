#include "OverviewCommand.h"

#include "core/BaseData.h"
#include "core/CProfileFile.h"
#include "core/FinanceModel.h"
#include "core/ProgramDirectory.h"
#include "core/UserProfile.h"
#include "core/YearOverview.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "reports/PageRenderer.h"
#include "reports/YearOverviewReport.h"
#include "widgets/YearChart.h"

#include "ProgramDatabase.h"
#include <QApplication>

#include <QDir>

#include <cstdio>

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return 2;
}

int usage() {
    return fail(
        QStringLiteral("Aufruf:\n  vorlanto-tool overview VERZEICHNIS --year JJJJ --pdf DATEI"));
}

int overview(const QStringList& args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return usage();
    const QString directory = args.first();
    QString pdf;
    int year = 0;
    for (int i = 1; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            return usage();
        const QString& option = args[i];
        const QString value = args[++i];
        if (option == QLatin1String("--pdf")) {
            pdf = value;
        } else if (option == QLatin1String("--year")) {
            bool ok = false;
            year = value.toInt(&ok);
            if (!ok || year < 1900 || year > 9999)
                return fail(QStringLiteral("Ungültiges Jahr: %1").arg(value));
        } else {
            return usage();
        }
    }
    if (pdf.isEmpty() || year == 0)
        return usage();
    CDatabase db;
    if (const QString missing = ProgramDatabase::open(db, directory); !missing.isEmpty())
        return fail(missing);
    const CProfileFile profile(QDir(directory).filePath(QStringLiteral("Kavio.ini")));
    const Finance::VatMode mode = Finance::vatMode(profile);
    const BaseData base = BaseData::read(db);
    const YearOverview::Year now = YearOverview::compute(db, year, base, mode);
    const YearOverview::Year before = YearOverview::compute(db, year - 1, base, mode);
    const Report::Document document = YearOverviewReport::render(
        now, before, Finance::modeText(mode), UserProfile::load(db).band,
        YearChart::picture(
            now, before, QSize(YearOverviewReport::kChartWidth, YearOverviewReport::kChartHeight)));
    QString error;
    if (!Report::writePdf(document, pdf, &error))
        return fail(error);
    std::printf("Gigs %d: %d, Seiten: %d\n", year, now.total.gigCount(), document.pageCount());
    return 0;
}

} // namespace

int runOverviewCommand(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        return overview(QApplication::arguments().mid(2));
    } catch (const CDaoException& error) {
        std::fprintf(stderr, "%s\n", error.description().toUtf8().constData());
        return 1;
    }
}
