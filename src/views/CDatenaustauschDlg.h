#pragma once

#include "exchange/CsvExchange.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class CDatabase;

namespace Ui {
class CDatenaustauschDlg;
}

// "CSV-Export" and "CSV-Import": songs, musicians or firms with their contact persons as a CSV
// file for spreadsheets. The import shows what the chosen file would change and writes it only
// when the user confirms with "Importieren".
class CDatenaustauschDlg : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Export, Import };
    // Asks for a file: to write (`save`) or to read, starting with `suggestion`.
    using FilePicker =
        std::function<QString(QWidget* parent, bool save, const QString& suggestion)>;

    CDatenaustauschDlg(CDatabase& db, Mode mode, QWidget* parent = nullptr);
    ~CDatenaustauschDlg() override;

    void setFilePicker(FilePicker picker) { m_pickFile = std::move(picker); }

private:
    CsvExchange::Table table() const;
    void onChooseFile();
    void onPathTyped();
    void onRun();
    void showPreview();
    void exportTable();
    void importFile();

    CDatabase& m_db;
    Mode m_mode;
    FilePicker m_pickFile;
    QString m_path;
    std::optional<CsvExchange::Preview> m_preview;
    std::unique_ptr<Ui::CDatenaustauschDlg> m_ui;
};
