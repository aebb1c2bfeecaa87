#include "Pictures.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QtMath>

#include <cstring>
#include <functional>
#include <future>
#include <mutex>
#include <vector>

// Outside any namespace, as the resource macro wants it.
static void initPictureResources() {
    Q_INIT_RESOURCE(svgpictures);
}

namespace Pictures {

namespace {

// The navigation pane's background; the buttons sit on it.
const QColor kPaneGrey(0xBF, 0xBF, 0xBF);
const QString kFontFamily = QStringLiteral("Liberation Sans");

// Pixmaps are made once and kept for the whole run. The caches are deliberately never freed:
// that way no pixmap outlives the application object in a static destructor.
enum CacheSlot { GroupSlot, ListSlot, LogoSlot, MakerSlot, ToolbarSlot, IconSlot };

QHash<int, QPixmap>& pixmapCache(CacheSlot slot) {
    static auto* caches = new QHash<int, QHash<int, QPixmap>>;
    return (*caches)[slot];
}

// The cached picture for the key, made on first use.
template <class Value, class Make> Value cached(QHash<int, Value>& cache, int key, Make make) {
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const Value value = make();
    cache.insert(key, value);
    return value;
}

// The pictures a start shows first, made on another thread by prepareStartPictures() while the
// database opens. Read only after `done`, which the thread completes when it has filled them;
// each is taken once and then lives in the pixmap cache.
struct StartPictures {
    std::shared_future<void> done;
    QHash<int, QImage> images[6];
};
StartPictures& startPictures() {
    static auto* pictures = new StartPictures;
    return *pictures;
}

// The start picture for the key, or the picture drawn now.
template <class Draw> QPixmap pictureFor(CacheSlot slot, int key, Draw draw) {
    StartPictures& start = startPictures();
    if (start.done.valid()) {
        start.done.wait();
        auto found = start.images[slot].find(key);
        if (found != start.images[slot].end()) {
            const QImage image = std::move(*found);
            start.images[slot].erase(found);
            return QPixmap::fromImage(image);
        }
    }
    return QPixmap::fromImage(draw());
}

// The pixels a picture of `size` takes on a screen with `ratio` device pixels per pixel.
QSize pixelSize(const QSize& size, qreal ratio) {
    return QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
}

// An empty picture for a screen with `ratio`; painting on it goes in logical pixels. Images,
// unlike pixmaps, may be drawn on another thread.
QImage canvas(const QSize& size, qreal ratio, const QColor& fill = Qt::transparent) {
    QImage image(pixelSize(size, ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

// Draws the picture file `name` into `box`, rendered for the pixels the box covers on the
// painter's device. The SVG is read through Qt's image plugin, which is loaded only when a
// picture is drawn: a start from the kept pictures loads no SVG code at all.
void paintPicture(QPainter& painter, const QString& name, const QRectF& box) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QImageReader reader(pictureFile(name), "svg");
    reader.setScaledSize(pixelSize(box.size().toSize(), ratio));
    QImage image = reader.read();
    if (image.isNull())
        return;
    image.setDevicePixelRatio(ratio);
    painter.drawImage(box.topLeft(), image);
}

QImage drawPicture(const QString& name, const QSize& size, qreal ratio) {
    QImage image = canvas(size, ratio);
    QPainter painter(&image);
    paintPicture(painter, name, QRectF(QPointF(0, 0), size));
    return image;
}

// Adds a picture made for this screen to an icon. The icon counts in device pixels, so that it
// gives this very picture where a widget asks for the picture's size on this screen.
void addToIcon(QIcon& icon, const QPixmap& picture) {
    QPixmap pixels = picture;
    pixels.setDevicePixelRatio(1);
    icon.addPixmap(pixels);
}

QIcon iconOf(const QPixmap& picture) {
    QIcon icon;
    addToIcon(icon, picture);
    return icon;
}

QFont captionFont(int pixelSize) {
    QFont result(kFontFamily);
    result.setPixelSize(pixelSize);
    result.setBold(true);
    result.setStyleStrategy(QFont::PreferAntialias);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Buttons: a face (raised or pressed), the symbol of the list on it, and its caption as text.

void drawCaption(QPainter& painter, const QRectF& box, const QString& text, int pixelSize,
                 Qt::Alignment align, bool pressed) {
    painter.setFont(captionFont(pixelSize));
    if (pressed) {
        painter.setPen(QColor(20, 34, 56, 150));
        painter.drawText(box.translated(0, 1), align, text);
        painter.setPen(QColor(255, 255, 255));
    } else {
        painter.setPen(QColor(255, 255, 255, 200));
        painter.drawText(box.translated(0, 1), align, text);
        painter.setPen(QColor(30, 38, 52));
    }
    painter.drawText(box, align, text);
}

QImage blankButton(int height, qreal ratio) {
    return canvas(QSize(kButtonWidth, height), ratio, kPaneGrey);
}

QImage drawGroupButton(const QString& caption, const QString& symbol, bool pressed, qreal ratio) {
    QImage image = blankButton(kGroupButtonHeight, ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPicture(painter,
                 pressed ? QStringLiteral("group-button-pressed") : QStringLiteral("group-button"),
                 QRectF(0, 0, kButtonWidth, kGroupButtonHeight));
    const double shift = pressed ? 1 : 0;
    paintPicture(painter, symbol, QRectF(8 + shift, 4 + shift, 21, 21));
    drawCaption(painter, QRectF(36 + shift, 2 + shift, kButtonWidth - 40, kGroupButtonHeight - 5),
                caption, 14, Qt::AlignLeft | Qt::AlignVCenter, pressed);
    return image;
}

QImage drawListButton(const QString& caption, const QString& symbol, bool pressed, qreal ratio) {
    QImage image = blankButton(kListButtonHeight, ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPicture(painter,
                 pressed ? QStringLiteral("list-button-pressed") : QStringLiteral("list-button"),
                 QRectF(0, 0, kButtonWidth, kListButtonHeight));
    const double shift = pressed ? 1 : 0;
    // Symbols reaching out of their square (a light's beam) stop at the face's edge.
    QPainterPath clip;
    clip.addRoundedRect(QRectF(3.5, 3.5, kButtonWidth - 8, kListButtonHeight - 8), 5, 5);
    painter.setClipPath(clip);
    paintPicture(painter, symbol, QRectF(41 + shift, 7 + shift, 46, 46));
    drawCaption(painter, QRectF(4 + shift, 55 + shift, kButtonWidth - 8, 18), caption, 13,
                Qt::AlignCenter, pressed);
    return image;
}

int listKey(int group, int button, bool pressed) {
    return (group * 16 + button) * 2 + (pressed ? 1 : 0);
}

struct ButtonContent {
    QString caption;
    QString symbol;
};

bool groupContent(int group, ButtonContent& content) {
    switch (group) {
    case 0:
        content = {QStringLiteral("Adressen"), QStringLiteral("group-addresses")};
        return true;
    case 1:
        content = {QStringLiteral("Events"), QStringLiteral("group-events")};
        return true;
    case 2:
        content = {QStringLiteral("Finanzen"), QStringLiteral("group-finances")};
        return true;
    default:
        return false;
    }
}

struct ListEntry {
    int group;
    int button;
    const char* caption;
    const char* symbol;
};
const ListEntry kListEntries[] = {
    {0, 0, "Veranstalter", "list-organisers"}, {0, 1, "Musiker", "list-musicians"},
    {0, 2, "Techniker", "list-technicians"},   {0, 3, "Backliner", "list-backliners"},
    {0, 4, "PA-Verleih", "list-pa-hire"},      {0, 5, "LA-Verleih", "list-light-hire"},
    {0, 6, "Kfz-Verleih", "list-car-hire"},    {1, 0, "Eventliste", "list-events"},
    {2, 0, "Abrechnung", "list-accounting"},   {2, 1, "Fanartikel", "list-merchandise"},
};

bool listContent(int group, int button, ButtonContent& content) {
    for (const ListEntry& entry : kListEntries) {
        if (entry.group == group && entry.button == button) {
            content = {QString::fromUtf8(entry.caption), QString::fromLatin1(entry.symbol)};
            return true;
        }
    }
    return false;
}

const char* const kStatusPictures[] = {"status-red", "status-yellow", "status-green",
                                       "status-white", "status-grey"};
const char* const kToolbarPictures[] = {"toolbar-help", "toolbar-calendar", "toolbar-print"};
constexpr int kApplicationIconSizes[] = {16, 32, 64};
const QSize kToolbarSize(16, 15);
const QSize kLogoSize(102, 43);
const QSize kMakerSize(120, 60);

QImage drawToolbarIcon(int index, qreal ratio) {
    return drawPicture(QString::fromLatin1(kToolbarPictures[index]), kToolbarSize, ratio);
}

QImage drawApplicationIcon(int size, qreal ratio) {
    return drawPicture(QStringLiteral("vorlanto"), QSize(size, size), ratio);
}

QImage drawLogo(qreal ratio) {
    return drawPicture(QStringLiteral("logo"), kLogoSize, ratio);
}

} // namespace

qreal screenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QString pictureFile(const QString& name) {
    static std::once_flag registered;
    std::call_once(registered, initPictureResources);
    return QStringLiteral(":/pictures/%1.svg").arg(name);
}

QStringList pictureNames() {
    QStringList names;
    for (int group = 0; group < 3; ++group) {
        ButtonContent content;
        groupContent(group, content);
        names << content.symbol;
    }
    for (const ListEntry& entry : kListEntries)
        names << QString::fromLatin1(entry.symbol);
    for (const char* name : kStatusPictures)
        names << QString::fromLatin1(name);
    for (const char* name : kToolbarPictures)
        names << QString::fromLatin1(name);
    names << QStringLiteral("group-button") << QStringLiteral("group-button-pressed")
          << QStringLiteral("list-button") << QStringLiteral("list-button-pressed")
          << QStringLiteral("logo") << QStringLiteral("maker") << QStringLiteral("vorlanto");
    return names;
}

QImage renderPicture(const QString& name, const QSize& size, qreal ratio) {
    return QFile::exists(pictureFile(name)) ? drawPicture(name, size, ratio) : QImage();
}

QColor statusColour(int index) {
    switch (index) {
    case 0:
        return QColor(224, 36, 36);
    case 1:
        return QColor(250, 214, 20);
    case 2:
        return QColor(30, 170, 60);
    case 3:
        return QColor(255, 255, 255);
    default:
        return QColor(150, 150, 150);
    }
}

QPixmap groupButton(int group, bool pressed) {
    const qreal ratio = screenRatio();
    ButtonContent content;
    if (!groupContent(group, content))
        return QPixmap::fromImage(blankButton(kGroupButtonHeight, ratio));
    const int key = group * 2 + (pressed ? 1 : 0);
    return cached(pixmapCache(GroupSlot), key, [&] {
        return pictureFor(GroupSlot, key, [&] {
            return drawGroupButton(content.caption, content.symbol, pressed, ratio);
        });
    });
}

QString groupCaption(int group) {
    ButtonContent content;
    return groupContent(group, content) ? content.caption : QString();
}

QString listCaption(int group, int button) {
    ButtonContent content;
    return listContent(group, button, content) ? content.caption : QString();
}

QPixmap listButton(int group, int button, bool pressed) {
    const qreal ratio = screenRatio();
    ButtonContent content;
    if (!listContent(group, button, content))
        return QPixmap::fromImage(blankButton(kListButtonHeight, ratio));
    const int key = listKey(group, button, pressed);
    return cached(pixmapCache(ListSlot), key, [&] {
        return pictureFor(ListSlot, key, [&] {
            return drawListButton(content.caption, content.symbol, pressed, ratio);
        });
    });
}

QIcon statusIcon(int index) {
    if (index < 0 || index > 4)
        return QIcon();
    static auto* icons = new QHash<int, QIcon>;
    return cached(*icons, index, [index] {
        return iconOf(QPixmap::fromImage(drawPicture(QString::fromLatin1(kStatusPictures[index]),
                                                     QSize(16, 16), screenRatio())));
    });
}

QPixmap logo() {
    return cached(pixmapCache(LogoSlot), 0,
                  [] { return pictureFor(LogoSlot, 0, [] { return drawLogo(screenRatio()); }); });
}

QPixmap makerPicture() {
    return cached(pixmapCache(MakerSlot), 0, [] {
        return QPixmap::fromImage(drawPicture(QStringLiteral("maker"), kMakerSize, screenRatio()));
    });
}

QIcon toolbarIcon(int index) {
    if (index < 0 || index > 2)
        return QIcon();
    static auto* icons = new QHash<int, QIcon>;
    return cached(*icons, index, [index] {
        return iconOf(pictureFor(ToolbarSlot, index,
                                 [index] { return drawToolbarIcon(index, screenRatio()); }));
    });
}

QIcon applicationIcon() {
    static auto* icon = new QIcon;
    if (icon->isNull())
        for (const int size : kApplicationIconSizes)
            addToIcon(*icon, pictureFor(IconSlot, size, [size] {
                return drawApplicationIcon(size, screenRatio());
            }));
    return *icon;
}

namespace {

// The layout of the cache file and the drawings in it; raised when either changes. (A program
// file built or installed anew has a file name of its own anyway, see startPictureFile().)
constexpr int kDrawingVersion = 3;
const char kCacheMagic[] = "Vorlanto-Startbilder";

struct StartKey {
    CacheSlot slot;
    int key;
    QSize size;
    std::function<QImage(qreal)> draw;
};

// The pictures a start shows first, in the order of StartPictureSet, each with its drawing.
std::vector<StartKey> startPictureKeys(int group) {
    std::vector<StartKey> keys;
    for (int each = 0; each < 3; ++each) {
        ButtonContent content;
        if (groupContent(each, content)) {
            const bool pressed = each == group;
            keys.push_back(
                {GroupSlot, each * 2 + (pressed ? 1 : 0), QSize(kButtonWidth, kGroupButtonHeight),
                 [content, pressed](qreal ratio) {
                     return drawGroupButton(content.caption, content.symbol, pressed, ratio);
                 }});
        }
    }
    for (int button = 0; button < 7; ++button) {
        ButtonContent content;
        if (listContent(group, button, content))
            keys.push_back({ListSlot, listKey(group, button, false),
                            QSize(kButtonWidth, kListButtonHeight), [content](qreal ratio) {
                                return drawListButton(content.caption, content.symbol, false,
                                                      ratio);
                            }});
    }
    // The window's own pictures: the toolbar and the window icon.
    for (int index = 0; index < 3; ++index)
        keys.push_back({ToolbarSlot, index, kToolbarSize,
                        [index](qreal ratio) { return drawToolbarIcon(index, ratio); }});
    for (const int size : kApplicationIconSizes)
        keys.push_back({IconSlot, size, QSize(size, size),
                        [size](qreal ratio) { return drawApplicationIcon(size, ratio); }});
    keys.push_back({LogoSlot, 0, kLogoSize, drawLogo});
    return keys;
}

} // namespace

StartPictureSet drawStartPictures(int group, qreal ratio) {
    StartPictureSet pictures;
    for (const StartKey& each : startPictureKeys(group))
        pictures.push_back(each.draw(ratio));
    return pictures;
}

QString startPictureFile(const QString& folder, int group, qreal ratio) {
    // Named after this very program file too: a program built or installed anew may draw
    // differently, and then draws once more instead of showing older pictures.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const qint64 stamp = program.lastModified().toSecsSinceEpoch() ^ (program.size() << 20);
    return QDir(folder).filePath(QStringLiteral("startbilder-%1-%2-x%3-qt%4-%5.bin")
                                     .arg(kDrawingVersion)
                                     .arg(group)
                                     .arg(ratio)
                                     .arg(QString::fromLatin1(qVersion()))
                                     .arg(quint64(stamp), 0, 16));
}

// The file holds the pictures as their pixels, so that reading them costs next to nothing.
StartPictureSet readStartPictures(const QString& path, int group, qreal ratio) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QDataStream in(&file);
    QByteArray magic;
    qint32 version = 0;
    double keptRatio = 0;
    in >> magic >> version >> keptRatio;
    if (magic != QByteArray(kCacheMagic) || version != kDrawingVersion || keptRatio != ratio)
        return {};
    StartPictureSet pictures;
    for (const StartKey& each : startPictureKeys(group)) {
        qint32 slot = -1;
        qint32 key = -1;
        QByteArray pixels;
        in >> slot >> key >> pixels;
        QImage image(pixelSize(each.size, ratio), QImage::Format_ARGB32_Premultiplied);
        if (in.status() != QDataStream::Ok || slot != each.slot || key != each.key ||
            pixels.size() != image.sizeInBytes())
            return {};
        std::memcpy(image.bits(), pixels.constData(), static_cast<size_t>(pixels.size()));
        image.setDevicePixelRatio(ratio);
        pictures.push_back(image);
    }
    return in.atEnd() ? pictures : StartPictureSet();
}

namespace {

// The files earlier program versions, or starts on another screen, left.
void removeOtherStartPictures(const QString& kept) {
    const QFileInfo keptFile(kept);
    QDir folder = keptFile.absoluteDir();
    for (const QString& name :
         folder.entryList({QStringLiteral("startbilder-*.bin")}, QDir::Files)) {
        if (name != keptFile.fileName())
            folder.remove(name);
    }
}

} // namespace

bool writeStartPictures(const QString& path, int group, const StartPictureSet& pictures,
                        qreal ratio) {
    const std::vector<StartKey> keys = startPictureKeys(group);
    if (pictures.size() != keys.size() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out << QByteArray(kCacheMagic) << qint32(kDrawingVersion) << double(ratio);
    for (size_t i = 0; i < keys.size(); ++i) {
        const QImage image = pictures[i].convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.size() != pixelSize(keys[i].size, ratio))
            return false;
        out << qint32(keys[i].slot) << qint32(keys[i].key)
            << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                          static_cast<qsizetype>(image.sizeInBytes()));
    }
    return out.status() == QDataStream::Ok && file.commit();
}

std::function<void()> startPictureTask(int group, const QString& cacheFolder) {
    StartPictures& start = startPictures();
    if (start.done.valid())
        return [] {};
    auto finished = std::make_shared<std::promise<void>>();
    start.done = finished->get_future().share();
    // The screen is asked here, on the caller's thread; the pictures are made for it.
    const qreal ratio = screenRatio();
    return [&start, finished, group, cacheFolder, ratio] {
        const QString path =
            cacheFolder.isEmpty() ? QString() : startPictureFile(cacheFolder, group, ratio);
        StartPictureSet pictures =
            path.isEmpty() ? StartPictureSet() : readStartPictures(path, group, ratio);
        if (pictures.empty()) {
            pictures = drawStartPictures(group, ratio);
            if (!path.isEmpty() && writeStartPictures(path, group, pictures, ratio))
                removeOtherStartPictures(path);
        }
        const std::vector<StartKey> keys = startPictureKeys(group);
        for (size_t i = 0; i < keys.size(); ++i)
            start.images[keys[i].slot].insert(keys[i].key, pictures[i]);
        finished->set_value();
    };
}

std::shared_future<void> prepareStartPictures(int group, const QString& cacheFolder) {
    StartPictures& start = startPictures();
    if (start.done.valid())
        return start.done;
    // Ends with the thread, so that whoever waits for it knows the thread is gone too.
    return std::async(std::launch::async, startPictureTask(group, cacheFolder)).share();
}

} // namespace Pictures
