// Entry point of the widget tests: one QApplication for the whole run, German locale.
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QLocale>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A window left behind by a test may still hold references into what the test destroyed, and
// a later test's event loop would paint it; every window must go with its test.
class NoWindowOutlivesItsTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            ADD_FAILURE() << test.test_suite_name() << "." << test.name() << " left a "
                          << window->metaObject()->className() << " behind";
            delete window;
        }
    }
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    MessageBoxes::install();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoWindowOutlivesItsTest);
    return RUN_ALL_TESTS();
}
