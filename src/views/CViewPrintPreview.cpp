#include "CViewPrintPreview.h"

#include "ReportPrinting.h"
#include "core/MessageService.h"
#include "reports/PageRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

// Paints the pages shown, side by side, each sheet as large as the room allows.
class CPreviewCanvas : public QWidget {
public:
    explicit CPreviewCanvas(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    std::vector<const Report::RecordedPage*> pages;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        if (pages.empty())
            return;
        constexpr int kGap = 16;
        const QSize sheet =
            pages.front()->sheet().isValid() ? pages.front()->sheet() : QSize(2100, 2969);
        const int count = int(pages.size());
        const double scale =
            std::min((width() - kGap * (count + 1)) / double(count * sheet.width()),
                     (height() - 2 * kGap) / double(sheet.height()));
        if (scale <= 0)
            return;
        const double sheetWidth = sheet.width() * scale;
        const double sheetHeight = sheet.height() * scale;
        double left = (width() - count * sheetWidth - (count - 1) * kGap) / 2;
        const double top = std::max(double(kGap), (height() - sheetHeight) / 2);
        painter.setRenderHint(QPainter::Antialiasing);
        for (const Report::RecordedPage* page : pages) {
            const QRectF paper(left, top, sheetWidth, sheetHeight);
            painter.fillRect(paper.translated(4, 4), QColor(64, 64, 64));
            painter.fillRect(paper, Qt::white);
            painter.save();
            painter.setClipRect(paper);
            painter.translate(paper.topLeft());
            painter.scale(scale, scale);
            Report::replay(painter, *page);
            painter.restore();
            left += sheetWidth + kGap;
        }
    }
};

namespace {
// How much larger than the whole page each zoom step shows it.
constexpr double kZoomFactors[CViewPrintPreview::kMaxZoom + 1] = {1.0, 2.0, 3.0};
} // namespace

CViewPrintPreview::CViewPrintPreview(QWidget* parent)
    : QWidget(parent), m_printButton(new QPushButton(QStringLiteral("&Drucken..."))),
      m_pdfButton(new QPushButton(QStringLiteral("Als &PDF speichern..."))),
      m_nextButton(new QPushButton(QStringLiteral("&Nächste"))),
      m_previousButton(new QPushButton(QStringLiteral("&Vorherige"))),
      m_pagesButton(new QPushButton(QStringLiteral("&Zwei Seiten"))),
      m_zoomInButton(new QPushButton(QStringLiteral("Ver&größern"))),
      m_zoomOutButton(new QPushButton(QStringLiteral("Ver&kleinern"))),
      m_closeButton(new QPushButton(QStringLiteral("&Schließen"))), m_scroll(new QScrollArea),
      m_canvas(new CPreviewCanvas(nullptr)), m_status(new QLabel), m_saved(new QLabel) {
    setObjectName(QStringLiteral("CViewPrintPreview"));
    m_pdfFolder = ReportPrinting::pdfFolder();
    m_chooseFile = &ReportPrinting::choosePdfFile;
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_printButton, m_pdfButton, m_nextButton, m_previousButton,
                                m_pagesButton, m_zoomInButton, m_zoomOutButton, m_closeButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    m_scroll->setWidget(m_canvas);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(m_scroll, 1);
    auto* statusLine = new QHBoxLayout;
    statusLine->addWidget(m_status);
    // The confirmation of a saved file takes the free room and never widens the window.
    m_saved->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_saved->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_saved->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusLine->addWidget(m_saved, 1);
    layout->addLayout(statusLine);
    setFocusPolicy(Qt::StrongFocus);

    connect(m_printButton, &QPushButton::clicked, this, [this] {
        if (m_print)
            m_print();
    });
    connect(m_pdfButton, &QPushButton::clicked, this, [this] { savePdf(); });
    connect(m_nextButton, &QPushButton::clicked, this, &CViewPrintPreview::nextPage);
    connect(m_previousButton, &QPushButton::clicked, this, &CViewPrintPreview::previousPage);
    connect(m_pagesButton, &QPushButton::clicked, this, &CViewPrintPreview::toggleTwoPages);
    connect(m_zoomInButton, &QPushButton::clicked, this, &CViewPrintPreview::zoomIn);
    connect(m_zoomOutButton, &QPushButton::clicked, this, &CViewPrintPreview::zoomOut);
    connect(m_closeButton, &QPushButton::clicked, this, &CViewPrintPreview::closeRequested);
    refresh();
}

