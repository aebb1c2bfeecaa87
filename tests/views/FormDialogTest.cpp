// The close logic every form shares, on a small form of its own: when "&Ende" asks, what each
// answer does, which edits count as changes, what Escape and the close box do, and the whole
// number check with its messages.
#include "core/MessageService.h"
#include "support/QStringPrinting.h"
#include "widgets/CFormDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

using Answer = MessageService::Answer;

const QString kQuestion = QString::fromUtf8(CFormDialog::kSaveQuestion);

// A form with one field of each kind. Its save reads a whole number from 5 to 10 and then
// succeeds or fails as the test wishes.
class ProbeForm : public CFormDialog {
public:
    ProbeForm() {
        auto* layout = new QVBoxLayout(this);
        name = new QLineEdit(this);
        number = new QLineEdit(this);
        notes = new QPlainTextEdit(this);
        rich = new QTextEdit(this);
        ende = new QPushButton(QStringLiteral("&Ende"), this);
        ende->setDefault(true);
        for (QWidget* widget : {static_cast<QWidget*>(name), static_cast<QWidget*>(number),
                                static_cast<QWidget*>(notes), static_cast<QWidget*>(rich),
                                static_cast<QWidget*>(ende)})
            layout->addWidget(widget);
        connect(ende, &QPushButton::clicked, this, &CFormDialog::onEnde);

        // Filled as a form fills itself when it opens: that is no change.
        name->setText(QStringLiteral("Gig"));
        number->setText(QStringLiteral("7"));
        notes->setPlainText(QStringLiteral("Notizen"));
        rich->setHtml(QStringLiteral("<b>Text</b>"));
    }

    QLineEdit* name;
    QLineEdit* number;
    QPlainTextEdit* notes;
    QTextEdit* rich;
    QPushButton* ende;

    bool saveSucceeds = true;
    int saves = 0;
    int savedNumber = 0;

protected:
    bool save() override {
        ++saves;
        if (!readWholeNumber(number, 5, 10, savedNumber))
            return false;
        return saveSucceeds;
    }
};

class FormDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void retype(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    MessageRecorder messages;
    ProbeForm form;
    QSignalSpy finished{&form, &QDialog::finished};
};

TEST_F(FormDialogTest, EndeAsksOnlyWhenChangedAndFollowsTheAnswer) {
    // Nothing edited: closes as cancelled without a question.
    ProbeForm untouched;
    untouched.ende->click();
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(untouched.result(), QDialog::Rejected);

    retype(form.number, QStringLiteral("9"));
    messages.queueAnswer(Answer::Cancel);
    form.ende->click();
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().at(0).text, kQuestion);
    EXPECT_EQ(messages.messages().at(0).icon, MessageService::Icon::Question);
    EXPECT_EQ(messages.messages().at(0).buttons, MessageService::Buttons::YesNoCancel);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.saves, 0);

    // Yes, but the save fails: the form stays open, its input still unsaved.
    form.saveSucceeds = false;
    messages.queueAnswer(Answer::Yes);
    form.ende->click();
    EXPECT_EQ(form.saves, 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.number->text(), QStringLiteral("9"));
    EXPECT_EQ(finished.count(), 0);

    form.saveSucceeds = true;
    messages.queueAnswer(Answer::Yes);
    form.ende->click();
    EXPECT_EQ(messages.texts(), (QStringList{kQuestion, kQuestion, kQuestion}));
    EXPECT_EQ(form.saves, 2);
    EXPECT_EQ(form.savedNumber, 9);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isChanged());
}

TEST_F(FormDialogTest, EachKindOfEditCountsAsChangeAndNoDropsIt) {
    struct Case {
        const char* what;
        std::function<void(ProbeForm&)> edit;
    };
    const Case cases[] = {
        {"line edit", [](ProbeForm& f) { QTest::keyClicks(f.name, QStringLiteral("x")); }},
        {"plain text", [](ProbeForm& f) { QTest::keyClicks(f.notes, QStringLiteral("x")); }},
        {"rich text", [](ProbeForm& f) { QTest::keyClicks(f.rich, QStringLiteral("x")); }},
        {"changed flag", [](ProbeForm& f) { f.setChanged(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeForm probe;
        probe.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&probe));
        EXPECT_FALSE(probe.isChanged()); // filling the fields was no change
        c.edit(probe);

        messages.clear();
        messages.queueAnswer(Answer::No);
        probe.ende->click();
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_EQ(probe.result(), QDialog::Rejected);
        EXPECT_FALSE(probe.isVisible());
        EXPECT_EQ(probe.saves, 0);

        probe.markSaved();
        EXPECT_FALSE(probe.isChanged());
    }
}

TEST_F(FormDialogTest, EscapeAndCloseBoxLeaveWithoutAskingEnterIsEnde) {
    retype(form.name, QStringLiteral("Neu"));
    messages.queueAnswer(Answer::Cancel);
    QTest::keyClick(form.name, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_TRUE(form.isVisible());

    QTest::keyClick(form.name, Qt::Key_Escape);
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());

    ProbeForm other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.setChanged();
    EXPECT_TRUE(other.close());
    EXPECT_EQ(messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_EQ(other.saves, 0);
}

TEST_F(FormDialogTest, WholeNumberCheckRefusesWithMessageAndFocus) {
    const QString notWhole = QStringLiteral("Geben Sie bitte eine ganze Zahl ein.");
    const QString outside =
        QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 5 und 10 ein.");
    struct Case {
        const char* input;
        QString message;
    };
    const Case refused[] = {
        {"", notWhole},    {"abc", notWhole}, {"7,5", notWhole},
        {"7.5", notWhole}, {"7 5", notWhole}, {"4", outside},
        {"11", outside},   {"-6", outside},   {"99999999999", outside},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.input);
        retype(form.number, QString::fromLatin1(c.input));
        form.name->setFocus();
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        form.ende->click();

        ASSERT_EQ(messages.messages().size(), 2);
        EXPECT_EQ(messages.messages().at(1).text, c.message);
        EXPECT_EQ(messages.messages().at(1).icon, MessageService::Icon::Stop);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.focusWidget(), form.number);
        EXPECT_EQ(form.number->text(), QString::fromLatin1(c.input));
        EXPECT_EQ(form.number->selectedText(), form.number->text());
    }
    EXPECT_EQ(finished.count(), 0);

    // The limits themselves are allowed, and blanks around the number do no harm.
    for (const char* input : {"5", "10", " 8 ", "+6"}) {
        SCOPED_TRACE(input);
        ProbeForm probe;
        retype(probe.number, QString::fromLatin1(input));
        messages.clear();
        messages.queueAnswer(Answer::Yes);
        probe.ende->click();
        EXPECT_EQ(messages.texts(), QStringList{kQuestion});
        EXPECT_EQ(probe.result(), QDialog::Accepted);
        EXPECT_EQ(probe.savedNumber, QString::fromLatin1(input).trimmed().toInt());
    }
}

} // namespace
