#include "CPhotoCtrl.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

CPhotoCtrl::CPhotoCtrl(QWidget* parent)
    : QWidget(parent), m_programDirectory(QDir::currentPath()) {}

bool CPhotoCtrl::showFile(const QString& path, Fallback fallback) {
    const auto showFallback = [this, fallback] {
        return fallback == Fallback::Article ? showDefaultArticlePhoto()
                                             : showDefaultMusicianPhoto();
    };
    if (path.isEmpty() || !QFileInfo::exists(path))
        return showFallback();
    m_loaded = m_picture.load(path, this);
    if (!m_loaded)
        return showFallback();
    update();
    return true;
}

bool CPhotoCtrl::showDefault(const char* fileName) {
    const QString path = QDir(m_programDirectory).filePath(QString::fromUtf8(fileName));
    if (!QFileInfo::exists(path))
        return m_loaded;
    m_loaded = m_picture.load(path, this);
    update();
    return m_loaded;
}

bool CPhotoCtrl::showDefaultMusicianPhoto() {
    return showDefault("morvo.jpg");
}

bool CPhotoCtrl::showDefaultArticlePhoto() {
    return showDefault("tshirt.jpg");
}

void CPhotoCtrl::clearPhoto() {
    m_picture.clear();
    m_loaded = false;
    update();
}

void CPhotoCtrl::paintEvent(QPaintEvent*) {
    if (!m_loaded || !m_picture.hasPicture())
        return;
    QPainter painter(this);
    m_picture.render(painter, photoRect(size(), m_picture.sizeInPixels()));
}
