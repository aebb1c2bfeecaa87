#pragma once

#include <QString>

// The files the programs read from their installation instead of carrying them inside: the
// manual and the pictures every new program directory receives. They lie in share/vorlanto next
// to the folder of the program (/usr/bin → /usr/share/vorlanto, build/bin → build/share/vorlanto),
// so an unpacked package works from whatever folder it was unpacked into.
namespace InstalledData {

// The folder share/vorlanto belonging to the running program, absolute.
QString directory();

// The folder of the manual's pages.
QString helpDirectory();

// A picture that new program directories receive, for example "morvo.jpg".
QString picturePath(const QString& fileName);

// What the user reads when a file of the installation is missing.
QString missingMessage(const QString& path);

} // namespace InstalledData
