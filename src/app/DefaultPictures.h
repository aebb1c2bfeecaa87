#pragma once

#include <QImage>
#include <QString>

// The pictures every program directory holds, drawn by the program itself: the background of
// the empty list pane and the default photos of musicians and articles.
namespace DefaultPictures {

QImage background(); // bgr1024.jpg, 1024 x 768
QImage musician();   // morvo.jpg
QImage article();    // tshirt.jpg

// Writes the three files into the directory; false (with the reason) when one fails.
bool writeAll(const QString& directory, QString* error);

} // namespace DefaultPictures
