#include "CPictureHolder.h"

#include "KeptImage.h"
#include "core/MessageService.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <new>

const char* const CPictureHolder::kNotFound = "Datei %1 nicht gefunden.";
const char* const CPictureHolder::kEmpty = "Datei %1 scheint leer zu sein.";
const char* const CPictureHolder::kNoMemory = "Nicht genügend Speicher für Bild verfügbar.";
const char* const CPictureHolder::kReadError = "Lesefehler Datei %1.";
const char* const CPictureHolder::kStreamFailed = "CreateStreamOnHGlobal() failed";
const char* const CPictureHolder::kCannotDecode = "Bild %1 konnte nicht geladen werden.";

namespace {
bool fail(QWidget* parent, const char* message, const QString& path) {
    MessageService::stop(parent, QString::fromUtf8(message).arg(path));
    return false;
}
} // namespace

bool CPictureHolder::load(const QString& path, QWidget* messageParent) {
    return take(decode(path), messageParent);
}

CPictureHolder::Decoded CPictureHolder::decode(const QString& path) {
    Decoded result;
    result.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.failure = kNotFound;
        return result;
    }
    const qint64 size = file.size();
    if (size <= 0) {
        result.failure = kEmpty;
        return result;
    }
    QByteArray bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        result.failure = kNoMemory;
        return result;
    }
    if (file.read(bytes.data(), size) != size) {
        result.failure = kReadError;
        return result;
    }
    file.close();

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    result.image = reader.read();
    if (result.image.isNull())
        result.failure = kCannotDecode;
    return result;
}

CPictureHolder::Decoded CPictureHolder::decodeKept(const QString& path, const QString& keptPath) {
    if (keptPath.isEmpty())
        return decode(path);
    const QByteArray source = KeptImage::fileStamp(path);
    QImage kept = KeptImage::read(keptPath, source);
    if (!kept.isNull())
        return Decoded{std::move(kept), nullptr, path};
    Decoded decoded = decode(path);
    if (!decoded.failure)
        KeptImage::write(keptPath, source, decoded.image);
    return decoded;
}

bool CPictureHolder::take(Decoded decoded, QWidget* messageParent) {
    // A file that cannot be read keeps the picture shown so far; one that cannot be decoded
    // leaves no picture.
    if (decoded.failure == kCannotDecode)
        m_image = QImage();
    if (decoded.failure)
        return fail(messageParent, decoded.failure, decoded.path);
    m_image = std::move(decoded.image);
    return true;
}

bool CPictureHolder::render(QPainter& painter, const QRect& target) const {
    if (m_image.isNull() || !painter.isActive())
        return false;
    painter.drawImage(target, m_image);
    return true;
}

QRect photoFit(const QSize& client, const QSize& picture) {
    const int cw = client.width();
    const int ch = client.height();
    const int pw = picture.width();
    const int ph = picture.height();
    if (pw <= 0 || ph <= 0 || cw <= 0 || ch <= 0)
        return QRect();
    int w = ch * pw / ph;
    int h = ch;
    if (cw < w) {
        w = cw;
        h = cw * ph / pw;
    }
    return QRect((cw - w) / 2, (ch - h) / 2, w, h);
}

QRect photoRect(const QSize& client, const QSize& picture) {
    const QRect fit = photoFit(client, picture);
    if (fit.isNull())
        return fit;
    // Inset by one pixel on the top left and two on the bottom right, so the control's
    // frame stays visible.
    return QRect(fit.left() + 1, fit.top() + 1, fit.width() - 3, fit.height() - 3);
}
