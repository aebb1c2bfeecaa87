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
// not count); otherwise it says so and lets the user try again, and rejects the form after the
// third wrong try. Closing the form rejects it at once.
class CLoginDlg : public QDialog {
    Q_OBJECT
public:
    // Tries before the form is refused.
    static constexpr int kTries = 3;

    explicit CLoginDlg(CDatabase& db, QWidget* parent = nullptr);
    ~CLoginDlg() override;

    // What was typed, without the blanks around it: after an accepted login the current user.
    const Credentials& credentials() const { return m_typed; }

private:
    void onOk();

    CDatabase& m_db;
    Credentials m_typed;
    int m_failed = 0;
    std::unique_ptr<Ui::CLoginDlg> m_ui;
};
