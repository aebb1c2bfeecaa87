// The main window as a user drives it: the navigation pane and the menu lead to the lists, the
// lists keep their column widths in Kavio.ini, the commands on the chosen list are available
// only with that list, every list shows what its form stored, the event commands act on the
// chosen event, and the Delete key deletes the chosen entry.
#include "MainWindowSupport.h"
#include "app/CMainMenu.h"
#include "support/FormTestSupport.h"
#include "support/ScaledWidths.h"
#include "views/CViewSplitLeft.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>

namespace {

using Icon = MessageService::Icon;

const QString kChooseEntry = QStringLiteral("Wählen Sie bitte einen Eintrag aus der Liste.");
const QString kNotAvailable =
    QStringLiteral("Dieses Formular ist in dieser Version von Vorlanto noch nicht verfügbar.");
const std::vector<int> kEventCommands = {CMainMenu::EditEvent, CMainMenu::DeleteEvent,
                                         CMainMenu::PlanEvent};
const std::vector<int> kCostCommands = {CMainMenu::CostPersonnel, CMainMenu::CostPA,
                                        CMainMenu::CostLight,     CMainMenu::CostTransport,
                                        CMainMenu::CostOvernight, CMainMenu::CostOther};

// Notes the title of the next modal form and closes it with Escape.
void closeNextModal(QString& title, int attempts = 200) {
    QTimer::singleShot(10, [&title, attempts] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && attempts > 0)
            return closeNextModal(title, attempts - 1);
        ASSERT_NE(modal, nullptr) << "no modal form appeared";
        title = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
}

class MainWindowTest : public RunningProgramTest {
protected:
    // An event of the organiser at the location on the day, with a whole time plan.
    std::int32_t addPlannedEvent(std::int32_t organiser, const char* location, int month, int day) {
        const std::int32_t key = addEvent({{"EBeginn", at(2024, month, day, 20, 0)},
                                           {"ELocation", location},
                                           {"VeranstalterID", organiser}});
        const QString date = QDate(2024, month, day).toString(Qt::ISODate);
        db().execute(QStringLiteral("UPDATE T_Event SET EEnde='%1 23:00:00', "
                                    "ETAufbauVon='%1 16:00:00', ETAufbauBis='%1 18:00:00', "
                                    "ESCheckVon='%1 18:00:00', ESCheckBis='%1 19:00:00', "
                                    "ETAbbauVon='%1 23:00:00', ETAbbauBis='%1 23:30:00' "
                                    "WHERE EventID=%2")
                         .arg(date)
                         .arg(key)
                         .toStdString());
        return key;
    }
    QAction* action(int command) { return frame->mainMenu()->action(command); }
    // "1" for each enabled command, "0" for each disabled one.
    QString enabled(const std::vector<int>& commands) {
        QString states;
        for (int command : commands)
            states += action(command)->isEnabled() ? u'1' : u'0';
        return states;
    }
};

TEST_F(MainWindowTest, EventsGroupShowsTheEventListNewestFirst) {
    const std::int32_t may = addEvent({{"EBeginn", at(2024, 5, 17, 20, 0)}});
    const std::int32_t december = addEvent({{"EBeginn", at(2024, 12, 31, 21, 0)}});
    const std::int32_t january = addEvent({{"EBeginn", at(2023, 1, 6, 19, 30)}});
    CViewSplitLeft* pane = frame->navigationPane();
    QTest::mouseClick(pane->groupButton(1), Qt::LeftButton);
    EXPECT_EQ(frame->currentListView(), nullptr);
    QTest::mouseClick(pane->listButton(0), Qt::LeftButton);
    ASSERT_EQ(frame->currentListView(), frame->eventListView());
    EXPECT_EQ(list().listKind(), 6);
    EXPECT_EQ(keys(), QList<std::int32_t>({december, may, january})); // no placeholder event 0

    // List button 1 is hidden in this group; the navigation still reaches it.
    pane->clickListButton(1);
    EXPECT_EQ(frame->currentListView(), nullptr);
    EXPECT_EQ(pane->selectedListButton(), -1);
    EXPECT_EQ(enabled(kEventCommands), QLatin1String("000"));

    frame->navigate(0, 1);
    QTest::mouseClick(list().endButton(), Qt::LeftButton);
    EXPECT_EQ(frame->currentListView(), nullptr);
    // Behind "&Ende" no command acts on the hidden event list.
    frame->navigate(1, 0);
    QTest::mouseClick(list().endButton(), Qt::LeftButton);
    EXPECT_EQ(enabled(kEventCommands), QLatin1String("000"));
    EXPECT_EQ(pane->selectedListButton(), -1);
    EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

// Before any width is stored; the menu leads where the navigation pane does.
TEST_F(MainWindowTest, EveryListOpensWithItsDefaultWidths) {
    const struct {
        int command, group, button, kind;
        const char* widths;
    } lists[] = {
        {CMainMenu::Organizers, 0, 0, 1, "58,134,113,130,100,100,100,129"},
        {CMainMenu::Musicians, 0, 1, 3, "68,164,151,130,100,100,151"},
        {CMainMenu::Technicians, 0, 2, 2, "166,143,100,131,100,100,100,125"},
        {CMainMenu::Backliners, 0, 3, 4, "69,138,109,129,100,100,100,119"},
        {CMainMenu::PAHire, 0, 4, 8, "62,142,100,133,100,100,100,128"},
        {CMainMenu::LightHire, 0, 5, 9, "57,130,110,144,100,100,100,123"},
        {CMainMenu::CarHire, 0, 6, 7, "62,100,134,145,100,100,100,124"},
        {CMainMenu::ShowEventList, 1, 0, 6, "20,106,98,131,100,110,100,100,100"},
        {0, 1, 6, 14, "20,106,98,131,100,110,100,100,100"},
        {0, 2, 0, 12, "20,99,100,128,90,115,112,100,100"},
        {CMainMenu::Merchandise, 2, 1, 13, "20,106,98,131,100,110,100,100,100"},
    };
    for (const auto& each : lists) {
        SCOPED_TRACE(each.kind);
        if (each.command)
            action(each.command)->trigger();
        else
            frame->navigate(each.group, each.button);
        EXPECT_EQ(frame->navigationPane()->selectedGroup(), each.group);
        EXPECT_EQ(frame->navigationPane()->selectedListButton(), each.button);
        EXPECT_EQ(list().listKind(), each.kind);
        EXPECT_EQ(leading(widths()), leading(scaledWidths(each.widths, *list().list())));
        // Only the address lists and the event list delete entries.
        EXPECT_EQ(list().deleteButton()->isHidden(), each.kind >= 12);
    }
}

TEST_F(MainWindowTest, ListsStoreTheirWidthsWhenLeftBeforeTheNextListReadsThem) {
    frame->navigate(0, 0);
    list().list()->header()->resizeSection(1, 200);
    EXPECT_EQ(storedWidths("Organizer"), QLatin1String("-"));
    frame->navigate(0, 1);
    const QString organizers =
        scaledWidths("58,134,113,130,100,100,100,129", *list().list(), {{1, 200}});
    EXPECT_EQ(leading(storedWidths("Organizer")), leading(organizers));
    EXPECT_EQ(leading(widths()),
              leading(scaledWidths("68,164,151,130,100,100,151", *list().list())));
    frame->navigate(0, 0);
    EXPECT_EQ(leading(widths()), leading(organizers));

    // The merchandise list shares the event list's key and sees the width just stored.
    const char* const eventDefaults = "20,106,98,131,100,110,100,100,100";
    const QString event = scaledWidths(eventDefaults, *list().list(), {{2, 150}});
    frame->navigate(1, 0);
    list().list()->header()->resizeSection(2, 150);
    frame->navigate(2, 1);
    EXPECT_EQ(leading(widths()), leading(event));

    // The print list never stores its widths.
    frame->navigate(1, 6);
    list().list()->header()->resizeSection(3, 300);
    frame->navigate(1, 0);
    EXPECT_EQ(leading(storedWidths("Event")), leading(event));
    EXPECT_EQ(leading(widths()), leading(event));

    // Leaving the event list for an address list keeps its widths too.
    list().list()->header()->resizeSection(1, 90);
    frame->navigate(0, 0);
    EXPECT_EQ(leading(storedWidths("Event")),
              leading(scaledWidths(eventDefaults, *list().list(), {{1, 90}, {2, 150}})));
    frame->navigate(1, 0);

    // Closing the window stores the widths of the list shown last.
    list().list()->header()->resizeSection(0, 44);
    const QString last = scaledWidths(eventDefaults, *list().list(), {{0, 44}, {1, 90}, {2, 150}});
    app.exitInstance();
    EXPECT_EQ(leading(storedWidths("Event")), leading(last));
}

TEST_F(MainWindowTest, EventAndCostCommandsFollowTheChosenList) {
    EXPECT_EQ(enabled(kEventCommands) + enabled(kCostCommands), QLatin1String("000000000"));
    // List button -1: the group button alone.
    const std::pair<int, int> steps[] = {{1, -1}, {1, 1}, {1, 6}, {0, -1}, {0, 0},
                                         {2, -1}, {2, 0}, {2, 1}, {0, 3}};
    for (const auto& [group, button] : steps) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(group).arg(button).toStdString());
        action(CMainMenu::ShowEventList)->trigger();
        EXPECT_EQ(enabled(kEventCommands) + enabled(kCostCommands), QLatin1String("111000000"));
        frame->navigate(group, button);
        EXPECT_EQ(enabled(kEventCommands), QLatin1String("000"));
        EXPECT_EQ(enabled(kCostCommands),
                  group == 2 && button == 0 ? QLatin1String("111111") : QLatin1String("000000"));
    }
}

