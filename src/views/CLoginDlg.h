#pragma once

#include "core/Credentials.h"

#include <QDialog>

#include <memory>

class CDatabase;

namespace Ui {
class CLoginDlg;
}

// "Vorlanto 2.0": asks for the user name and the password before the program starts. "&OK"
// accepts the form when a User row carries the name and password typed (blanks around them do
// not count), and rejects it otherwise; closing the form rejects it as well.
class CLoginDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLoginDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CLoginDlg() override;

    // What was typed, without the blanks around it: after an accepted login the current user.
    const Credentials& credentials() const { return m_typed; }

private:
    void onOk();

    CDatabase& m_db;
    Credentials m_typed;
    std::unique_ptr<Ui::CLoginDlg> m_ui;
};
