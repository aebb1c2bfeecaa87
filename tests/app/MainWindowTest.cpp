// The main window as a user drives it: the navigation pane and the menu lead to the lists, the
// lists keep their column widths in Kavio.ini, the commands on the chosen list are available
// only with that list, and the Delete key deletes the chosen entry.
#include "MainWindowSupport.h"
#include "app/CMainMenu.h"
#include "support/ScaledWidths.h"
#include "views/CViewSplitLeft.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

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
