#include "CJahresuebersichtDlg.h"

#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/UserProfile.h"
#include "data/CDaoException.h"
#include "reports/PageRenderer.h"
#include "reports/YearOverviewReport.h"
#include "views/ReportPrinting.h"
#include "widgets/YearChart.h"

#include <QChart>
#include <QChartView>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

CJahresuebersichtDlg::CJahresuebersichtDlg(CDatabase& db, CProfileFile& profile, QWidget* parent,
                                           int year)
    : QDialog(parent), m_db(db), m_mode(Finance::vatMode(profile)) {
    setWindowTitle(QStringLiteral("Jahresübersicht"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* yearLabel = new QLabel(QStringLiteral("&Jahr:"), this);
    m_yearField = new QSpinBox(this);
    m_yearField->setRange(1900, 9999);
    // A typed year is read once it is complete, not at every digit.
    m_yearField->setKeyboardTracking(false);
    yearLabel->setBuddy(m_yearField);
    bar->addWidget(yearLabel);
    bar->addWidget(m_yearField);
    bar->addWidget(new QLabel(QStringLiteral("Beträge ") + Finance::modeText(m_mode) +
                                  QStringLiteral(", im Vergleich mit dem Vorjahr"),
                              this));
    // The confirmation of a saved file takes the free room and never widens the form.
    m_saved = new QLabel(this);
    m_saved->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_saved->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_saved->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(m_saved, 1);
    auto* pdf = new QPushButton(QStringLiteral("Als &PDF speichern..."), this);
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    bar->addWidget(pdf);
    bar->addWidget(close);
    layout->addLayout(bar);

    m_table = new QTableWidget(this);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_table);
    auto* note = new QLabel(YearOverview::statusNote(), this);
    note->setWordWrap(true);
    layout->addWidget(note);

    m_chart = new QChartView(this);
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(200);
    layout->addWidget(m_chart, 1);

    connect(pdf, &QPushButton::clicked, this, &CJahresuebersichtDlg::onSavePdf);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_yearField, &QSpinBox::valueChanged, this, &CJahresuebersichtDlg::showYear);
    connect(&ChangeNotifier::instance(), &ChangeNotifier::changed, this,
            [this](ChangeNotifier::Topic topic) {
                if (topic == ChangeNotifier::Topic::Events ||
                    topic == ChangeNotifier::Topic::Planning)
                    showYear(m_year.year);
            });
    resize(1260, 660);
    const int shown = year > 0 ? year : QDate::currentDate().year();
    const QSignalBlocker quiet(m_yearField);
    m_yearField->setValue(shown);
    showYear(shown);
}

void CJahresuebersichtDlg::showYear(int year) {
    try {
        const BaseData base = BaseData::read(m_db);
        m_year = YearOverview::compute(m_db, year, base, m_mode);
        m_previous = YearOverview::compute(m_db, year - 1, base, m_mode);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    // The year before's columns name their year on a second line, so the figures keep room.
    QStringList header = YearOverview::tableHeader(year);
    const QString yearSuffix = QStringLiteral(" %1").arg(year - 1);
    for (QString& caption : header) {
        if (caption.endsWith(yearSuffix))
            caption =
                caption.chopped(yearSuffix.size()) + QLatin1Char('\n') + QString::number(year - 1);
    }
    const std::vector<QStringList> rows = YearOverview::tableRows(m_year, m_previous);
    m_table->clear();
    m_table->setColumnCount(int(header.size()));
    m_table->setRowCount(int(rows.size()));
    m_table->setHorizontalHeaderLabels(header);
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(rows[size_t(r)].size()); ++c) {
            auto* item = new QTableWidgetItem(rows[size_t(r)][c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            // The totals stand out by their background: bold figures would need more room.
            if (r + 1 == int(rows.size()))
                item->setBackground(QColor(224, 224, 224));
            if (c >= int(header.size()) - 4)
                item->setForeground(QColor(90, 90, 90));
            m_table->setItem(r, c, item);
        }
    }
    // The gig counts take only the room they need; the amounts share the rest.
    QHeaderView* columns = m_table->horizontalHeader();
    for (int c = 0; c < m_table->columnCount(); ++c) {
        const bool count = c == 0 || YearOverview::isCountColumn(c);
        columns->setSectionResizeMode(c,
                                      count ? QHeaderView::ResizeToContents : QHeaderView::Stretch);
    }
    m_table->setFixedHeight(columns->sizeHint().height() +
                            m_table->rowCount() * m_table->verticalHeader()->defaultSectionSize() +
                            2 * m_table->frameWidth() + 2);
    QChart* old = m_chart->chart();
    m_chart->setChart(YearChart::create(m_year, m_previous));
    delete old;
}

bool CJahresuebersichtDlg::savePdf(const QString& path) {
    QString band;
    try {
        band = UserProfile::load(m_db).band;
    } catch (const CDaoException&) {
        // The page is complete without the band's name.
    }
    const Report::Document document =
        YearOverviewReport::render(m_year, m_previous, Finance::modeText(m_mode), band,
                                   YearChart::picture(m_year, m_previous,
                                                      QSize(YearOverviewReport::kChartWidth,
                                                            YearOverviewReport::kChartHeight)));
    QString error;
    if (!Report::writePdf(document, path, &error)) {
        MessageService::stop(this, error);
        return false;
    }
    m_saved->setText(QStringLiteral("Gespeichert: %1")
                         .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    return true;
}

void CJahresuebersichtDlg::onSavePdf() {
    const QString suggested =
        QDir(ReportPrinting::pdfFolder())
            .filePath(ReportPrinting::suggestedPdfName(
                QStringLiteral("Jahresübersicht_%1").arg(m_year.year), QDate::currentDate()));
    const QString path = ReportPrinting::withPdfEnding(m_chooseFile(this, suggested));
    if (!path.isEmpty())
        savePdf(path);
}

QString CJahresuebersichtDlg::savedText() const {
    return m_saved->text();
}
