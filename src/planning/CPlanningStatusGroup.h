#pragma once

#include <QGroupBox>

#include <cstdint>
#include <memory>

class CDatabase;

namespace Ui {
class CPlanningStatusGroup;
}

// The group "Planungsstatus" of a planning form: "offen", "begonnen" or "abgeschlossen" for the
// form's planning area of one event. Read when the form opens, written when it saves. The cost
// forms use it for the accounting status of their area in the same row.
class CPlanningStatusGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit CPlanningStatusGroup(QWidget* parent = nullptr);
    ~CPlanningStatusGroup() override;

    // "Ist die Planung <area name> abgeschlossen?"
    static QString completionQuestion(int area);

    // Shows the status of the planning area (0 line-up ... 7 set list, in the order of
    // PlanningStatus::kPlanningColumns) for the event. A database error is shown and leaves
    // "offen" checked.
    void load(CDatabase& db, std::int32_t eventId, int area);
    // The same for an accounting area (cost group 1 personnel ... 6 expenses); the question then
    // reads "Ist die Abrechnung <area name> abgeschlossen?".
    void loadAccounting(CDatabase& db, std::int32_t eventId, int costGroup);
    // 0, 1 or 2, by the radio button checked.
    int checkedValue() const;
    // Whether the user clicked one of the buttons since loading.
    bool isTouched() const { return m_touched; }

    // Writes the status as the form saves. A status the user clicked is written as checked,
    // whether planning data were saved or not. Otherwise, once planning data were saved, the
    // user is asked whether the planning is complete: yes writes "abgeschlossen", no
    // "begonnen". False when the write failed; its error has been shown.
    bool store(bool planningSaved);
    // The closing rule of the list forms (transport, overnight): once entries were stored, the
    // user is asked whether the planning is complete, also after clicking a button: yes writes
    // "abgeschlossen", no the button clicked, or "begonnen" when none was.
    bool storeAfterQuestion();
    // Writes the value of the checked button.
    bool storeChecked() { return write(checkedValue()); }

Q_SIGNALS:
    // A click on one of the buttons: the form counts as changed.
    void touched();

private:
    void check(int value);
    bool write(int value);
    void loadColumn(CDatabase& db, std::int32_t eventId, const char* column);

    std::unique_ptr<Ui::CPlanningStatusGroup> m_ui;
    CDatabase* m_db = nullptr;
    std::int32_t m_eventId = -1;
    // The status column of T_Event_Status and the completion question of the area.
    const char* m_column = nullptr;
    QString m_question;
    bool m_touched = false;
};
