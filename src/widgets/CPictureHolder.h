#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class QWidget;

// One decoded picture (or none), loaded whole from a file. A failed load shows exactly one
// message; a file that cannot be decoded leaves the holder without a picture, while a file that
// cannot be read keeps the picture shown so far.
class CPictureHolder {
public:
    // The loader's messages; %1 is the file's path.
    static const char* const kNotFound;     // "Datei %1 nicht gefunden."
    static const char* const kEmpty;        // "Datei %1 scheint leer zu sein."
    static const char* const kNoMemory;     // "Nicht genügend Speicher für Bild verfügbar."
    static const char* const kReadError;    // "Lesefehler Datei %1."
    static const char* const kStreamFailed; // "CreateStreamOnHGlobal() failed"
    static const char* const kCannotDecode; // "Bild %1 konnte nicht geladen werden."

    // Returns true when the picture is loaded; on failure shows one message (parent for the
    // message box) and returns false.
    bool load(const QString& path, QWidget* messageParent = nullptr);

    // Loading in two steps, so that the slow first one can run on another thread: read and
    // decode the file (touches no widget), then take the result here, with the message of a
    // failure shown as load() shows it.
    struct Decoded {
        QImage image;
        const char* failure = nullptr; // one of the messages above, or none
        QString path;
    };
    static Decoded decode(const QString& path);
    // The same, through a kept copy of the pixels at `keptPath` (see KeptImage): read from
    // there when it was made from this very file, else decoded and kept there. An empty
    // `keptPath` only decodes.
    static Decoded decodeKept(const QString& path, const QString& keptPath);
    bool take(Decoded decoded, QWidget* messageParent = nullptr);
    bool hasPicture() const { return !m_image.isNull(); }
    void clear() { m_image = QImage(); }

    // The picture's natural size in pixels; 0 x 0 without a picture.
    QSize sizeInPixels() const { return m_image.size(); }
    // Draws the whole picture stretched into the rectangle; false without a picture.
    bool render(QPainter& painter, const QRect& target) const;

    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

// A picture of the given size fitted into a control: to the height, or to the width when it is
// too wide, centred. A null rectangle when either size is empty.
QRect photoFit(const QSize& client, const QSize& picture);
// Where the photo control draws it: the fitted rectangle inset by its frame.
QRect photoRect(const QSize& client, const QSize& picture);