CViewPrintPreview::~CViewPrintPreview() = default;

void CViewPrintPreview::setDocument(Report::Document document) {
    m_document = std::move(document);
    m_current = 1;
    m_saved->clear();
    refresh();
}

QString CViewPrintPreview::suggestedPdfName() const {
    return m_pdfName.isEmpty()
               ? ReportPrinting::suggestedPdfName(m_document.title, QDate::currentDate())
               : m_pdfName;
}

QString CViewPrintPreview::savedText() const {
    return m_saved->text();
}

QString CViewPrintPreview::statusText() const {
    if (m_document.pages.empty())
        return QString();
    if (m_twoPages && m_current < m_document.pageCount())
        return QStringLiteral("Seiten %1-%2").arg(m_current).arg(m_current + 1);
    return QStringLiteral("Seite %1").arg(m_current);
}

void CViewPrintPreview::nextPage() {
    if (m_current < m_document.pageCount()) {
        ++m_current;
        refresh();
    }
}

void CViewPrintPreview::previousPage() {
    if (m_current > 1) {
        --m_current;
        refresh();
    }
}

void CViewPrintPreview::toggleTwoPages() {
    m_twoPages = !m_twoPages;
    refresh();
}

void CViewPrintPreview::zoomIn() {
    if (m_zoom < kMaxZoom) {
        ++m_zoom;
        refresh();
    }
}

void CViewPrintPreview::zoomOut() {
    if (m_zoom > 0) {
        --m_zoom;
        refresh();
    }
}

bool CViewPrintPreview::savePdf() {
    if (m_document.pages.empty())
        return false;
    const QString path = ReportPrinting::withPdfEnding(
        m_chooseFile(this, QDir(m_pdfFolder).filePath(suggestedPdfName())));
    if (path.isEmpty())
        return false;
    // The file keeps its margins free on any printer it is later printed on.
    const Report::Document pdf = m_render ? m_render(PageMetrics::pdf()) : m_document;
    QString error;
    if (!Report::writePdf(pdf, path, &error)) {
        MessageService::stop(this, error);
        return false;
    }
    m_saved->setText(QStringLiteral("Gespeichert: %1")
                         .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    Q_EMIT pdfSaved(path);
    return true;
}

void CViewPrintPreview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        nextPage();
        return;
    case Qt::Key_PageUp:
        previousPage();
        return;
    case Qt::Key_Escape:
        Q_EMIT closeRequested();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CViewPrintPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refresh();
}

void CViewPrintPreview::refresh() {
    const int count = m_document.pageCount();
    m_canvas->pages.clear();
    if (count > 0) {
        m_canvas->pages.push_back(m_document.pages[size_t(m_current - 1)].get());
        if (m_twoPages && m_current < count)
            m_canvas->pages.push_back(m_document.pages[size_t(m_current)].get());
    }
    m_nextButton->setEnabled(m_current < count);
    m_previousButton->setEnabled(m_current > 1);
    m_pagesButton->setText(m_twoPages ? QStringLiteral("&Eine Seite")
                                      : QStringLiteral("&Zwei Seiten"));
    m_zoomInButton->setEnabled(m_zoom < kMaxZoom);
    m_zoomOutButton->setEnabled(m_zoom > 0);
    m_printButton->setEnabled(count > 0);
    m_pdfButton->setEnabled(count > 0);
    m_status->setText(statusText());
    // At the whole-page step the pages fit the window; larger steps scroll.
    if (m_zoom == 0) {
        m_scroll->setWidgetResizable(true);
        m_canvas->setMinimumSize(0, 0);
    } else {
        const QSize room = m_scroll->viewport()->size();
        m_scroll->setWidgetResizable(false);
        const double factor = kZoomFactors[m_zoom];
        m_canvas->resize(QSize(int(room.width() * factor), int(room.height() * factor)));
        // The pages stand in the middle of the enlarged area: show the middle, from the top.
        QScrollBar* horizontal = m_scroll->horizontalScrollBar();
        horizontal->setValue((horizontal->minimum() + horizontal->maximum()) / 2);
    }
    m_canvas->update();
}

CPrintPreviewWindow::CPrintPreviewWindow(QWidget* parent)
    : QDialog(parent), m_view(new CViewPrintPreview(this)) {
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &CViewPrintPreview::closeRequested, this, &QDialog::accept);
    resize(1000, 700);
}