TEST_F(MainWindowTest, NewEventSwitchesToTheEventListFirst) {
    frame->navigate(0, 0);
    QString shown;
    closeNextModal(shown);
    action(CMainMenu::NewEvent)->trigger();
    EXPECT_EQ(frame->currentListView(), frame->eventListView());
    EXPECT_EQ(list().listKind(), 6);
    EXPECT_EQ(shown, QStringLiteral("Event bearbeiten"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(MainWindowTest, CommandsOnTheSelectedEventAskForAnEntryFirst) {
    const std::int32_t event = addEvent({{"EBeginn", at(2024, 5, 17, 20, 0)}});
    const std::pair<int, std::vector<int>> lists[] = {
        {1, {CMainMenu::EditEvent, CMainMenu::PlanEvent}}, {2, kCostCommands}};
    for (const auto& [group, commands] : lists) {
        frame->navigate(group, 0);
        for (int command : commands) {
            SCOPED_TRACE(command);
            messages.clear();
            action(command)->trigger();
            ASSERT_EQ(messages.texts(), QStringList{kChooseEntry});
            EXPECT_EQ(messages.messages().first().icon, Icon::Exclamation);
        }
        clickEntry(event);
        messages.clear();
        QString shown;
        closeNextModal(shown);
        action(commands.back())->trigger();
        // The planning hub opens, or the cost form of the command's area.
        EXPECT_EQ(shown, group == 1 ? QStringLiteral("Event planen")
                                    : QStringLiteral("Spesen / Sonstiges"));
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
    }
}

TEST_F(MainWindowTest, EveryListShowsWhatItsFormStoredWithOK) {
    const struct {
        int group, button;
        std::function<std::int32_t()> add;
        const char* label; // the field typed into, found by its label or, with "@", its name
    } lists[] = {
        {0, 0,
         [&] {
             return addFirm(0, {{"Firma", "Alt"}});
         },
         "Firma"},
        {0, 2,
         [&] {
             return addFirm(1, {{"Firma", "Alt"}});
         },
         "Firma"},
        {0, 3,
         [&] {
             return addFirm(2, {{"Firma", "Alt"}});
         },
         "Firma"},
        {0, 4,
         [&] {
             return addFirm(3, {{"Firma", "Alt"}});
         },
         "Firma"},
        {0, 5,
         [&] {
             return addFirm(4, {{"Firma", "Alt"}});
         },
         "Firma"},
        {0, 6,
         [&] {
             return addFirm(5, {{"Firma", "Alt"}});
         },
         "Firma"},
        {0, 1,
         [&] {
             return add<CSetStammMusiker>({{"MName", "Alt"}}, "MusikerID");
         },
         "Name"},
        {1, 0,
         [&] {
             return addPlannedEvent(addFirm(0, {{"Firma", "Kulturamt"}}), "Alt", 5, 17);
         },
         "@editLocation"},
    };
    for (const auto& each : lists) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(each.group).arg(each.button).toStdString());
        const std::int32_t key = each.add();
        frame->navigate(each.group, each.button);
        clickEntry(key);
        FormTest::onNextModal([&](QDialog& form) {
            QLineEdit* field = each.label[0] == '@'
                                   ? form.findChild<QLineEdit*>(QLatin1String(each.label + 1))
                                   : FormTest::field(form, each.label);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(field->text(), QStringLiteral("Alt"));
            field->selectAll();
            QTest::keyClicks(field, QStringLiteral("Neu"));
            messages.queueAnswer(MessageService::Answer::Yes);
            FormTest::click(form, "&Ende");
        });
        messages.clear();
        QTest::mouseClick(list().editButton(), Qt::LeftButton);
        EXPECT_EQ(messages.texts().size(), 1) << messages.texts().join(u'\n').toStdString();
        const int row = list().model()->rowOfKey(key);
        ASSERT_GE(row, 0);
        const auto& texts = list().model()->row(row).texts;
        EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("Neu")), texts.end())
            << QStringList(texts.begin(), texts.end()).join(u'|').toStdString();
        EXPECT_EQ(list().selectedKey(), key);
    }
}

