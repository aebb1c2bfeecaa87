// "Drucker&einrichtung..." lets the user choose the printer and its paper; what the user
// accepted is the printer of the rest of the run, and cancelling changes nothing.
#include "MainWindowSupport.h"
#include "app/CMainMenu.h"
#include "support/FormTestSupport.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace {

class PrintSetupTest : public RunningProgramTest {
protected:
    // Chooses the menu command and hands the dialog that opens to the action.
    void setUpPrinter(std::function<void(QPrintDialog&)> action) {
        bool seen = false;
        FormTest::onNextModal([&](QDialog& dialog) {
            seen = true;
            auto* printDialog = qobject_cast<QPrintDialog*>(&dialog);
            ASSERT_NE(printDialog, nullptr) << "no print dialog";
            action(*printDialog);
        });
        frame->mainMenu()->action(CMainMenu::PrintSetup)->trigger();
        EXPECT_TRUE(seen);
    }
};

TEST_F(PrintSetupTest, PrintDialogSetsUpThePrinterKeptForTheRun) {
    QPrinter* kept = &frame->printer();
    EXPECT_EQ(&frame->mainMenu()->printer(), kept);
    kept->setOutputFileName(dir.filePath(QStringLiteral("probe.pdf")));

    setUpPrinter([&](QPrintDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Druckereinrichtung"));
        EXPECT_EQ(dialog.printer(), kept);
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintShowPageSize));
        // Setting up prints nothing, so the dialog does not offer to print.
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
        dialog.accept();
    });
    EXPECT_EQ(&frame->printer(), kept);
    EXPECT_EQ(kept->outputFileName(), dir.filePath(QStringLiteral("probe.pdf")));

    // Cancelled: the printer keeps what was set up before.
    kept->setPageOrientation(QPageLayout::Landscape);
    setUpPrinter([&](QPrintDialog& dialog) {
        EXPECT_EQ(dialog.printer(), kept);
        dialog.reject();
    });
    EXPECT_EQ(&frame->printer(), kept);
    EXPECT_EQ(kept->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'\n').toStdString();
}

} // namespace
