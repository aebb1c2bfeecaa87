#include "KeptImage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KeptImage {
namespace {

// The layout of the file: magic, layout version, source stamp (its length, then its bytes),
// width, height, bytes per line, zeros up to a multiple of 64 bytes, then the pixels; all
// numbers little-endian 32-bit.
const char kMagic[8] = {'V', 'o', 'r', 'l', 'B', 'i', 'l', 'd'};
constexpr quint32 kLayout = 1;
constexpr QImage::Format kFormat = QImage::Format_RGB32;
// A picture larger than this is not one of ours (and is not worth keeping).
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

void putNumber(QByteArray& out, quint32 value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xFF));
}

// The pixels start at the next multiple of 64 after the head, aligned as a picture's lines are.
size_t headedPixelsAt(size_t headSize) {
    return (headSize + 63) / 64 * 64;
}

} // namespace

QByteArray fileStamp(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return info.absoluteFilePath().toUtf8() + '\n' + QByteArray::number(info.size()) + '\n' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch());
}

QImage read(const QString& keptPath, const QByteArray& source) {
    if (source.isEmpty())
        return {};
    const int fd = ::open(QFile::encodeName(keptPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat status {};
    void* mapped = MAP_FAILED;
    if (::fstat(fd, &status) == 0 && status.st_size > 0)
        mapped = ::mmap(nullptr, size_t(status.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return {};
    const auto* bytes = static_cast<const uchar*>(mapped);
    const size_t size = size_t(status.st_size);
    const auto unmap = [mapped, size] { ::munmap(mapped, size); };

    size_t at = 0;
    const auto number = [&](quint32& value) {
        if (size - at < 4)
            return false;
        value = quint32(bytes[at]) | quint32(bytes[at + 1]) << 8 | quint32(bytes[at + 2]) << 16 |
                quint32(bytes[at + 3]) << 24;
        at += 4;
        return true;
    };
    quint32 layout = 0;
    quint32 stampSize = 0;
    quint32 width = 0;
    quint32 height = 0;
    quint32 bytesPerLine = 0;
    const bool headed =
        size >= sizeof kMagic && std::memcmp(bytes, kMagic, sizeof kMagic) == 0 &&
        (at = sizeof kMagic, number(layout)) && layout == kLayout && number(stampSize) &&
        stampSize == quint32(source.size()) && size - at >= stampSize &&
        std::memcmp(bytes + at, source.constData(), stampSize) == 0 &&
        (at += stampSize, number(width)) && number(height) && number(bytesPerLine) && width > 0 &&
        height > 0 && qint64(width) * height <= kMaxPixels && bytesPerLine == width * 4;
    const size_t pixels = headedPixelsAt(at);
    // The pixels fill the whole rest of the file, and nothing comes after them.
    if (!headed || pixels > size || size - pixels != size_t(bytesPerLine) * height) {
        unmap();
        return {};
    }
    // The picture reads its pixels straight from the file's pages; the mapping goes with the
    // last copy of the picture. Painting only reads them, so nothing is ever copied.
    auto* mapping = new std::function<void()>(unmap);
    return QImage(
        bytes + pixels, int(width), int(height), qsizetype(bytesPerLine), kFormat,
        [](void* release) {
            auto* done = static_cast<std::function<void()>*>(release);
            (*done)();
            delete done;
        },
        mapping);
}

bool write(const QString& keptPath, const QByteArray& source, const QImage& image) {
    if (source.isEmpty() || image.isNull() || qint64(image.width()) * image.height() > kMaxPixels)
        return false;
    const QImage pixels = image.convertToFormat(kFormat);
    QByteArray head(kMagic, sizeof kMagic);
    putNumber(head, kLayout);
    putNumber(head, quint32(source.size()));
    head.append(source);
    putNumber(head, quint32(pixels.width()));
    putNumber(head, quint32(pixels.height()));
    putNumber(head, quint32(pixels.bytesPerLine()));
    head.append(
        QByteArray(qsizetype(headedPixelsAt(size_t(head.size())) - size_t(head.size())), '\0'));
    if (!QDir().mkpath(QFileInfo(keptPath).absolutePath()))
        return false;
    QSaveFile file(keptPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(head);
    file.write(reinterpret_cast<const char*>(pixels.constBits()), pixels.sizeInBytes());
    return file.commit();
}

} // namespace KeptImage