TEST_F(MainWindowTest, AccountingListReadsTheEventsAgainAfterTheFinanceOverviewStored) {
    const std::int32_t event = addPlannedEvent(addFirm(0, {{"Firma", "Kulturamt"}}), "Alt", 5, 17);
    frame->navigate(2, 0);
    clickEntry(event);
    FormTest::onNextModal([&](QDialog& form) {
        // The event is renamed meanwhile; the overview stores its budget.
        db().execute("UPDATE T_Event SET ELocation='Neu'");
        auto* budget = form.findChild<QLineEdit*>(QStringLiteral("editBudgetGesamt"));
        budget->selectAll();
        QTest::keyClicks(budget, QStringLiteral("500"));
        messages.queueAnswer(MessageService::Answer::Yes);
        FormTest::click(form, "&Ende");
    });
    QTest::mouseClick(list().editButton(), Qt::LeftButton);
    EXPECT_EQ(count("T_Event", QStringLiteral("EGageBezahlt > 0")), 1);
    EXPECT_EQ(messages.texts().size(), 1) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(list().selectedKey(), event);
    EXPECT_EQ(list().selectedText(4), QStringLiteral("Neu"));
}

TEST_F(MainWindowTest, EventCommandsActOnTheChosenEvent) {
    const std::int32_t office = addFirm(0, {{"Firma", "Kulturamt"}});
    const std::int32_t may = addPlannedEvent(office, "Halle", 5, 17);
    const std::int32_t june = addPlannedEvent(office, "Zelt", 6, 21);
    frame->navigate(1, 0);
    clickEntry(may);

    // "Eventdaten ändern..." opens the chosen event; what it stores is listed.
    QString shown;
    FormTest::onNextModal([&](QDialog& form) {
        auto* location = form.findChild<QLineEdit*>(QStringLiteral("editLocation"));
        shown = location->text();
        location->selectAll();
        QTest::keyClicks(location, QStringLiteral("Saal"));
        messages.queueAnswer(MessageService::Answer::Yes);
        FormTest::click(form, "&Ende");
    });
    messages.clear();
    action(CMainMenu::EditEvent)->trigger();
    EXPECT_EQ(messages.texts().size(), 1) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(shown, QStringLiteral("Halle"));
    EXPECT_EQ(list().selectedKey(), may);
    EXPECT_EQ(list().selectedText(4), QStringLiteral("Saal"));

    // "Event löschen..." names the chosen event and deletes only it, once confirmed.
    messages.clear();
    action(CMainMenu::DeleteEvent)->trigger();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("17.05.2024")))
        << messages.texts()[0].toStdString();
    EXPECT_EQ(keys().size(), 2);
    messages.queueAnswer(MessageService::Answer::Yes);
    action(CMainMenu::DeleteEvent)->trigger();
    EXPECT_EQ(keys(), QList<std::int32_t>{june});
    EXPECT_EQ(count("T_Event", QStringLiteral("EventID = %1").arg(june)), 1);
}

TEST_F(MainWindowTest, DeleteKeyDeletesTheChosenEntryOfTheListShown) {
    const std::int32_t firm = addFirm(0, {{"Firma", "Kulturamt"}});
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_Delete); // the empty view: nothing to delete

    frame->navigate(0, 0);
    clickEntry(firm);
    messages.queueAnswer(MessageService::Answer::Yes);
    QTest::keyClick(frame, Qt::Key_Delete);
    EXPECT_EQ(messages.texts(), QStringList{"Soll \"Kulturamt\" wirklich gelöscht werden?"});
    EXPECT_TRUE(keys().isEmpty());
}

} // namespace
