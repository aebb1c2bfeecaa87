// The shared field widgets and rules of the forms: how amounts and dates typed by the user are
// read and shown, what a refused field looks like, the multi-column pick list and the report
// list whose column widths live in Kavio.ini.
#include "widgets/FormFields.h"
#include "core/CProfileFile.h"
#include "core/FieldRules.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "support/QStringPrinting.h"
#include "support/ScaledWidths.h"
#include "widgets/CPickList.h"
#include "widgets/CReportList.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <utility>

namespace {

TEST(FormFieldsTest, DecimalsReadAsFarAsTheyFormANumberAndShowGermanDecimals) {
    struct Case {
        const char* input;
        bool ok;
        std::optional<double> value;
    };
    // clang-format off
    const Case cases[] = {
        {"1.200,50", true, 1.2}, {"12,5", true, 12.5}, {" 7.25 ", true, 7.25}, {"-3", true, -3.0},
        {"1a", true, 1.0},       {",5", true, 0.5},    {"0", true, 0.0},       {"0,00", true, 0.0},
        {"", true, {}},          {"  ", true, {}},     {"abc", false, {}},     {"-0", false, {}},
        {",0", false, {}}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        bool ok = !c.ok;
        EXPECT_EQ(FieldRules::parseDecimal(QString::fromUtf8(c.input), &ok), c.value);
        EXPECT_EQ(ok, c.ok);
    }

    const std::pair<std::optional<double>, const char*> shown[] = {
        {12.0, "12"}, {0.0, "0"}, {-40.0, "-40"}, {12.5, "12,50"}, {0.1f, "0,10"}, {{}, ""}};
    for (const auto& [value, text] : shown)
        EXPECT_EQ(FieldRules::formatDecimal(value), QString::fromUtf8(text));
}

TEST(FormFieldsTest, DatesReadWithDotsOrAsSixOrEightDigits) {
    struct Case {
        const char* input;
        std::optional<QDate> date; // nullopt with ok false unless the input is blank
    };
    // clang-format off
    const Case cases[] = {
        {"010226", QDate(2026, 2, 1)},     {"01021926", QDate(1926, 2, 1)},
        {"1.2.26", QDate(2026, 2, 1)},     {"01.02.1926", QDate(1926, 2, 1)},
        {" 24.12.2030 ", QDate(2030, 12, 24)},
        {"1.1.29", QDate(2029, 1, 1)},     {"1.1.30", QDate(2030, 1, 1)},
        {"311229", QDate(2029, 12, 31)},   {"010130", QDate(2030, 1, 1)},
        {"1.1.46", QDate(2046, 1, 1)},     {"010147", QDate(1947, 1, 1)},
        {"29.02.2000", QDate(2000, 2, 29)}, {"31.02.2000", {}}, {"1234567", {}},
        {"1.2.", {}}, {"1.2.123", {}}, {"1-2-2026", {}}, {"morgen", {}}, {"", {}}};
    // clang-format on
    const QDate today(2026, 3, 15);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const QString input = QString::fromUtf8(c.input);
        bool ok = false;
        EXPECT_EQ(FieldRules::parseDate(input, &ok, FieldRules::DateKind::Event, today), c.date);
        EXPECT_EQ(ok, c.date.has_value() || input.isEmpty());
    }
    EXPECT_EQ(FieldRules::formatDate(QDate(2026, 2, 1)), QStringLiteral("01.02.2026"));
    EXPECT_EQ(FieldRules::formatDate(std::nullopt), QString());
}

TEST(FormFieldsTest, RefusedFieldShowsItsMessageAndKeepsTheUserInTheField) {
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* other = new QLineEdit(&form);
    auto* field = new QLineEdit(&form);
    layout->addWidget(other);
    layout->addWidget(field);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    std::optional<double> amount;
    std::optional<QDate> date;
    QDate periodEnd;
    QString text;
    struct Case {
        const char* input;
        std::function<bool()> read;
        QString message; // empty: accepted
    };
    const Case cases[] = {
        {"zwölf", [&] { return FormFields::readDecimal(field, amount); },
         QStringLiteral("Geben Sie bitte eine Zahl ein.")},
        {"31.02.2000", [&] { return FormFields::readDate(field, date); },
         QStringLiteral("Geben Sie bitte ein Datum und/oder eine Zeit ein.")},
        {"Bühnenplan", [&] { return FormFields::readText(field, 5, text); },
         QStringLiteral("Geben Sie bitte nicht mehr als 5 Zeichen ein.")},
        // The end of a period must be given.
        {"", [&] { return FormFields::readRequiredDate(field, periodEnd); },
         QStringLiteral("Geben Sie bitte ein Datum und/oder eine Zeit ein.")},
        {"01.01.2027", [&] { return FormFields::readRequiredDate(field, periodEnd); }, QString()},
        {"12,5", [&] { return FormFields::readDecimal(field, amount); }, QString()},
        {"1.2.26", [&] { return FormFields::readDate(field, date); }, QString()},
        {"Bühne", [&] { return FormFields::readText(field, 5, text); }, QString()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        MessageRecorder messages;
        field->setText(QString::fromUtf8(c.input));
        other->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(c.read(), c.message.isEmpty());
        QApplication::processEvents();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.messages().isEmpty());
            EXPECT_TRUE(other->hasFocus());
            continue;
        }
        ASSERT_EQ(messages.messages().size(), 1);
        EXPECT_EQ(messages.messages().at(0).text, c.message);
        EXPECT_EQ(messages.messages().at(0).icon, MessageService::Icon::Stop);
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(field->selectedText(), field->text());
    }
    EXPECT_EQ(amount, 12.5);
    EXPECT_EQ(date, QDate(2026, 2, 1));
    EXPECT_EQ(periodEnd, QDate(2027, 1, 1));
    EXPECT_EQ(text, QStringLiteral("Bühne"));

    // A birthday field puts a two-digit year that lies ahead into the century before.
    const int nextYear = QDate::currentDate().year() + 1;
    field->setText(QStringLiteral("1.1.%1").arg(nextYear % 100, 2, 10, QChar(u'0')));
    ASSERT_TRUE(FormFields::readDate(field, date, FieldRules::DateKind::Birth));
    EXPECT_EQ(date, QDate(nextYear - 100, 1, 1));
    ASSERT_TRUE(FormFields::readDate(field, date));
    EXPECT_EQ(date, QDate(nextYear, 1, 1));

    // Filling a field is no edit, and shows the value as the field will read it back.
    QTest::keyClicks(field, QStringLiteral("x"));
    ASSERT_TRUE(field->isModified());
    FormFields::setDecimal(field, 1200.5);
    EXPECT_EQ(field->text(), QStringLiteral("1200,50"));
    FormFields::setDate(field, QDate(1999, 7, 3));
    EXPECT_EQ(field->text(), QStringLiteral("03.07.1999"));
    EXPECT_FALSE(field->isModified());
    FormFields::setText(field, QStringLiteral("Bühnenplan"), 20);
    EXPECT_EQ(field->maxLength(), 20);

    QComboBox salutation;
    salutation.addItem(QStringLiteral("alt"));
    FormFields::fillFromLines(&salutation, "Herr\nFrau");
    ASSERT_EQ(salutation.count(), 2);
    EXPECT_EQ(salutation.itemText(1), QStringLiteral("Frau"));
}

