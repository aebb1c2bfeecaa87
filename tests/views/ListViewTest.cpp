// The lists of the main window: what the address and event lists show, the status icon of an
// event, what the delete button asks and changes, and how a refill keeps the entries.
#include "app/MainWindowSupport.h"
#include "core/ChangeNotifier.h"
#include "core/PlanningStatus.h"

#include <QIcon>
#include <QPushButton>

namespace {

using Answer = MessageService::Answer;
using Icon = MessageService::Icon;

class ListViewTest : public RunningProgramTest {
protected:
    QStringList entry(std::int32_t key) {
        const int row = list().model()->rowOfKey(key);
        QStringList texts;
        for (int col = 0; row >= 0 && col < list().model()->columnCount(); ++col)
            texts << list().model()->row(row).texts[size_t(col)];
        return texts;
    }
    void flag(std::int32_t firm) {
        CSetStammExtFirma firms(db());
        firms.open(QStringLiteral("[ExtID]=%1").arg(firm));
        firms.edit();
        firms.setBool("fDeleted", true);
        firms.update();
    }
    // Clicks the delete button, answering a question with the answer given.
    QStringList clickDelete(Answer answer) {
        messages.clear();
        messages.queueAnswer(answer);
        QTest::mouseClick(list().deleteButton(), Qt::LeftButton);
        return messages.texts();
    }
};

TEST_F(ListViewTest, AddressListsShowBusinessFirmsFirstAndLeaveFlaggedOnesOut) {
    const std::int32_t anna = addFirm(0, {{"fPrivat", true},
                                          {"Name", "Albers"},
                                          {"Vorname", "Anna"},
                                          {"PLZ", "20095"},
                                          {"Ort", "Hamburg"}});
    addFirm(0, {{"fPrivat", true}, {"Name", "Zander"}});
    const std::int32_t office = addFirm(0, {{"Firma", "Kulturamt"}, {"Name", "Berg"}});
    addFirm(0, {{"Firma", "Bühnen GmbH"}});
    flag(addFirm(0, {{"Firma", "Alt GmbH"}}));
    addFirm(1, {{"Firma", "Technik AG"}});
    add<CSetStammMusiker>({{"MName", "Meier"}, {"MVorname", "Max"}, {"MPLZ", "50667"}});
    add<CSetStammMusiker>({{"MName", "Abel"}, {"fDeleted", true}});

    frame->navigate(0, 0);
    EXPECT_EQ(column(1), QStringList({"Bühnen GmbH", "Kulturamt", "Albers, Anna", "Zander"}));
    EXPECT_EQ(column(0), QStringList({"Gewerbe", "Gewerbe", "Privat", "Privat"}));
    EXPECT_EQ(entry(anna).at(3), QLatin1String("20095 Hamburg"));
    EXPECT_EQ(entry(office).at(1), QLatin1String("Kulturamt"));
    frame->navigate(0, 2);
    EXPECT_EQ(column(1), QStringList{"Technik AG"});
    frame->navigate(0, 1);
    EXPECT_EQ(column(0) + column(1) + column(2), QStringList({"Meier", "Max", "50667"}));
}

TEST_F(ListViewTest, EventListNamesTheOrganiserAndFormatsTheDates) {
    const std::int32_t office = addFirm(0, {{"Firma", "Kulturamt"}, {"Ort", "Köln"}});
    const std::int32_t anna =
        addFirm(0, {{"fPrivat", true}, {"Name", "Albers"}, {"Vorname", "Anna"}});
    const std::int32_t technician = addFirm(1, {{"Firma", "Technik AG"}});
    const std::int32_t concert = addEvent({{"VeranstalterID", office},
                                           {"EBeginn", at(2024, 5, 17, 20, 0)},
                                           {"EEnde", at(2024, 5, 18, 1, 30)},
                                           {"ELocation", "Brückenforum"},
                                           {"EStrasse", "Friedrich-Breuer-Str. 17"},
                                           {"EPLZ", "53111"},
                                           {"EOrt", "Bonn"},
                                           {"ETAufbauVon", at(2024, 5, 17, 14, 5)},
                                           {"ETAbbauVon", at(2024, 5, 18, 2, 0)}});
    const std::int32_t wedding =
        addEvent({{"VeranstalterID", anna}, {"EBeginn", at(2023, 1, 6, 9, 5)}, {"EOrt", "Kiel"}});
    // Only organisers are looked up, not a technician that happens to have the key.
    const std::int32_t odd = addEvent({{"VeranstalterID", technician}});

    frame->navigate(1, 0);
    EXPECT_EQ(entry(concert),
              QStringList({"", "17.05.2024 20:00", "18.05.2024 01:30", "Kulturamt Bonn",
                           "Brückenforum", "Friedrich-Breuer-Str. 17", "53111 Bonn",
                           "17.05.24 14:05", "18.05.24 02:00"}));
    EXPECT_EQ(entry(wedding).mid(1, 3), QStringList({"06.01.2023 09:05", "", "Albers, Anna"}));
    EXPECT_EQ(entry(odd).at(3), QString());
}

TEST_F(ListViewTest, EventIconsFollowThePlanningAndAccountingStates) {
    const struct {
        const char* planning; // eight planning states, then six accounting states; "": no row
        int eventIcon, accountingIcon;
    } cases[] = {{"", 0, 3},
                 {"00000000 222222", 0, 3},
                 {"22222222 000000", 2, 0},
                 {"22222222 000100", 2, 1},
                 {"22222222 222220", 2, 1},
                 {"22222222 222222", 2, 2},
                 {"22222212 222222", 1, 3},
                 {"10000000 000000", 1, 3}};
    std::vector<std::int32_t> events;
    for (const auto& each : cases) {
        events.push_back(addEvent({{"EBeginn", at(2024, 1, 1 + int(events.size()), 20, 0)}}));
        if (!*each.planning)
            continue;
        Values states{{"EventID", events.back()}};
        for (int i = 0; i < 8; ++i)
            states.emplace_back(PlanningStatus::kPlanningColumns[size_t(i)],
                                each.planning[i] - '0');
        for (int i = 0; i < 6; ++i)
            states.emplace_back(PlanningStatus::kAccountingColumns[size_t(i)],
                                each.planning[9 + i] - '0');
        add<CSetEventStatus>(states);
    }
    const std::pair<int, int> eventLists[] = {{1, 0}, {1, 6}, {2, 1}, {2, 0}};
    for (const auto& [group, button] : eventLists) {
        frame->navigate(group, button);
        for (size_t i = 0; i < events.size(); ++i) {
            SCOPED_TRACE(QStringLiteral("kind %1, %2").arg(list().listKind()).arg(i).toStdString());
            const ListRow& row = list().model()->row(list().model()->rowOfKey(events[i]));
            EXPECT_EQ(row.icon,
                      group == 2 && button == 0 ? cases[i].accountingIcon : cases[i].eventIcon);
        }
    }
    const QModelIndex first = list().model()->index(0, 0);
    EXPECT_FALSE(list().model()->data(first, Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(ListViewTest, DeleteAsksThenFlagsAMasterRowOrRemovesAnEvent) {
    const std::int32_t anna =
        addFirm(0, {{"fPrivat", true}, {"Name", "Albers"}, {"Vorname", "Anna"}});
    const std::int32_t office = addFirm(0, {{"Firma", "Kulturamt"}});
    const std::int32_t max =
        add<CSetStammMusiker>({{"MName", "Meier"}, {"MVorname", "Max"}}, "MusikerID");
    const std::int32_t concert = addEvent(
        {{"VeranstalterID", office}, {"EOrt", "Bonn"}, {"EBeginn", at(2024, 5, 17, 20, 0)}});
    const std::int32_t other = addEvent({{"EBeginn", at(2024, 6, 1, 20, 0)}});
    for (std::int32_t event : {concert, other}) {
        add<CSetEventBesetzung>({{"EventID", event}, {"MusikerID", max}});
        add<CSetEventStatus>({{"EventID", event}});
    }
    const QString chooseEntry = QStringLiteral("Wählen Sie bitte einen Eintrag aus der Liste.");
    const struct {
        int group, button;
        std::int32_t key;
        QString hint, question;
        const char* table;
        QString kept; // the row as it is until "Yes"
    } cases[] = {
        {0, 0, anna, chooseEntry, "Soll \"Albers, Anna\" wirklich gelöscht werden?",
         "T_Stamm_ExtFirma", QStringLiteral("fDeleted = 0 AND ExtID = %1").arg(anna)},
        {0, 1, max, chooseEntry, "Soll Musiker \"Max Meier\" wirklich gelöscht werden?",
         "T_Stamm_Musiker", QStringLiteral("fDeleted = 0 AND MusikerID = %1").arg(max)},
        {1, 0, concert, "Wählen Sie bitte einen Event aus der Liste.",
         "Soll der Event \"Kulturamt Bonn\" am 17.05.2024 20:00 wirklich gelöscht werden?",
         "T_Event", QStringLiteral("EventID = %1").arg(concert)},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.question.toStdString());
        frame->navigate(each.group, each.button);
        const QList<std::int32_t> before = keys();
        EXPECT_EQ(clickDelete(Answer::Yes), QStringList{each.hint});
        EXPECT_EQ(messages.messages().value(0).icon, Icon::Exclamation);

        clickEntry(each.key);
        EXPECT_EQ(clickDelete(Answer::No), QStringList{each.question});
        EXPECT_EQ(messages.messages().value(0).buttons, MessageService::Buttons::YesNo);
        EXPECT_EQ(keys(), before);
        EXPECT_EQ(count(each.table, each.kept), 1);

        EXPECT_EQ(clickDelete(Answer::Yes), QStringList{each.question});
        EXPECT_EQ(keys().size(), before.size() - 1);
        EXPECT_FALSE(keys().contains(each.key));
        EXPECT_EQ(count(each.table, each.kept), 0);
    }
    // Flagged master rows stay in their tables; an event takes its own rows with it.
    EXPECT_EQ(count("T_Stamm_ExtFirma", QStringLiteral("ExtID = %1").arg(anna)), 1);
    EXPECT_EQ(count("T_Stamm_Musiker", QStringLiteral("MusikerID = %1").arg(max)), 1);
    for (const char* table : {"T_Event_Besetzung", "T_Event_Status"}) {
        EXPECT_EQ(count(table, QStringLiteral("EventID = %1").arg(concert)), 0) << table;
        EXPECT_EQ(count(table, QStringLiteral("EventID = %1").arg(other)), 1) << table;
    }

    // The accounting, merchandise and print lists delete nothing, chosen entry or not.
    const std::pair<int, int> otherLists[] = {{2, 0}, {2, 1}, {1, 6}};
    for (const auto& [group, button] : otherLists) {
        frame->navigate(group, button);
        clickEntry(other);
        messages.clear();
        list().onDelete();
        EXPECT_TRUE(messages.messages().isEmpty());
        EXPECT_EQ(keys(), QList<std::int32_t>{other});
    }
}

TEST_F(ListViewTest, RefillKeepsTheSelectionAndRemovesSurplusEntries) {
    const std::int32_t a = addFirm(0, {{"Firma", "A-Firma"}});
    const std::int32_t b = addFirm(0, {{"Firma", "B-Firma"}});
    const std::int32_t c = addFirm(0, {{"Firma", "C-Firma"}});
    frame->navigate(0, 0);
    clickEntry(c);
    const std::int32_t d = addFirm(0, {{"Firma", "D-Firma"}});
    frame->requestListRefresh();
    EXPECT_EQ(keys(), QList<std::int32_t>({a, b, c, d}));
    EXPECT_EQ(list().selectedKey(), c);

    flag(d);
    frame->requestListRefresh();
    EXPECT_EQ(keys(), QList<std::int32_t>({a, b, c}));
    EXPECT_EQ(list().list()->model()->rowCount(), 3);
    EXPECT_EQ(list().selectedKey(), c);
}

// A new entry sorted before the selected one, or the selected one deleted: the highlight stays on
// the same record, or on the same row, so a second Delete never aims at another record.
TEST_F(ListViewTest, SelectionFollowsItsRecordThroughNewAndDeletedEntries) {
    const std::int32_t huber = addFirm(0, {{"Firma", "Huber"}});
    const std::int32_t tracht = addFirm(0, {{"Firma", "Trachtenverein"}});
    frame->navigate(0, 0);
    clickEntry(huber);
    const std::int32_t kultur = addFirm(0, {{"Firma", "Kulturverein"}});
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Firms, kultur, 0);
    EXPECT_EQ(keys(), QList<std::int32_t>({huber, kultur, tracht}));
    EXPECT_EQ(list().selectedKey(), huber);

    clickEntry(kultur);
    flag(kultur);
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Firms, kultur, 0);
    EXPECT_EQ(list().selectedKey(), tracht);
    // Another kind's change leaves this list alone.
    const std::int32_t technician = addFirm(1, {{"Firma", "Aaa-Technik"}});
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Firms, technician, 1);
    EXPECT_EQ(keys(), QList<std::int32_t>({huber, tracht}));
}

} // namespace
