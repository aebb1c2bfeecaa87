#include "FormRegistry.h"

#include "CMainMenu.h"
#include "core/ListKinds.h"
#include "events/CEventDlg.h"
#include "finance/CFanartikelDlg.h"
#include "finance/CFinanzenDlg.h"
#include "finance/CJahresuebersichtDlg.h"
#include "finance/CMwStDlg.h"
#include "finance/CWaehrungDlg.h"
#include "masterdata/CArtikelgruppenDlg.h"
#include "masterdata/CArtikelverwaltungDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CGemaBezirkeDlg.h"
#include "masterdata/CHotelListeDlg.h"
#include "masterdata/CInstrumenteDlg.h"
#include "masterdata/CMusikerDlg.h"
#include "masterdata/CSonglisteDlg.h"
#include "planning/CEventPlanDlg.h"
#include "reminder/CErinnerungDlg.h"
#include "reminder/CGeburtstagDlg.h"
#include "views/CBenutzerDlg.h"
#include "views/CMonatskalenderDlg.h"

#include <QDate>
#include <QDialog>

namespace {

// A form of one row that may fail to read it: then it has said so and is not shown.
template <class Form> int showIfReady(Form& form) {
    return form.isReady() ? form.exec() : int(QDialog::Rejected);
}

} // namespace

FormRegistry::FormRegistry(CDatabase& db, CProfileFile& profile, const QString& programDirectory) {
    for (int kind : {ListKind::Organizers, ListKind::Technicians, ListKind::Backliners,
                     ListKind::PAHire, ListKind::LightHire, ListKind::CarHire}) {
        const int firmKind = listKindInfo(kind)->firmKind;
        m_lists.insert(kind, [&db, &profile, firmKind](QWidget* parent, std::int32_t key) {
            return CExtFirmaDlg::showModal(db, profile, firmKind, key, parent);
        });
    }
    m_lists.insert(ListKind::Musicians,
                   [&db, &profile, programDirectory](QWidget* parent, std::int32_t key) {
                       return CMusikerDlg::showModal(db, profile, programDirectory, key, parent);
                   });
    m_lists.insert(ListKind::Events, [&db, &profile](QWidget* parent, std::int32_t key) {
        return CEventDlg::showModal(db, profile, key, parent);
    });
    m_lists.insert(ListKind::Accounting, [&db, &profile](QWidget* parent, std::int32_t key) {
        return CFinanzenDlg::showModal(db, profile, key, 0, parent);
    });
    m_lists.insert(ListKind::Merchandise,
                   [&db, &profile, programDirectory](QWidget* parent, std::int32_t key) {
                       return CFanartikelDlg::showModal(db, profile, programDirectory, key, parent);
                   });
    // The cost commands open the overview of the event with their area.
    const std::pair<int, int> costCommands[] = {
        {CMainMenu::CostPersonnel, 1}, {CMainMenu::CostPA, 2},        {CMainMenu::CostLight, 3},
        {CMainMenu::CostTransport, 4}, {CMainMenu::CostOvernight, 5}, {CMainMenu::CostOther, 6}};
    for (const auto& [command, area] : costCommands) {
        const int costArea = area;
        m_commands.insert(command, [&db, &profile, costArea](QWidget* parent, std::int32_t key) {
            return CFinanzenDlg::showModal(db, profile, key, costArea, parent);
        });
    }

    m_commands.insert(CMainMenu::PlanEvent, [&db, &profile](QWidget* parent, std::int32_t event) {
        CEventPlanDlg::showForEvent(db, profile, event, parent);
        return int(QDialog::Accepted);
    });
    m_commands.insert(CMainMenu::Instruments, [&db](QWidget* parent, std::int32_t) {
        CInstrumenteDlg form(db, parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::Songs, [&db, &profile](QWidget* parent, std::int32_t) {
        CSonglisteDlg form(db, profile, parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::ArticleGroups, [&db](QWidget* parent, std::int32_t) {
        CArtikelgruppenDlg form(db, parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::Articles,
                      [&db, &profile, programDirectory](QWidget* parent, std::int32_t) {
                          CArtikelverwaltungDlg form(db, profile, programDirectory, parent);
                          return form.exec();
                      });
    m_commands.insert(CMainMenu::Hotels, [&db, &profile](QWidget* parent, std::int32_t) {
        CHotelListeDlg form(db, profile, parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::GemaOffices, [&db, &profile](QWidget* parent, std::int32_t) {
        CGemaBezirkeDlg form(db, profile, parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::Currency, [&db](QWidget* parent, std::int32_t) {
        CWaehrungDlg form(db, parent);
        return showIfReady(form);
    });
    m_commands.insert(CMainMenu::Vat, [&db, &profile](QWidget* parent, std::int32_t) {
        CMwStDlg form(db, profile, parent);
        return showIfReady(form);
    });
    m_commands.insert(CMainMenu::UserData, [&db](QWidget* parent, std::int32_t) {
        CBenutzerDlg form(db, parent);
        return showIfReady(form);
    });
    m_commands.insert(CMainMenu::BirthdayReminder, [&db, &profile, programDirectory](
                                                       QWidget* parent, std::int32_t) {
        CGeburtstagDlg form(db, profile, programDirectory, QDate::currentDate(), parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::MonthCalendar, [&db, &profile](QWidget* parent, std::int32_t) {
        CMonatskalenderDlg form(db, profile, parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::YearOverview, [&db, &profile](QWidget* parent, std::int32_t) {
        CJahresuebersichtDlg form(db, profile, parent);
        return form.exec();
    });
    m_commands.insert(CMainMenu::ReminderOption, [&profile](QWidget* parent, std::int32_t) {
        CErinnerungDlg form(profile, parent);
        return form.exec();
    });
}

int FormRegistry::openList(QWidget* parent, int listKind, std::int32_t key) const {
    const auto opener = m_lists.constFind(listKind);
    return opener == m_lists.constEnd() ? kFormNotAvailable : (*opener)(parent, key);
}

int FormRegistry::openCommand(QWidget* parent, int command, std::int32_t key) const {
    const auto opener = m_commands.constFind(command);
    return opener == m_commands.constEnd() ? kFormNotAvailable : (*opener)(parent, key);
}
