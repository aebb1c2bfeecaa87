#include "CDatenaustauschDlg.h"

#include "ExportFile.h"
#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"

#include "ui_CDatenaustauschDlg.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace {

const QString kFilter = QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)");

QString pickWithDialog(QWidget* parent, bool save, const QString& suggestion) {
    return save ? QFileDialog::getSaveFileName(parent, QStringLiteral("CSV-Export"), suggestion,
                                               kFilter)
                : QFileDialog::getOpenFileName(parent, QStringLiteral("CSV-Import"), suggestion,
                                               kFilter);
}

} // namespace

CDatenaustauschDlg::CDatenaustauschDlg(CDatabase& db, Mode mode, QWidget* parent)
    : QDialog(parent), m_db(db), m_mode(mode), m_pickFile(&pickWithDialog),
      m_ui(std::make_unique<Ui::CDatenaustauschDlg>()) {
    m_ui->setupUi(this);
    for (CsvExchange::Table table :
         {CsvExchange::Table::Songs, CsvExchange::Table::Musicians, CsvExchange::Table::Firms})
        m_ui->comboTabelle->addItem(CsvExchange::tableTitle(table), static_cast<int>(table));
    const bool importing = m_mode == Mode::Import;
    setWindowTitle(importing ? QStringLiteral("CSV-Import") : QStringLiteral("CSV-Export"));
    for (QWidget* part : QList<QWidget*>{m_ui->labelDatei, m_ui->editDatei, m_ui->buttonDatei,
                                         m_ui->labelVorschau, m_ui->textVorschau})
        part->setVisible(importing);
    m_ui->buttonAusfuehren->setText(importing ? QStringLiteral("&Importieren")
                                              : QStringLiteral("&Exportieren..."));
    m_ui->buttonAusfuehren->setEnabled(!importing);
    // A path typed into "Datei" is read when the field is left or Enter is pressed; on import
    // no button is the default, so that Enter only shows the preview and imports nothing.
    m_ui->buttonAusfuehren->setDefault(!importing);
    if (importing) {
        for (QPushButton* button : {m_ui->buttonDatei, m_ui->buttonAusfuehren, m_ui->buttonEnde})
            button->setAutoDefault(false);
    }
    connect(m_ui->editDatei, &QLineEdit::editingFinished, this, &CDatenaustauschDlg::onPathTyped);
    // While a path is being typed, the preview of the previous file no longer applies.
    connect(m_ui->editDatei, &QLineEdit::textEdited, this, [this] {
        if (m_mode != Mode::Import)
            return;
        m_preview.reset();
        m_ui->buttonAusfuehren->setEnabled(false);
    });
    connect(m_ui->comboTabelle, &QComboBox::currentIndexChanged, this,
            &CDatenaustauschDlg::showPreview);
    connect(m_ui->buttonDatei, &QPushButton::clicked, this, &CDatenaustauschDlg::onChooseFile);
    connect(m_ui->buttonAusfuehren, &QPushButton::clicked, this, &CDatenaustauschDlg::onRun);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::reject);
}

CDatenaustauschDlg::~CDatenaustauschDlg() = default;

CsvExchange::Table CDatenaustauschDlg::table() const {
    return static_cast<CsvExchange::Table>(m_ui->comboTabelle->currentData().toInt());
}

void CDatenaustauschDlg::onChooseFile() {
    const QString suggestion =
        m_path.isEmpty() ? QDir::home().filePath(CsvExchange::suggestedFileName(table())) : m_path;
    const QString path = m_pickFile(this, false, suggestion);
    if (path.isEmpty())
        return;
    m_path = path;
    m_ui->editDatei->setText(QDir::toNativeSeparators(path));
    showPreview();
}

void CDatenaustauschDlg::onPathTyped() {
    const QString path = QDir::fromNativeSeparators(m_ui->editDatei->text().trimmed());
    if (path == m_path)
        return;
    m_path = path;
    if (path.isEmpty())
        m_ui->textVorschau->clear();
    showPreview();
}

void CDatenaustauschDlg::onRun() {
    if (m_mode == Mode::Export)
        exportTable();
    else
        importFile();
}

// Reads the chosen file against the chosen table; nothing is written.
void CDatenaustauschDlg::showPreview() {
    m_preview.reset();
    m_ui->buttonAusfuehren->setEnabled(m_mode == Mode::Export);
    if (m_mode == Mode::Export || m_path.isEmpty())
        return;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_ui->textVorschau->setPlainText(
            QStringLiteral("Die Datei kann nicht gelesen werden: %1").arg(file.errorString()));
        return;
    }
    try {
        m_preview = CsvExchange::preview(m_db, table(), file.readAll());
    } catch (const CDaoException& error) {
        m_ui->textVorschau->setPlainText(error.description());
        return;
    }
    m_ui->textVorschau->setPlainText(CsvExchange::describe(*m_preview).join(QLatin1Char('\n')));
    m_ui->buttonAusfuehren->setEnabled(m_preview->hasWork());
}

void CDatenaustauschDlg::exportTable() {
    const QString path =
        m_pickFile(this, true, QDir::home().filePath(CsvExchange::suggestedFileName(table())));
    if (path.isEmpty())
        return;
    if (!saveExportFile(this, path, [this] { return CsvExchange::exportTable(m_db, table()); }))
        return;
    MessageService::information(
        this, QStringLiteral("Die %1 wurden in %2 gespeichert.")
                  .arg(CsvExchange::tableTitle(table()), QDir::toNativeSeparators(path)));
    accept();
}

void CDatenaustauschDlg::importFile() {
    if (!m_preview || !m_preview->hasWork())
        return;
    CsvExchange::Result result;
    try {
        result = CsvExchange::importPreview(m_db, *m_preview);
    } catch (const CDaoException& error) {
        MessageService::stop(
            this, QStringLiteral("Es wurde nichts importiert: %1").arg(error.description()));
        return;
    }
    switch (m_preview->table) {
    case CsvExchange::Table::Songs:
        break;
    case CsvExchange::Table::Musicians:
        ChangeNotifier::instance().notify(ChangeNotifier::Topic::Musicians);
        break;
    case CsvExchange::Table::Firms:
        // Every firm list, whatever its kind.
        ChangeNotifier::instance().notify(ChangeNotifier::Topic::Firms);
        ChangeNotifier::instance().notify(ChangeNotifier::Topic::Contacts);
        break;
    }
    MessageService::information(this, CsvExchange::describe(m_preview->table, result));
    accept();
}
