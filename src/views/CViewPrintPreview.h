#pragma once

#include "ReportPrinting.h"
#include "reports/RecordedPage.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;
class CPreviewCanvas;

// The print preview: recorded pages shown one or two at a time, scaled to the window, with the
// buttons "&Drucken...", "Als &PDF speichern...", "&Nächste", "&Vorherige", "&Zwei Seiten" /
// "&Eine Seite", "Ver&größern", "Ver&kleinern" and "&Schließen", the keys Page Down, Page Up
// and Esc, and the status "Seite 3" or "Seiten 3-4" (after saving, with "Gespeichert: FILE"
// beside it). Turning and zooming replay the recorded pages; nothing is read again.
class CViewPrintPreview : public QWidget {
    Q_OBJECT
public:
    using FileChooser = ReportPrinting::PdfChooser;

    explicit CViewPrintPreview(QWidget* parent = nullptr);
    ~CViewPrintPreview() override;

    void setDocument(Report::Document document);
    const Report::Document& document() const { return m_document; }
    // What "&Drucken..." does.
    void setPrintHandler(std::function<void()> handler) { m_print = std::move(handler); }
    // Replaces the file dialog of "Als &PDF speichern..." (tests).
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // The folder the PDF file is suggested in.
    void setPdfFolder(const QString& folder) { m_pdfFolder = folder; }
    // The file name suggested for the PDF file; without one, the title and today's date.
    void setPdfName(const QString& name) { m_pdfName = name; }
    QString suggestedPdfName() const;
    // How the report is laid out again for its PDF file (A4 with 4.2 mm free on every side);
    // without one the pages shown are written.
    void setRenderer(ReportPrinting::Renderer render) { m_render = std::move(render); }
    // "Gespeichert: FILE" once the pages were saved, else empty.
    QString savedText() const;

    int currentPage() const { return m_current; } // 1-based
    bool showsTwoPages() const { return m_twoPages; }
    int zoomStep() const { return m_zoom; }
    QString statusText() const;

    void nextPage();
    void previousPage();
    void toggleTwoPages();
    void zoomIn();
    void zoomOut();
    // Writes every page to a PDF file the user chooses; false when cancelled or failed (then
    // the reason has been shown).
    bool savePdf();

    static constexpr int kMaxZoom = 2;

Q_SIGNALS:
    void closeRequested();
    // The pages were written to a PDF file.
    void pdfSaved(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();

    Report::Document m_document;
    int m_current = 1;
    bool m_twoPages = false;
    int m_zoom = 0;
    std::function<void()> m_print;
    FileChooser m_chooseFile;
    QString m_pdfFolder;
    QString m_pdfName;
    ReportPrinting::Renderer m_render;

    QPushButton* m_printButton;
    QPushButton* m_pdfButton;
    QPushButton* m_nextButton;
    QPushButton* m_previousButton;
    QPushButton* m_pagesButton;
    QPushButton* m_zoomInButton;
    QPushButton* m_zoomOutButton;
    QPushButton* m_closeButton;
    QScrollArea* m_scroll;
    CPreviewCanvas* m_canvas;
    QLabel* m_status;
    QLabel* m_saved;
};

// The preview window of a form that prints its own pages (the set list, the GEMA form): titled
// "Druckvorschau", shown maximised, closed by "&Schließen" or Esc.
class CPrintPreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit CPrintPreviewWindow(QWidget* parent = nullptr);
    CViewPrintPreview* view() const { return m_view; }

private:
    CViewPrintPreview* m_view;
};
