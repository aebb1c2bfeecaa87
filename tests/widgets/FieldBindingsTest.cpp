// The field bindings every form uses, on a real row: what they show, what they refuse, what they
// store.
#include "widgets/FieldBindings.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "support/TestDatabase.h"
#include "widgets/CPickList.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

class FieldBindingsTest : public ::testing::Test {
protected:
    FieldBindingsTest() {
        auto* layout = new QGridLayout(&form);
        auto* label = new QLabel(QStringLiteral("&Gage:"), &form);
        label->setBuddy(fee);
        layout->addWidget(label, 0, 0);
        layout->addWidget(fee, 0, 1);
        layout->addWidget(location, 1, 1);
        layout->addWidget(requested, 2, 1);
        layout->addWidget(booked, 3, 1);
        layout->addWidget(organiser, 4, 1);
        organiser->setColumnWidths({100});
        organiser->addRow({QString()}, 0);
        organiser->addRow({QStringLiteral("Kulturamt")}, 7);
        database.exec("INSERT INTO T_Event (EventID, ELocation, EGageVereinb, Status, "
                      "VeranstalterID) VALUES (1, 'Halle', 1234.5625, 9, NULL)");
    }

    // Reads the fields back and stores them into event 1, as a form's save does.
    bool save() {
        if (!bindings.read())
            return false;
        CSetEvent row(database.db());
        row.open(QStringLiteral("[EventID]=1"));
        row.edit();
        bindings.store(row);
        row.update();
        return true;
    }

    void load() {
        CSetEvent row(database.db());
        row.open(QStringLiteral("[EventID]=1"));
        bindings.load(row);
    }

    QString stored(const char* column) {
        return database.db().queryText(std::string("SELECT quote(") + column +
                                       ") FROM T_Event WHERE EventID = 1");
    }

    TestDatabase database;
    MessageRecorder messages;
    QDialog form;
    QLineEdit* fee = new QLineEdit(&form);
    QLineEdit* location = new QLineEdit(&form);
    QRadioButton* requested = new QRadioButton(&form);
    QRadioButton* booked = new QRadioButton(&form);
    CPickList* organiser = new CPickList(&form);
    FieldBindings bindings;
};

TEST_F(FieldBindingsTest, UnchangedFieldsStoreWhatWasStoredAndNullShowsTheDefault) {
    auto* amount = bindings.add<AmountBinding>(fee, "EGageVereinb");
    bindings.add<TextBinding>(location, "ELocation", 50);
    bindings.add<RadioBinding>(QList<QPair<QRadioButton*, int>>{{requested, 0}, {booked, 2}},
                               "Status", 2);
    bindings.add<PickKeyBinding>(organiser, "VeranstalterID");
    load();
    // Shown with two decimals, an unknown status as the default, no organiser as no row.
    EXPECT_EQ(fee->text(), QStringLiteral("1234,56"));
    EXPECT_TRUE(booked->isChecked());
    EXPECT_EQ(organiser->currentIndex(), -1);

    const QString before = stored("EGageVereinb");
    ASSERT_TRUE(save());
    EXPECT_EQ(stored("EGageVereinb"), before); // not rounded to what was shown
    EXPECT_EQ(stored("Status"), QStringLiteral("2"));
    EXPECT_EQ(stored("VeranstalterID"), QStringLiteral("NULL"));

    // Changed fields store what was typed; an empty text and the empty row store null.
    fee->setText(QStringLiteral("12,5"));
    location->clear();
    requested->setChecked(true);
    organiser->setCurrentIndex(0);
    ASSERT_TRUE(save());
    EXPECT_EQ(*amount->value(), 12.5);
    EXPECT_EQ(stored("EGageVereinb"), QStringLiteral("12.5"));
    EXPECT_EQ(stored("ELocation"), QStringLiteral("NULL"));
    EXPECT_EQ(stored("Status"), QStringLiteral("0"));
    EXPECT_EQ(stored("VeranstalterID"), QStringLiteral("NULL"));
    organiser->setCurrentIndex(1);
    ASSERT_TRUE(save());
    EXPECT_EQ(stored("VeranstalterID"), QStringLiteral("7"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(FieldBindingsTest, FirstFaultyFieldIsRefusedAndNothingIsStored) {
    bindings.add<TextBinding>(location, "ELocation", 50);
    bindings.add<AmountBinding>(fee, "EGageVereinb");
    bindings.add<AmountBinding>(new QLineEdit(QStringLiteral("auch viel"), &form), "EVerlStd");
    load();
    form.show();
    location->setText(QStringLiteral("Stadthalle"));
    fee->setText(QStringLiteral("viel"));
    EXPECT_FALSE(save());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Geben Sie bitte eine Zahl ein.")});
    EXPECT_EQ(form.focusWidget(), fee);
    EXPECT_EQ(fee->selectedText(), QStringLiteral("viel"));
    EXPECT_EQ(stored("ELocation"), QStringLiteral("'Halle'"));
}

TEST_F(FieldBindingsTest, StoredTextLongerThanTheLimitIsKeptWholeUntilChanged) {
    const QString longName = QString(60, QLatin1Char('x'));
    database.exec(
        "UPDATE T_Event SET ELocation = "
        "'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx' WHERE EventID = 1");
    bindings.add<TextBinding>(location, "ELocation", 50);
    load();
    form.show();
    EXPECT_EQ(location->text(), longName);
    ASSERT_TRUE(save());
    EXPECT_EQ(stored("ELocation"), QLatin1Char('\'') + longName + QLatin1Char('\''));

    // A change is held to the limit again.
    location->setText(QString(59, QLatin1Char('y')));
    EXPECT_FALSE(save());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Geben Sie bitte nicht mehr als 50 Zeichen ein.")});
    EXPECT_EQ(stored("ELocation"), QLatin1Char('\'') + longName + QLatin1Char('\''));
}

TEST_F(FieldBindingsTest, DatabaseRefusalNamesTheFieldByItsLabel) {
    bindings.add<AmountBinding>(fee, "EGageVereinb");
    form.show();
    const CDaoException refusal(CDaoException::NumericOverflow,
                                QStringLiteral("Die Zahl im Feld \"EGageVereinb\" ist zu groß."));
    EXPECT_EQ(bindings.explain(refusal), QStringLiteral("Die Zahl im Feld \"Gage\" ist zu groß."));
    EXPECT_EQ(form.focusWidget(), fee);
}

} // namespace
