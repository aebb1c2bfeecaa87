#pragma once

#include "core/BirthdayReminder.h"

#include <QDate>
#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

class CDatabase;
class CProfileFile;

namespace Ui {
class CGeburtstagDlg;
}

// "Geburtstagserinnerung": everyone whose birthday falls into the reminder's days around today,
// in calendar order. "&Details..." (or a double click) opens the person's own form: the musician,
// the private firm or the contact person.
class CGeburtstagDlg : public QDialog {
    Q_OBJECT
public:
    // Columns of the list; the first three are hidden.
    enum Column { ColKey, ColType, ColId, ColBirthDate, ColFunction, ColName, ColFirm, ColAge };

    CGeburtstagDlg(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                   const QDate& today, QWidget* parent = nullptr);
    ~CGeburtstagDlg() override;

    // At start-up: first the events whose GEMA report is due (a message, when that note is
    // switched on), then the reminder when it is switched on and someone's birthday is due.
    // Returns whether it was shown. A database error is shown and nothing else.
    static bool remindAtStartup(CDatabase& db, CProfileFile& profile,
                                const QString& programDirectory, const QDate& today,
                                QWidget* parent = nullptr);

    const std::vector<BirthdayReminder::Entry>& entries() const { return m_entries; }

    // Stores the list's widths, whichever way the form closes.
    void done(int result) override;

private:
    // Reads the birthdays again; a database error is shown, and what was read before it stays.
    void fill();
    void onDetails();

    CDatabase& m_db;
    CProfileFile& m_profile;
    QString m_programDirectory;
    QDate m_today;
    std::vector<BirthdayReminder::Entry> m_entries;
    std::unique_ptr<Ui::CGeburtstagDlg> m_ui;
};
