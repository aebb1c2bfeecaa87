#pragma once

#include <QString>

// The pictures every program directory holds, installed with the program (see InstalledData): the background of the
// empty list pane (bgr1024.jpg) and the default photos of musicians (morvo.jpg) and articles
// (tshirt.jpg).
namespace DefaultPictures {

// Writes the three files into the directory; false (with the reason) when one fails.
bool writeAll(const QString& directory, QString* error);

} // namespace DefaultPictures
