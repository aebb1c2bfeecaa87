#pragma once

#include "CPictureHolder.h"

#include <QWidget>

// Shows one photo fitted into its area: a musician's or an article's, or the default photo.
class CPhotoCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CPhotoCtrl(QWidget* parent = nullptr);

    // The program directory, where the default photos live.
    void setProgramDirectory(const QString& directory) { m_programDirectory = directory; }

    // The default photo that stands in for a missing or unreadable file.
    enum class Fallback { Musician, Article };

    // Shows the file; a missing or unreadable file shows the default photo instead (a missing
    // file without a message). Returns whether a photo is shown.
    bool showFile(const QString& path, Fallback fallback = Fallback::Musician);
    bool showDefaultMusicianPhoto();
    bool showDefaultArticlePhoto();
    // Shows nothing.
    void clearPhoto();

    bool isLoaded() const { return m_loaded; }
    const CPictureHolder& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool showDefault(const char* fileName);

    CPictureHolder m_picture;
    bool m_loaded = false;
    QString m_programDirectory;
};
