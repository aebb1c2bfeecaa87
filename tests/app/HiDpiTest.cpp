// The main window on a screen with twice the pixels per point: its pictures are drawn for that
// screen, not blown up. ctest runs this under QT_SCALE_FACTOR=2 (app_tests_scale2); on a normal
// screen it is skipped.
#include "MainWindowSupport.h"
#include "views/CViewSplitLeft.h"
#include "widgets/Pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>

namespace {

class HiDpiTest : public RunningProgramTest {
protected:
    void SetUp() override {
        if (qGuiApp->devicePixelRatio() != 2.0)
            GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
        RunningProgramTest::SetUp();
    }

    static QImage pixels(const QPixmap& pixmap) {
        return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    // What a button shows of its picture, at the screen's ratio.
    static QPixmap shown(const QToolButton* button) {
        return button->icon().pixmap(button->iconSize(), button->devicePixelRatio());
    }
};

TEST_F(HiDpiTest, NavigationButtonsLogoAndIconsAreDrawnAtTwiceTheirPixels) {
    CViewSplitLeft* pane = frame->navigationPane();
    const QSize groupSize(Pictures::kButtonWidth, Pictures::kGroupButtonHeight);
    const QSize listSize(Pictures::kButtonWidth, Pictures::kListButtonHeight);
    // The start's pictures (drawn on the start-up thread or read from its file) are those drawn
    // for this screen: the pressed addresses group, the other groups and the address lists.
    const Pictures::StartPictureSet drawn =
        Pictures::drawStartPictures(CViewSplitLeft::kStartGroup, 2);
    for (int group = 0; group < 3; ++group) {
        const QPixmap picture = shown(pane->groupButton(group));
        EXPECT_EQ(picture.devicePixelRatio(), 2.0) << group;
        EXPECT_EQ(picture.size(), groupSize * 2) << group;
        EXPECT_EQ(pixels(picture), drawn[size_t(group)]) << group;
    }
    for (int button = 0; button < 7; ++button) {
        const QPixmap picture = shown(pane->listButton(button));
        EXPECT_EQ(picture.devicePixelRatio(), 2.0) << button;
        EXPECT_EQ(picture.size(), listSize * 2) << button;
        EXPECT_EQ(pixels(picture), drawn[size_t(3 + button)]) << button;
    }
    // Pictures drawn later, when a button is pressed, are for this screen too.
    QTest::mouseClick(pane->groupButton(2), Qt::LeftButton);
    const QPixmap finances = shown(pane->groupButton(2));
    EXPECT_EQ(finances.size(), groupSize * 2);
    EXPECT_EQ(pixels(finances), pixels(Pictures::groupButton(2, true)));
    EXPECT_EQ(Pictures::listButton(2, 1, true).devicePixelRatio(), 2.0);

    // The logo in the menu bar keeps its place of 102 x 43 points with twice the pixels.
    const QLabel* logo = nullptr;
    for (const QLabel* label : frame->findChildren<QLabel*>())
        if (label->toolTip() == QLatin1String("Vorlanto") && !label->pixmap().isNull())
            logo = label;
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->pixmap().size(), QSize(204, 86));
    EXPECT_EQ(logo->pixmap().deviceIndependentSize(), QSizeF(102, 43));

    // Toolbar, status and window icons give their twice as large pictures.
    for (int index = 0; index < 3; ++index)
        EXPECT_EQ(Pictures::toolbarIcon(index).pixmap(QSize(16, 15), 2.0).size(), QSize(32, 30));
    const QPixmap status = Pictures::statusIcon(0).pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(status.size(), QSize(32, 32));
    EXPECT_EQ(status.devicePixelRatio(), 2.0);
    EXPECT_EQ(frame->windowIcon().pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
}

} // namespace
