// The pick list asks a form's layout for the same room as a plain combo box with the same entries,
// before and after it is first shown, when rows come and go, and when its font changes.
#include "widgets/CPickList.h"

#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PickListTest : public ::testing::Test {
protected:
    PickListTest() {
        auto* layout = new QVBoxLayout(&form);
        layout->addWidget(pick);
        layout->addWidget(combo);
    }

    // A row in both: the pick list shows `shown` in the column it shows, the combo box shows it.
    void add(const QString& shown, std::int32_t key) {
        pick->addRow(shownColumn == 0 ? QStringList{shown, QStringLiteral("Gewerbe")}
                                      : QStringList{QStringLiteral("verborgen"), shown},
                     key);
        combo->addItem(shown);
    }

    void expectSameRoom(const char* when) {
        EXPECT_EQ(pick->sizeHint(), combo->sizeHint()) << when;
        EXPECT_EQ(pick->minimumSizeHint(), combo->minimumSizeHint()) << when;
    }

    // Outlives the form, whose widgets use it.
    std::unique_ptr<QStyle> style{QStyleFactory::create(QStringLiteral("Windows"))};
    QDialog form;
    CPickList* pick = new CPickList(&form);
    QComboBox* combo = new QComboBox(&form);
    int shownColumn = 0;
};

TEST_F(PickListTest, AsksTheRoomOfAComboBoxWithTheSameEntriesAtEveryStage) {
    pick->setColumnWidths({200, 60});
    expectSameRoom("empty");
    pick->clearRows();
    combo->clear();
    add(QStringLiteral("Landgasthof Pfisterwirt"), 1);
    add(QStringLiteral("Obermaier, Stefanie"), 2);
    expectSameRoom("filled");

    // Once asked for, the room stays until the first show, which measures the rows again.
    add(QStringLiteral("Gemeinde Haselried, Kultur und Tourismus"), 3);
    expectSameRoom("grown before the first show");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    expectSameRoom("shown");

    // Rows added or removed afterwards leave it as it is; a new font measures again.
    add(QStringLiteral("Freiwillige Feuerwehr Birkenöd e.V. mit Blaskapelle und Spielmannszug"), 4);
    expectSameRoom("grown while shown");
    pick->clearRows();
    combo->clear();
    add(QStringLiteral("Ö"), 5);
    expectSameRoom("refilled while shown");
    QFont larger = form.font();
    larger.setPointSize(larger.pointSize() + 6);
    pick->setFont(larger);
    combo->setFont(larger);
    expectSameRoom("after a change of font");
    ASSERT_NE(style, nullptr);
    pick->setStyle(style.get());
    combo->setStyle(style.get());
    expectSameRoom("after a change of style");
}

TEST_F(PickListTest, MeasuresTheColumnTheClosedListShows) {
    shownColumn = 1;
    pick->setColumnWidths({0, 120});
    add(QStringLiteral("Tonstudio Hallgruber"), 1);
    add(QStringLiteral("Beschallungstechnik Südwind GmbH"), 2);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    expectSameRoom("second column shown");
    EXPECT_EQ(pick->currentText(), QString()); // still no choice made
    ASSERT_TRUE(pick->selectData(2));
    EXPECT_EQ(pick->currentText(), QStringLiteral("Beschallungstechnik Südwind GmbH"));
}

TEST_F(PickListTest, RowsKeepTheirTextsPerColumnAndTheirNumber) {
    pick->setColumnWidths({150, 0, 60});
    pick->addRow({QStringLiteral("Kastl"), QStringLiteral("Ferdinand")}, 7); // one text short
    pick->addRow({QStringLiteral("Zellner"), QString(), QStringLiteral("KG"), QStringLiteral("x")},
                 9); // one text too many
    EXPECT_EQ(pick->rowCount(), 2);
    EXPECT_EQ(pick->text(0, 1), QStringLiteral("Ferdinand"));
    EXPECT_EQ(pick->text(0, 2), QString());
    EXPECT_EQ(pick->text(1, 2), QStringLiteral("KG"));
    EXPECT_EQ(pick->text(1, 3), QString());
    EXPECT_EQ(pick->text(2, 0), QString());
    EXPECT_EQ(pick->rowData(1), 9);
    EXPECT_EQ(pick->rowData(2), 0);
    EXPECT_EQ(pick->selectedData(), -1);

    ASSERT_TRUE(pick->selectData(9));
    EXPECT_EQ(pick->currentText(), QStringLiteral("Zellner"));
    EXPECT_EQ(pick->selectedData(), 9);
    EXPECT_FALSE(pick->selectData(8));
    EXPECT_EQ(pick->selectedData(0), 0);

    // Emptied and filled again, the list has no choice until one is made.
    ASSERT_TRUE(pick->selectData(7));
    pick->clearRows();
    EXPECT_EQ(pick->rowCount(), 0);
    EXPECT_EQ(pick->selectedData(), -1);
    pick->addRow({QStringLiteral("Eichhorn")}, 3);
    EXPECT_EQ(pick->selectedData(), -1);
    EXPECT_EQ(pick->currentText(), QString());

    // Without widths a list has as many columns as its widest row.
    CPickList loose;
    loose.addRow({QStringLiteral("a")}, 1);
    loose.addRow({QStringLiteral("b"), QStringLiteral("c")}, 2);
    EXPECT_EQ(loose.model()->columnCount(), 2);
    EXPECT_EQ(loose.text(1, 1), QStringLiteral("c"));
    EXPECT_EQ(loose.text(0, 1), QString());
}

} // namespace
