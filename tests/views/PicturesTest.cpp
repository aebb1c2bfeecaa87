// The drawn pictures of the main window: navigation buttons, status icons, logo and icons.
#include "widgets/Pictures.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Every list button the navigation pane shows, as (group, button).
const std::vector<std::pair<int, int>> kListButtons = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4},
                                                       {0, 5}, {0, 6}, {1, 0}, {2, 0}, {2, 1}};

QImage image(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

bool isUniform(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != picture.pixel(0, 0))
                return false;
    return true;
}

TEST(PicturesTest, GroupButtonsHaveTheirSizeAndAVisiblyPressedState) {
    for (int group = 0; group < 3; ++group) {
        const QImage normal = image(Pictures::groupButton(group, false));
        const QImage pressed = image(Pictures::groupButton(group, true));
        for (const QImage& picture : {normal, pressed}) {
            EXPECT_EQ(picture.size(), QSize(Pictures::kButtonWidth, Pictures::kGroupButtonHeight))
                << group;
            EXPECT_FALSE(isUniform(picture)) << group;
        }
        EXPECT_NE(normal, pressed) << group;
        // The pressed face is darker than the raised one in its middle.
        const QPoint middle(Pictures::kButtonWidth - 10, Pictures::kGroupButtonHeight / 2);
        EXPECT_LT(QColor(pressed.pixel(middle)).lightness(),
                  QColor(normal.pixel(middle)).lightness())
            << group;
    }
    // Three different groups, three different pictures.
    EXPECT_NE(image(Pictures::groupButton(0, false)), image(Pictures::groupButton(1, false)));
    EXPECT_NE(image(Pictures::groupButton(1, false)), image(Pictures::groupButton(2, false)));
}

TEST(PicturesTest, EveryListButtonHasItsOwnPictureInBothStates) {
    std::vector<QImage> normals;
    for (const auto& [group, button] : kListButtons) {
        const QImage normal = image(Pictures::listButton(group, button, false));
        const QImage pressed = image(Pictures::listButton(group, button, true));
        for (const QImage& picture : {normal, pressed}) {
            EXPECT_EQ(picture.size(), QSize(Pictures::kButtonWidth, Pictures::kListButtonHeight))
                << group << "/" << button;
            EXPECT_FALSE(isUniform(picture)) << group << "/" << button;
        }
        EXPECT_NE(normal, pressed) << group << "/" << button;
        normals.push_back(normal);
    }
    // No two lists share a picture, so the user can tell them apart.
    for (size_t i = 0; i < normals.size(); ++i)
        for (size_t j = i + 1; j < normals.size(); ++j)
            EXPECT_NE(normals[i], normals[j]) << i << " and " << j;
}

TEST(PicturesTest, ButtonsWithoutAListAreEmptyButKeepTheirSize) {
    const std::vector<std::pair<int, int>> unused = {{1, 1}, {1, 6}, {2, 2},  {2, 6},
                                                     {0, 7}, {3, 0}, {-1, 0}, {0, -1}};
    for (const auto& [group, button] : unused) {
        const QImage picture = image(Pictures::listButton(group, button, false));
        EXPECT_EQ(picture.size(), QSize(Pictures::kButtonWidth, Pictures::kListButtonHeight))
            << group << "/" << button;
        EXPECT_TRUE(isUniform(picture)) << group << "/" << button;
    }
    const QImage noGroup = image(Pictures::groupButton(3, true));
    EXPECT_EQ(noGroup.size(), QSize(Pictures::kButtonWidth, Pictures::kGroupButtonHeight));
    EXPECT_TRUE(isUniform(noGroup));
}

TEST(PicturesTest, RepeatedRequestsGiveTheSamePixmap) {
    EXPECT_EQ(Pictures::listButton(0, 3, true).cacheKey(),
              Pictures::listButton(0, 3, true).cacheKey());
    EXPECT_EQ(Pictures::groupButton(2, false).cacheKey(),
              Pictures::groupButton(2, false).cacheKey());
    EXPECT_EQ(Pictures::logo().cacheKey(), Pictures::logo().cacheKey());
}

TEST(PicturesTest, StatusIconsFillTheUpperLeftHalfWithTheirColour) {
    struct Expected {
        int index;
        const char* name;
        bool (*matches)(const QColor&);
    };
    const Expected expected[] = {
        {0, "red",
         [](const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }},
        {1, "yellow",
         [](const QColor& c) { return c.red() > 200 && c.green() > 180 && c.blue() < 80; }},
        {2, "green",
         [](const QColor& c) { return c.green() > 140 && c.red() < 80 && c.blue() < 100; }},
        {3, "white",
         [](const QColor& c) { return c.red() > 250 && c.green() > 250 && c.blue() > 250; }},
        {4, "grey",
         [](const QColor& c) {
             return c.red() == c.green() && c.green() == c.blue() && c.red() > 90 && c.red() < 210;
         }},
    };
    for (const Expected& e : expected) {
        const QIcon icon = Pictures::statusIcon(e.index);
        ASSERT_FALSE(icon.isNull()) << e.name;
        const QImage picture = image(icon.pixmap(16, 16));
        ASSERT_EQ(picture.size(), QSize(16, 16)) << e.name;
        const QColor filled = picture.pixelColor(2, 2);
        EXPECT_EQ(filled.alpha(), 255) << e.name;
        EXPECT_TRUE(e.matches(filled)) << e.name << ": " << filled.name().toStdString();
        // Below the diagonal from the lower-left to the upper-right corner nothing is drawn.
        EXPECT_EQ(picture.pixelColor(13, 13).alpha(), 0) << e.name;
        EXPECT_EQ(picture.pixelColor(15, 15).alpha(), 0) << e.name;
        EXPECT_EQ(picture.pixelColor(9, 12).alpha(), 0) << e.name;
        // The top-right and bottom-left corners belong to the coloured half.
        EXPECT_GT(picture.pixelColor(14, 0).alpha(), 0) << e.name;
        EXPECT_GT(picture.pixelColor(0, 14).alpha(), 0) << e.name;
    }
    // White stays visible on a white list: its outer edge is darker.
    const QImage white = image(Pictures::statusIcon(3).pixmap(16, 16));
    EXPECT_LT(QColor(white.pixel(0, 5)).lightness(), 200);
    EXPECT_LT(QColor(white.pixel(5, 0)).lightness(), 200);

    EXPECT_TRUE(Pictures::statusIcon(5).isNull());
    EXPECT_TRUE(Pictures::statusIcon(-1).isNull());
}

