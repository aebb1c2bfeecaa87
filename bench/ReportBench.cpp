// Measures the Gig-Update of 2,000 events written to PDF (query, page recording and replay)
// against writing the same strings at the same positions straight with QPdfWriter. Ends with
// "figure gigupdate_pdf_2000 <ratio>".

#include "BenchSupport.h"
#include "core/GigUpdateSelection.h"
#include "core/UserProfile.h"
#include "data/CDatabase.h"
#include "data/DatabaseFactory.h"
#include "reports/GigUpdateReport.h"
#include "reports/PageRenderer.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <string>

namespace {

constexpr int kEvents = 2000;

struct Fixture {
    QTemporaryDir dir;
    CDatabase db;
    GigUpdate::Selection selection;
    UserProfile user;
    QString pdf;

    Fixture() {
        const QString file = QDir(dir.path()).filePath(QStringLiteral("Kavio.mde"));
        createDatabase(file);
        db.open(file);
        db.execute("BEGIN");
        db.execute("INSERT INTO \"User\" (\"Band\", \"Vorname\", \"Name\", \"Tel\", \"Email\", "
                   "\"Homepage\") VALUES ('Die Kranichtaler', 'Korbinian', 'Brandl', '089 1', "
                   "'post@kranichtaler.example', 'www.kranichtaler.example')");
        for (int i = 0; i < kEvents; ++i) {
            const QDate day = QDate(2024, 1, 1).addDays(i % 366);
            db.execute(QStringLiteral("INSERT INTO \"T_Event\" (\"EBeginn\", \"EArt\", "
                                      "\"ELocation\", \"EOrt\", \"Status\") VALUES ('%1 20:00:00', "
                                      "'Hochzeit', 'Gasthof zur Post, Saal %2', 'Lindenfeld', %3)")
                           .arg(day.toString(QStringLiteral("yyyy-MM-dd")))
                           .arg(i)
                           .arg(i % 4)
                           .toStdString());
        }
        db.execute("COMMIT");
        selection.from = QDate(2024, 1, 1);
        selection.to = QDate(2024, 12, 31);
        user = UserProfile::load(db);
        pdf = QDir(dir.path()).filePath(QStringLiteral("bench.pdf"));
    }
};
Fixture* g_fixture = nullptr;

// One text of the pages as the hand-written writer draws it.
struct PlainText {
    int page;
    QFont font;
    QRectF rect;
    int flags;
    QPointF point;
    bool inRect;
    QString text;
};
std::vector<PlainText> g_texts;
int g_pages = 0;

void BM_GigUpdatePdf(benchmark::State& state) {
    for (auto _ : state) {
        const Report::Document document =
            GigUpdateReport::render(g_fixture->db, g_fixture->selection, g_fixture->user,
                                    PageMetrics::defaults(), QDate(2024, 1, 1));
        if (!Report::writePdf(document, g_fixture->pdf))
            state.SkipWithError("PDF not written");
    }
}

void BM_HandWrittenPdf(benchmark::State& state) {
    for (auto _ : state) {
        QPdfWriter writer(g_fixture->pdf);
        writer.setResolution(254);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        int page = 0;
        for (const PlainText& text : g_texts) {
            if (text.page != page) {
                if (page > 0)
                    writer.newPage();
                page = text.page;
                painter.drawLine(100, 203, 2000, 203);
                painter.drawLine(100, 2803, 2000, 2803);
            }
            painter.setFont(text.font);
            if (text.inRect)
                painter.drawText(text.rect, text.flags, text.text);
            else
                painter.drawText(text.point, text.text);
        }
        painter.end();
    }
}

void BM_RenderOnly(benchmark::State& state) {
    for (auto _ : state) {
        const Report::Document document =
            GigUpdateReport::render(g_fixture->db, g_fixture->selection, g_fixture->user,
                                    PageMetrics::defaults(), QDate(2024, 1, 1));
        benchmark::DoNotOptimize(document.pages.size());
    }
}
BENCHMARK(BM_RenderOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GigUpdatePdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandWrittenPdf)->Unit(benchmark::kMillisecond);

// The strings and positions of the rendered report, read once outside the measurement.
void collectTexts() {
    const Report::Document document =
        GigUpdateReport::render(g_fixture->db, g_fixture->selection, g_fixture->user,
                                PageMetrics::defaults(), QDate(2024, 1, 1));
    g_pages = document.pageCount();
    for (int page = 0; page < g_pages; ++page) {
        for (const Report::Op& op : document.pages[size_t(page)]->ops()) {
            PlainText text{page + 1, op.font.qfont(), {}, 0, {}, false, op.text};
            if (op.kind == Report::Op::Kind::Text) {
                text.point = QPointF(op.x1, op.y1 + op.font.ascent());
            } else if (op.kind == Report::Op::Kind::TextInRect) {
                text.inRect = true;
                text.rect = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
                text.flags = int(op.align == Report::Align::Left     ? Qt::AlignLeft
                                 : op.align == Report::Align::Center ? Qt::AlignHCenter
                                                                     : Qt::AlignRight) |
                             Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
                if (op.letterSpacing)
                    text.font.setLetterSpacing(QFont::AbsoluteSpacing, op.letterSpacing);
            } else {
                continue;
            }
            g_texts.push_back(text);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (!initializeBenchmarks(argc, argv))
        return 1;
    Fixture fixture;
    g_fixture = &fixture;
    collectTexts();
    std::printf("%d pages, %zu texts\n", g_pages, g_texts.size());
    FigureReporter reporter;
    runBenchmarks(reporter);
    reporter.printFigure("gigupdate_pdf_2000", "BM_GigUpdatePdf", "BM_HandWrittenPdf");
    return 0;
}
