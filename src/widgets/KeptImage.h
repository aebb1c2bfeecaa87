#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// A decoded picture kept as its pixels in a file of the user's cache folder, so that a later
// start reads it instead of decoding it again. `source` names what the pixels were made from
// (a file with its size and time, a program version): a kept file for another source, of
// another layout, cut short or unreadable reads as no picture, and the caller decodes anew.
namespace KeptImage {

// The source stamp of a file: its absolute path, size and modification time.
QByteArray fileStamp(const QString& path);

// The kept picture, or a null image when the file does not hold one made from `source`.
QImage read(const QString& keptPath, const QByteArray& source);
// Keeps `image` (any format; kept as 32-bit pixels) for `source`, replacing the file whole.
// False when it could not be written; the earlier file then stays as it was.
bool write(const QString& keptPath, const QByteArray& source, const QImage& image);

} // namespace KeptImage
