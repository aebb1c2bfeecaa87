#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class CSicherheitsabfrageDlg;
}

// "Sicherheitsabfrage": the new password typed once more. "&OK" accepts when it is the same
// (blanks around it do not count); otherwise it says "Passwort stimmt nicht überein." and rejects.
class CSicherheitsabfrageDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSicherheitsabfrageDlg(const QString& newPassword, QWidget* parent = nullptr);
    ~CSicherheitsabfrageDlg() override;

private:
    void onOk();

    QString m_newPassword;
    std::unique_ptr<Ui::CSicherheitsabfrageDlg> m_ui;
};