TEST(FormFieldsTest, PickListShowsItsFirstVisibleColumnAndSelectsByData) {
    CPickList list;
    QSignalSpy changed(&list, &QComboBox::currentIndexChanged);
    list.setColumnWidths({0, 300, 200, 0});
    list.addRow({QStringLiteral("versteckt"), QStringLiteral("Bühnentechnik Nord"),
                 QStringLiteral("Gewerbe"), QStringLiteral("x")},
                7);
    list.addRow({QStringLiteral("h"), QStringLiteral("Meier, Jan")}, 12);

    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.text(1, 2), QString()); // missing texts are empty
    EXPECT_EQ(list.rowData(1), 12);
    EXPECT_EQ(list.selectedData(), -1); // filling chooses nothing
    EXPECT_EQ(list.selectedData(0), 0);
    EXPECT_EQ(changed.count(), 0);

    EXPECT_TRUE(list.selectData(12));
    EXPECT_EQ(list.currentText(), QStringLiteral("Meier, Jan"));
    EXPECT_EQ(list.selectedData(), 12);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(list.selectData(99));
    EXPECT_EQ(list.selectedData(), -1);
    EXPECT_EQ(changed.count(), 2);

    // The open list shows the visible columns side by side, the hidden ones not at all.
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.showPopup();
    auto* popup = qobject_cast<QTreeView*>(list.view());
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isColumnHidden(0));
    EXPECT_FALSE(popup->isColumnHidden(1));
    EXPECT_TRUE(popup->isColumnHidden(3));
    EXPECT_GE(popup->width(), 500);
    EXPECT_LT(list.width(), 500);
    list.hidePopup();

    list.clearRows();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.selectedData(), -1);
}

TEST(FormFieldsTest, ReportListKeepsItsColumnWidthsInKavioIni) {
    QTemporaryDir dir;
    CProfileFile profile(dir.filePath(QStringLiteral("Kavio.ini")));
    const QStringList titles{QStringLiteral("Titel"), QStringLiteral("Dauer"),
                             QStringLiteral("Tonart")};
    const auto widthsOf = [](const CReportList& list) {
        QStringList widths;
        for (int column = 0; column < list.columnCount(); ++column)
            widths << QString::number(list.header()->sectionSize(column));
        return widths.join(u',');
    };

    CReportList fresh;
    // No file yet: the key's default, scaled for the list's font.
    fresh.setUp(profile, Settings::Songlist, titles);
    EXPECT_EQ(leading(widthsOf(fresh)), leading(scaledWidths("134,34,51", fresh)));

    ASSERT_TRUE(profile.writeText(QStringLiteral("LIST_COLS"), QStringLiteral("Songlist"),
                                  QStringLiteral("200,40")));
    CReportList list;
    list.setUp(profile, Settings::Songlist, titles);
    EXPECT_EQ(leading(widthsOf(list)), QStringLiteral("200,40"));
    list.header()->resizeSection(1, 75);
    list.saveWidths();
    EXPECT_EQ(profile.readText(QStringLiteral("LIST_COLS"), QStringLiteral("Songlist")),
              widthsOf(list));
    EXPECT_EQ(leading(widthsOf(list)), QStringLiteral("200,75"));

    list.addRow({QStringLiteral("Intro"), QStringLiteral("3:10")}, 4);
    list.addRow({QStringLiteral("Zugabe"), QStringLiteral("5:00")}, 9);
    EXPECT_EQ(list.selectedKey(), -1);
    list.selectKey(9);
    EXPECT_EQ(list.selectedKey(), 9);
    EXPECT_EQ(list.selectedText(0), QStringLiteral("Zugabe"));
    list.removeSelectedRow();
    EXPECT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(list.selectedKey(), -1);
}

} // namespace
