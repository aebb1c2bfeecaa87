#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class CDatensicherungDlg;
}

// "Datensicherung wiederherstellen": the copies in the backup folder, newest first, with their
// date, size and number of events. "&Wiederherstellen" asks once more and accepts; the caller
// then replaces the database by chosenPath().
class CDatensicherungDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDatensicherungDlg(const QString& backupFolder, QWidget* parent = nullptr);
    ~CDatensicherungDlg() override;

    QString chosenPath() const { return m_chosen; }

private:
    void onRestore();

    QString m_chosen;
    std::unique_ptr<Ui::CDatensicherungDlg> m_ui;
};
