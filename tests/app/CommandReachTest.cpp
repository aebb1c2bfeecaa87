// Every command of the main window within reach at 1280×720: the list buttons below the group
// buttons, the toolbar's calendar and printer, keyboard mnemonics that lead to one place each,
// nothing acting on a list hidden behind a report's preview, and the print list's button.
#include "MainWindowSupport.h"
#include "app/CMainMenu.h"
#include "app/ReportCommands.h"
#include "core/Backup.h"
#include "support/FormTestSupport.h"
#include "tool/DemoData.h"
#include "views/CMonatskalenderDlg.h"
#include "views/CViewPrintPreview.h"
#include "views/CViewSplitLeft.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputDialog>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace {

// The letter after a single "&", lower case; none for "&&" or no mnemonic.
QChar mnemonic(const QString& text) {
    for (int at = 0; at + 1 < text.size(); ++at) {
        if (text.at(at) != u'&')
            continue;
        if (text.at(at + 1) == u'&') {
            ++at;
            continue;
        }
        return text.at(at + 1).toLower();
    }
    return QChar();
}

class CommandReachTest : public RunningProgramTest {
protected:
    void SetUp() override {
        RunningProgramTest::SetUp();
        fillDemoData(db());
        frame->resize(1280, 690);
        frame->show();
        QApplication::processEvents();
    }
    QAction* action(int command) { return frame->mainMenu()->action(command); }
};

TEST_F(CommandReachTest, ListButtonsScrollBelowGroupButtonsThatStayInPlace) {
    CViewSplitLeft* pane = frame->navigationPane();
    const QPoint group = pane->groupButton(2)->mapTo(frame, QPoint());
    auto* scroll = pane->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_EQ(pane->groupButton(2)->mapTo(frame, QPoint()), group);
    // The last list button ("Kfz-Verleih") lies inside the pane's visible part.
    QToolButton* last = pane->listButton(6);
    const QRect shown(last->mapTo(scroll->viewport(), QPoint()), last->size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(shown));
    QTest::mouseClick(last, Qt::LeftButton);
    EXPECT_EQ(list().listKind(), 7);
}

TEST_F(CommandReachTest, ToolbarOpensTheMonthCalendarAndThePrintList) {
    QAction* calendar = action(CMainMenu::ToolbarCalendar);
    QAction* print = action(CMainMenu::ToolbarPrint);
    ASSERT_TRUE(calendar->isEnabled());
    ASSERT_TRUE(print->isEnabled());
    bool month = false;
    FormTest::onNextModal([&month](QDialog& form) {
        month = qobject_cast<CMonatskalenderDlg*>(&form) != nullptr;
        form.reject();
    });
    calendar->trigger();
    EXPECT_TRUE(month);
    print->trigger();
    EXPECT_EQ(list().listKind(), 14);
    EXPECT_EQ(list().editButton()->text(), QStringLiteral("Dr&ucken..."));
}

TEST_F(CommandReachTest, MnemonicsLeadToOnePlaceInEveryList) {
    QList<QChar> menus;
    for (QAction* menu : frame->menuBar()->actions()) {
        if (!mnemonic(menu->text()).isNull())
            menus << mnemonic(menu->text());
    }
    ASSERT_GE(menus.size(), 6);
    for (const auto& [group, button] : std::vector<std::pair<int, int>>{{0, 0},
                                                                        {0, 1},
                                                                        {0, 2},
                                                                        {0, 3},
                                                                        {0, 4},
                                                                        {0, 5},
                                                                        {0, 6},
                                                                        {1, 0},
                                                                        {1, 6},
                                                                        {2, 0},
                                                                        {2, 1}}) {
        frame->navigate(group, button);
        SCOPED_TRACE(testing::Message() << "list kind " << list().listKind());
        QList<QChar> seen = menus;
        for (QPushButton* each : list().findChildren<QPushButton*>()) {
            if (each->isHidden())
                continue;
            const QChar letter = mnemonic(each->text());
            ASSERT_FALSE(letter.isNull()) << each->text().toStdString();
            EXPECT_FALSE(seen.contains(letter)) << each->text().toStdString();
            seen << letter;
        }
    }
    // Alt+E opens the menu "Eventverwaltung", not the list's end button.
    frame->navigate(0, 0);
    EXPECT_EQ(list().endButton()->text(), QStringLiteral("E&nde"));
}

TEST_F(CommandReachTest, ListAndItsCommandsRestWhileAPreviewStandsIn) {
    frame->navigate(1, 0);
    const int events = list().model()->rowCount();
    ASSERT_GT(events, 0);
    clickEntry(list().model()->row(0).key);
    EXPECT_TRUE(action(CMainMenu::DeleteEvent)->isEnabled());

    auto* preview = new CViewPrintPreview;
    frame->setReportPreview(preview);
    EXPECT_TRUE(frame->reportPreviewShown());
    for (int command : {CMainMenu::EditEvent, CMainMenu::DeleteEvent, CMainMenu::PlanEvent})
        EXPECT_FALSE(action(command)->isEnabled()) << command;
    EXPECT_FALSE(frame->eventListView()->isEnabled());
    QTest::keyClick(frame, Qt::Key_Delete);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(list().model()->rowCount(), events);

    frame->setReportPreview(nullptr);
    delete preview;
    EXPECT_TRUE(action(CMainMenu::DeleteEvent)->isEnabled());
    EXPECT_TRUE(frame->eventListView()->isEnabled());
}

TEST_F(CommandReachTest, PrintListPrintsTheChosenReportOfTheChosenEvent) {
    frame->navigate(1, 6);
    ASSERT_EQ(list().listKind(), 14);
    clickEntry(list().model()->row(0).key);
    QStringList offered;
    FormTest::onNextModal([&offered](QDialog& dialog) {
        auto* choice = qobject_cast<QInputDialog*>(&dialog);
        ASSERT_NE(choice, nullptr);
        offered = choice->comboBoxItems();
        choice->setTextValue(QStringLiteral("Abrechnung"));
        choice->accept();
    });
    QTest::mouseClick(list().editButton(), Qt::LeftButton);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Gig-Rider"), QStringLiteral("Abrechnung")}));
    ASSERT_NE(frame->mainMenu()->reports().preview(), nullptr);
    EXPECT_GT(frame->mainMenu()->reports().preview()->document().pageCount(), 0);
    EXPECT_FALSE(messages.texts().join(u'\n').contains(QStringLiteral("nicht verfügbar")));
}

TEST_F(CommandReachTest, BackupNowWritesACheckedCopyAtOnce) {
    const QString folder = Backup::folder(dir.path());
    ASSERT_TRUE(Backup::list(folder).isEmpty());
    action(CMainMenu::BackupNow)->trigger();
    const QList<Backup::Copy> copies = Backup::list(folder);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies[0].events, count("T_Event", QStringLiteral("EventID > 0")));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("Die Datenbank wurde gesichert:")));
    EXPECT_TRUE(messages.texts()[0].contains(QDir::toNativeSeparators(copies[0].path)));
}

} // namespace
