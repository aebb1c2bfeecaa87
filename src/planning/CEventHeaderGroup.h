#pragma once

#include <QGroupBox>

#include <memory>

struct PlanningContext;

namespace Ui {
class CEventHeaderGroup;
}

// The group "Event" at the top of the planning forms: the planned event's kind, begin, end and
// venue, read-only.
class CEventHeaderGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit CEventHeaderGroup(QWidget* parent = nullptr);
    ~CEventHeaderGroup() override;

    void setEvent(const PlanningContext& context);

private:
    std::unique_ptr<Ui::CEventHeaderGroup> m_ui;
};
