// Loading pictures, the photo control with its default photos, fitting a photo into the
// control, and the stretched background of the empty view.
#include "app/ShellTestSupport.h"
#include "core/DefaultPictures.h"
#include "core/MessageService.h"
#include "views/CViewEmpty.h"
#include "widgets/CPhotoCtrl.h"
#include "widgets/CPictureHolder.h"
#include "widgets/KeptImage.h"
#include "widgets/Pictures.h"

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DefaultPictures::writeAll(dir.path(), nullptr));
        photo.setProgramDirectory(dir.path());
        photo.resize(100, 100);
    }

    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QString writeFile(const char* name, const QByteArray& bytes) const {
        QFile out(file(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        return out.fileName();
    }

    QString writePicture(const char* name, const QImage& image) const {
        EXPECT_TRUE(image.save(file(name), "PNG"));
        return file(name);
    }

    // True when the control now shows exactly this file's picture.
    bool shows(const QString& path) const {
        return photo.isLoaded() && photo.picture().image() == QImage(path);
    }

    QTemporaryDir dir;
    CPhotoCtrl photo;
};

QImage solid(int width, int height, Qt::GlobalColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST_F(PictureTest, DefaultPicturesAreWrittenAndLoadWithoutMessages) {
    MessageRecorder messages;
    CPictureHolder holder;
    for (const char* name : {"bgr1024.jpg", "morvo.jpg", "tshirt.jpg"}) {
        EXPECT_TRUE(holder.load(file(name))) << name;
        EXPECT_TRUE(holder.hasPicture());
    }
    ASSERT_TRUE(holder.load(file("bgr1024.jpg")));
    EXPECT_EQ(holder.sizeInPixels(), QSize(1024, 768));
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(PictureTest, HolderReportsAMissingFileOnce) {
    MessageRecorder messages;
    CPictureHolder holder;
    const QString missing = file("fehlt.jpg");
    EXPECT_FALSE(holder.load(missing));
    EXPECT_FALSE(holder.hasPicture());
    EXPECT_EQ(holder.sizeInPixels(), QSize(0, 0));
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().first().text,
              QStringLiteral("Datei %1 nicht gefunden.").arg(missing));
    EXPECT_EQ(messages.messages().first().buttons, MessageService::Buttons::Ok);
}

TEST_F(PictureTest, KeptBackgroundIsThePictureOfThisVeryFileOrDecodedAnew) {
    MessageRecorder messages;
    const QString kept = file("cache/hintergrund.bin");
    const QString background = writePicture("hintergrund.png", solid(64, 48, Qt::blue));
    const QImage blue = QImage(background).convertToFormat(QImage::Format_RGB32);

    // The first start decodes and keeps the pixels, the next one reads them back.
    CPictureHolder::Decoded first = CPictureHolder::decodeKept(background, kept);
    ASSERT_EQ(first.failure, nullptr);
    EXPECT_EQ(first.image.convertToFormat(QImage::Format_RGB32), blue);
    ASSERT_TRUE(QFile::exists(kept));
    const QByteArray source = KeptImage::fileStamp(background);
    EXPECT_EQ(KeptImage::read(kept, source), blue);
    CPictureHolder holder;
    ASSERT_TRUE(holder.take(CPictureHolder::decodeKept(background, kept)));
    EXPECT_EQ(holder.image(), blue);

    // The user puts another picture in its place: the new one shows, and is kept instead.
    const QString replaced = writePicture("hintergrund.png", solid(32, 32, Qt::green));
    QFile(replaced).setFileTime(QDateTime::currentDateTime().addSecs(60),
                                QFileDevice::FileModificationTime);
    const QImage green = QImage(replaced).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(KeptImage::read(kept, KeptImage::fileStamp(replaced)).isNull());
    ASSERT_TRUE(holder.take(CPictureHolder::decodeKept(replaced, kept)));
    EXPECT_EQ(holder.image().convertToFormat(QImage::Format_RGB32), green);
    EXPECT_EQ(KeptImage::read(kept, KeptImage::fileStamp(replaced)), green);

    // A kept file cut short, with a byte too many, or empty reads as nothing kept; the
    // picture then comes from its file again.
    QFile keptFile(kept);
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = keptFile.readAll();
    keptFile.close();
    for (const QByteArray& damaged : {bytes.left(bytes.size() - 1), bytes + '\0', QByteArray()}) {
        writeFile("cache/hintergrund.bin", damaged);
        EXPECT_TRUE(KeptImage::read(kept, KeptImage::fileStamp(replaced)).isNull());
        ASSERT_TRUE(holder.take(CPictureHolder::decodeKept(replaced, kept)));
        EXPECT_EQ(holder.image().convertToFormat(QImage::Format_RGB32), green);
    }

    // A missing picture says so as before, whatever is kept.
    const QString missing = file("fehlt.jpg");
    EXPECT_FALSE(holder.take(CPictureHolder::decodeKept(missing, kept)));
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().first().text,
              QStringLiteral("Datei %1 nicht gefunden.").arg(missing));
}

TEST_F(PictureTest, PhotoShowsItsFileOrTheDefaultMusicianPhoto) {
    MessageRecorder messages;
    const QString picture = writePicture("band.png", solid(40, 30, Qt::red));
    EXPECT_TRUE(photo.showFile(picture));
    EXPECT_TRUE(shows(picture));

    // A missing file: the default photo, without a message.
    photo.showFile(file("fehlt.jpg"));
    EXPECT_TRUE(shows(file("morvo.jpg")));
    EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join(u'\n').toStdString();

    // A file that is no picture, and an empty file: one message each, then the default photo.
    const struct {
        QString path;
        QString message;
    } broken[] = {
        {writeFile("kaputt.jpg", "Dies ist kein Bild, nur Text.\n"),
         QStringLiteral("Bild %1 konnte nicht geladen werden.")},
        {writeFile("leer.jpg", QByteArray()), QStringLiteral("Datei %1 scheint leer zu sein.")},
    };
    for (const auto& each : broken) {
        ASSERT_TRUE(photo.showFile(picture));
        messages.clear();
        // The default photo stands in, so a photo is still shown.
        EXPECT_TRUE(photo.showFile(each.path));
        EXPECT_EQ(messages.texts(), QStringList{each.message.arg(each.path)});
        EXPECT_TRUE(shows(file("morvo.jpg")));
    }

    photo.showDefaultArticlePhoto();
    EXPECT_TRUE(shows(file("tshirt.jpg")));
}

TEST_F(PictureTest, MissingDefaultPhotoLeavesTheControlAsItWas) {
    MessageRecorder messages;
    const QString picture = writePicture("band.png", solid(40, 30, Qt::blue));
    ASSERT_TRUE(photo.showFile(picture));
    ASSERT_TRUE(QFile::remove(file("morvo.jpg")));
    ASSERT_TRUE(QFile::remove(file("tshirt.jpg")));

    photo.showFile(file("fehlt.jpg"));
    EXPECT_TRUE(shows(picture));
    EXPECT_TRUE(photo.showDefaultArticlePhoto()); // still loaded: the earlier picture
    EXPECT_TRUE(shows(picture));
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST(PhotoFitTest, FitsToHeightOrWidthAndCentres) {
    // Twice as wide as high in a square control: full width, centred vertically.
    EXPECT_EQ(photoFit(QSize(100, 100), QSize(200, 100)), QRect(0, 25, 100, 50));
    // Tall: full height, centred horizontally.
    EXPECT_EQ(photoFit(QSize(100, 100), QSize(50, 200)), QRect(37, 0, 25, 100));
    // Small pictures are enlarged to the height.
    EXPECT_EQ(photoFit(QSize(200, 100), QSize(10, 10)), QRect(50, 0, 100, 100));
    EXPECT_TRUE(photoFit(QSize(100, 100), QSize(0, 0)).isNull());
    EXPECT_TRUE(photoFit(QSize(0, 0), QSize(10, 10)).isNull());
    // The control draws one pixel inside on the top left and two on the bottom right.
    EXPECT_EQ(photoRect(QSize(100, 100), QSize(200, 100)), QRect(QPoint(1, 26), QPoint(97, 72)));
}

TEST_F(PictureTest, PhotoIsDrawnFittedAndCentred) {
    ASSERT_TRUE(photo.showFile(writePicture("breit.png", solid(200, 100, Qt::red))));
    const QImage drawn = photo.grab().toImage();
    ASSERT_EQ(drawn.size(), QSize(100, 100));
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(drawn.pixel(50, 50), red);
    EXPECT_EQ(drawn.pixel(2, 27), red);
    EXPECT_EQ(drawn.pixel(97, 72), red);
    EXPECT_NE(drawn.pixel(50, 10), red);
    EXPECT_NE(drawn.pixel(50, 90), red);
    EXPECT_NE(drawn.pixel(0, 50), red);
}

TEST_F(PictureTest, EmptyViewStretchesTheBackgroundOverItsWholeArea) {
    // Four coloured quarters: each corner of the view must show its own quarter.
    QImage quarters(40, 40, QImage::Format_RGB32);
    {
        QPainter painter(&quarters);
        painter.fillRect(0, 0, 20, 20, Qt::red);
        painter.fillRect(20, 0, 20, 20, Qt::green);
        painter.fillRect(0, 20, 20, 20, Qt::blue);
        painter.fillRect(20, 20, 20, 20, Qt::yellow);
    }
    CPictureHolder background;
    ASSERT_TRUE(background.load(writePicture("hintergrund.png", quarters)));
    CViewEmpty view(background);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, Qt::magenta);
    view.setPalette(palette);

    for (const QSize size : {QSize(300, 100), QSize(120, 400)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        view.resize(size);
        const QImage drawn = view.grab().toImage();
        ASSERT_EQ(drawn.size(), size);
        const int right = size.width() - 2;
        const int bottom = size.height() - 2;
        EXPECT_EQ(drawn.pixel(1, 1), qRgb(255, 0, 0));
        EXPECT_EQ(drawn.pixel(right, 1), qRgb(0, 255, 0));
        EXPECT_EQ(drawn.pixel(1, bottom), qRgb(0, 0, 255));
        EXPECT_EQ(drawn.pixel(right, bottom), qRgb(255, 255, 0));
    }

    // Without a picture the view shows its window colour.
    CPictureHolder none;
    CViewEmpty plain(none);
    plain.setPalette(palette);
    plain.resize(50, 50);
    EXPECT_EQ(plain.grab().toImage().pixel(25, 25), qRgb(255, 0, 255));
}

} // namespace

TEST(StartPictureTest, KeptPicturesComeBackPixelForPixelAndAnyDoubtDrawsThemAgain) {
    QTemporaryDir folder;
    const QString path = Pictures::startPictureFile(folder.path(), 0);
    const Pictures::StartPictureSet drawn = Pictures::drawStartPictures(0);
    // Three group buttons, the seven address lists, three toolbar pictures, three window icons,
    // the logo.
    ASSERT_EQ(drawn.size(), 17u);
    ASSERT_TRUE(Pictures::writeStartPictures(path, 0, drawn));
    const Pictures::StartPictureSet read = Pictures::readStartPictures(path, 0);
    ASSERT_EQ(read.size(), drawn.size());
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(read[i], drawn[i].convertToFormat(QImage::Format_ARGB32_Premultiplied)) << i;

    // Another group's file, a file cut short, one with a byte too many, or none at all.
    EXPECT_TRUE(Pictures::readStartPictures(path, 1).empty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    for (const QByteArray& damaged : {bytes.left(bytes.size() / 2), bytes + '\0', QByteArray()}) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(damaged);
        out.close();
        EXPECT_TRUE(Pictures::readStartPictures(path, 0).empty());
    }
    EXPECT_TRUE(
        Pictures::readStartPictures(folder.filePath(QStringLiteral("fehlt.bin")), 0).empty());
    // Pictures of another list cannot be kept under this group's name.
    EXPECT_FALSE(Pictures::writeStartPictures(path, 1, drawn));
}

TEST(StartPictureTest, KeptPicturesAreForTheScreensPixelRatio) {
    QTemporaryDir folder;
    // A screen with twice the pixels keeps its pictures in a file of its own, with twice the
    // pixels in each direction.
    const QString single = Pictures::startPictureFile(folder.path(), 0, 1);
    const QString dense = Pictures::startPictureFile(folder.path(), 0, 2);
    EXPECT_NE(single, dense);
    const Pictures::StartPictureSet drawnSingle = Pictures::drawStartPictures(0, 1);
    const Pictures::StartPictureSet drawnDense = Pictures::drawStartPictures(0, 2);
    ASSERT_EQ(drawnDense.size(), drawnSingle.size());
    for (size_t i = 0; i < drawnDense.size(); ++i) {
        EXPECT_EQ(drawnDense[i].size(), drawnSingle[i].size() * 2) << i;
        EXPECT_EQ(drawnDense[i].devicePixelRatio(), 2.0) << i;
    }
    ASSERT_TRUE(Pictures::writeStartPictures(dense, 0, drawnDense, 2));
    const Pictures::StartPictureSet read = Pictures::readStartPictures(dense, 0, 2);
    ASSERT_EQ(read.size(), drawnDense.size());
    EXPECT_EQ(read.front().devicePixelRatio(), 2.0);
    EXPECT_EQ(read.back(), drawnDense.back().convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // Pictures for one ratio are never shown on a screen with another, nor kept as if they were.
    EXPECT_TRUE(Pictures::readStartPictures(dense, 0, 1).empty());
    EXPECT_FALSE(Pictures::writeStartPictures(single, 0, drawnDense, 1));
}

TEST(StartPictureTest, AStartKeepsItsPicturesAndShowsWhatItWouldDraw) {
    QTemporaryDir folder;
    // What an earlier program left goes once this one has kept its own.
    const QString older = folder.filePath(QStringLiteral("startbilder-1-1-qt6-alt.bin"));
    QFile leftOver(older);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    Pictures::prepareStartPictures(1, folder.path()).wait();
    EXPECT_FALSE(QFile::exists(older));
    const Pictures::StartPictureSet drawn = Pictures::drawStartPictures(1);
    EXPECT_EQ(Pictures::readStartPictures(Pictures::startPictureFile(folder.path(), 1), 1).size(),
              drawn.size());
    const auto pixels = [](const QPixmap& shown) {
        return shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    EXPECT_EQ(pixels(Pictures::groupButton(1, true)), drawn[1]);
    EXPECT_EQ(pixels(Pictures::groupButton(0, false)), drawn[0]);
    EXPECT_EQ(pixels(Pictures::listButton(1, 0, false)), drawn[3]);
    EXPECT_EQ(pixels(Pictures::logo()), drawn.back());
}