TEST(PicturesTest, LogoAndMakerPictureAreDrawnOnTransparentCorners) {
    const QImage logo = image(Pictures::logo());
    EXPECT_EQ(logo.size(), QSize(102, 43));
    EXPECT_TRUE(logo.hasAlphaChannel());
    EXPECT_EQ(logo.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(logo.pixelColor(101, 42).alpha(), 0);
    EXPECT_FALSE(isUniform(logo));

    const QImage maker = image(Pictures::makerPicture());
    EXPECT_FALSE(maker.isNull());
    EXPECT_GE(maker.width(), 60);
    EXPECT_GE(maker.height(), 30);
    EXPECT_FALSE(isUniform(maker));
}

TEST(PicturesTest, ToolbarAndApplicationIcons) {
    std::vector<QImage> toolbar;
    for (int index = 0; index < 3; ++index) {
        const QIcon icon = Pictures::toolbarIcon(index);
        ASSERT_FALSE(icon.isNull()) << index;
        const QImage picture = image(icon.pixmap(QSize(16, 15)));
        EXPECT_EQ(picture.size(), QSize(16, 15)) << index;
        EXPECT_FALSE(isUniform(picture)) << index;
        toolbar.push_back(picture);
    }
    EXPECT_NE(toolbar[0], toolbar[1]);
    EXPECT_NE(toolbar[1], toolbar[2]);
    EXPECT_TRUE(Pictures::toolbarIcon(3).isNull());

    const QIcon application = Pictures::applicationIcon();
    const QList<QSize> sizes = application.availableSizes();
    for (const int side : {16, 32, 64})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
}

} // namespace

namespace {

// Share of the picture's pixels that are not transparent.
double coverage(const QImage& picture) {
    int drawn = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            drawn += qAlpha(picture.pixel(x, y)) > 0 ? 1 : 0;
    return double(drawn) / (picture.width() * picture.height());
}

TEST(PicturesTest, EveryDrawingIsInTheResourcesAndRendersAtAnySize) {
    const QStringList names = Pictures::pictureNames();
    // Three groups, ten lists, five states, three toolbar buttons, two button faces in two
    // states, logo, maker's picture and window icon.
    EXPECT_EQ(names.size(), 28);
    for (const QString& name : names) {
        ASSERT_TRUE(QFile::exists(Pictures::pictureFile(name))) << name.toStdString();
        for (const int side : {16, 256}) {
            const QImage picture = Pictures::renderPicture(name, QSize(side, side), 1)
                                       .convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(picture.size(), QSize(side, side)) << name.toStdString();
            EXPECT_GT(coverage(picture), 0.05) << name.toStdString() << " at " << side;
            EXPECT_FALSE(isUniform(picture)) << name.toStdString() << " at " << side;
        }
    }
    // No drawing lies in the resources unused.
    const QStringList files =
        QDir(QStringLiteral(":/pictures")).entryList({QStringLiteral("*.svg")}, QDir::Files);
    for (const QString& file : files)
        EXPECT_TRUE(names.contains(QFileInfo(file).completeBaseName())) << file.toStdString();
    EXPECT_EQ(files.size(), names.size());
    // The application icon has the file name the desktop packaging installs.
    EXPECT_TRUE(names.contains(QStringLiteral("vorlanto")));
    EXPECT_TRUE(Pictures::renderPicture(QStringLiteral("fehlt"), QSize(16, 16), 1).isNull());
}

TEST(PicturesTest, DrawingsForATwiceAsDenseScreenHaveTwiceThePixelsAndMoreDetail) {
    const QString name = QStringLiteral("list-technicians");
    const QImage single = Pictures::renderPicture(name, QSize(46, 46), 1);
    const QImage dense = Pictures::renderPicture(name, QSize(46, 46), 2);
    EXPECT_EQ(single.size(), QSize(46, 46));
    EXPECT_EQ(dense.size(), QSize(92, 92));
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    // Drawn anew, not blown up: the dense picture is no upscaled copy of the single one, yet
    // shrunk back it matches it closely.
    const QImage blownUp = single.scaled(92, 92, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .convertToFormat(QImage::Format_ARGB32);
    const QImage denseArgb = dense.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < 92; ++y)
        for (int x = 0; x < 92; ++x)
            differing += qAbs(qGray(blownUp.pixel(x, y)) - qGray(denseArgb.pixel(x, y))) > 24;
    EXPECT_GT(differing, 92 * 92 / 50);
    const QImage shrunk = denseArgb.scaled(46, 46, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage singleArgb = single.convertToFormat(QImage::Format_ARGB32);
    int far = 0;
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 46; ++x)
            far += qAbs(qGray(shrunk.pixel(x, y)) - qGray(singleArgb.pixel(x, y))) > 64;
    EXPECT_LT(far, 46 * 46 / 20);
}

} // namespace
