#include "CEventPlanDlg.h"

#include "CPlanBesetzungDlg.h"
#include "CPlanFirmaDlg.h"
#include "CPlanSetlisteDlg.h"
#include "CPlanTransportDlg.h"
#include "CPlanUebernachtungDlg.h"

#include "core/ChangeNotifier.h"
#include "core/MessageService.h"
#include "core/PlanningStatus.h"
#include "data/CDaoException.h"
#include "widgets/Pictures.h"

#include "ui_CEventPlanDlg.h"
#include "widgets/ReadOnlyForm.h"

namespace {
constexpr int kTransportArea = 5;
} // namespace

CEventPlanDlg::CEventPlanDlg(CDatabase& db, CProfileFile& profile, const PlanningContext& context,
                             QWidget* parent)
    : QDialog(parent), m_db(db), m_profile(profile), m_context(context),
      m_ui(std::make_unique<Ui::CEventPlanDlg>()) {
    m_ui->setupUi(this);
    m_buttons = {m_ui->buttonBesetzung,     m_ui->buttonTechniker,
                 m_ui->buttonBackliner,     m_ui->buttonPA,
                 m_ui->buttonLichtanlage,   m_ui->buttonTransport,
                 m_ui->buttonUebernachtung, m_ui->buttonSetliste};
    static_assert(std::tuple_size<decltype(m_buttons)>::value == PlanningStatus::kPlanningAreas);
    for (int area = 0; area < PlanningStatus::kPlanningAreas; ++area) {
        QPushButton* button = m_buttons[size_t(area)];
        button->setIconSize(QSize(16, 16));
        connect(button, &QPushButton::clicked, this, [this, area] { openArea(area); });
    }
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::accept);

    m_ui->groupEvent->setEvent(m_context);
    showStatusIcons();
    // The event list shows the event as it is now: it may just have been saved.
    Changes::planning(m_context.eventId);
    // Whatever a planning form stored for this event shows on its button.
    connect(&ChangeNotifier::instance(), &ChangeNotifier::changed, this,
            [this](ChangeNotifier::Topic topic, std::int32_t eventId, int) {
                if (topic == ChangeNotifier::Topic::Planning && eventId == m_context.eventId)
                    showStatusIcons();
            });
    ReadOnlyForm::lockWriteButtons(m_db, *this);
}

CEventPlanDlg::~CEventPlanDlg() = default;

void CEventPlanDlg::showForEvent(CDatabase& db, CProfileFile& profile, std::int32_t eventId,
                                 QWidget* parent) {
    std::optional<PlanningContext> context;
    try {
        context = PlanningContext::read(db, eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(parent, error.description());
        return;
    }
    if (!context)
        return;
    CEventPlanDlg hub(db, profile, *context, parent);
    hub.exec();
}

QPushButton* CEventPlanDlg::areaButton(int area) const {
    if (area < 0 || area >= PlanningStatus::kPlanningAreas)
        return nullptr;
    return m_buttons[size_t(area)];
}

void CEventPlanDlg::showStatusIcons() {
    PlanningStatus status;
    try {
        status = PlanningStatus::read(m_db, m_context.eventId);
    } catch (const CDaoException& error) {
        // Shown as open, as an event without status reads.
        MessageService::stop(this, error.description());
    }
    for (int area = 0; area < PlanningStatus::kPlanningAreas; ++area)
        m_buttons[size_t(area)]->setIcon(Pictures::statusIcon(status.planning[size_t(area)]));
}

void CEventPlanDlg::openArea(int area) {
    if (area == 0) {
        CPlanBesetzungDlg form(m_db, m_profile, m_context, this);
        if (form.isReady())
            form.exec();
    } else if (const CPlanFirmaDlg::ServiceArea* service = CPlanFirmaDlg::forPlanningArea(area)) {
        CPlanFirmaDlg form(m_db, m_profile, *service, m_context, this);
        if (form.isReady())
            form.exec();
    } else if (area == kTransportArea) {
        CPlanTransportDlg form(m_db, m_profile, m_context, this);
        form.exec();
    } else if (area == CPlanSetlisteDlg::kPlanningArea) {
        CPlanSetlisteDlg form(m_db, m_profile, m_context, this);
        if (form.isReady())
            form.exec();
    } else if (area == CPlanUebernachtungDlg::kPlanningArea) {
        CPlanUebernachtungDlg form(m_db, m_profile, m_context, this);
        form.exec();
    }
    // However the area's form closed, what it wrote shows now, here and in the event list.
    Changes::planning(m_context.eventId);
}
