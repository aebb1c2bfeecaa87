#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <functional>
#include <future>
#include <vector>

// The pictures of the main window, drawn by the program: navigation buttons, the status icons of
// the event lists and the planning hub, the logo, the toolbar and the about box.
namespace Pictures {

// Size of the group buttons and the list buttons of the navigation pane.
constexpr int kButtonWidth = 130;
constexpr int kGroupButtonHeight = 30;
constexpr int kListButtonHeight = 80;

// Group buttons: 0 addresses ("Adressen"), 1 events ("Events"), 2 finances ("Finanzen").
QPixmap groupButton(int group, bool pressed);

// List buttons by group: group 0: 0 organisers, 1 musicians, 2 technicians, 3 backliners,
// 4 PA hire, 5 light hire, 6 car hire; group 1: 0 event list; group 2: 0 accounting,
// 1 merchandise. Other combinations give an empty picture of the right size.
QPixmap listButton(int group, int button, bool pressed);
// The captions drawn on those buttons ("" for a button that does not exist).
QString groupCaption(int group);
QString listCaption(int group, int button);

// Status icons, 16 x 16, the upper-left half (above the diagonal from the lower-left to the
// upper-right corner) filled, the rest transparent: 0 red, 1 yellow, 2 green, 3 white, 4 grey.
QIcon statusIcon(int index);
// The fill colour of those icons.
QColor statusColour(int index);

// The logo at the right end of the menu bar, 102 x 43.
QPixmap logo();
// The maker's picture of the about box.
QPixmap makerPicture();
// The three toolbar buttons (16 x 15): 0 help, 1 and 2 reserved (always disabled).
QIcon toolbarIcon(int index);
// The program's window icon.
QIcon applicationIcon();

// Starts making, on another thread, the pictures the main window shows first: the group
// buttons with `group` pressed, that group's list buttons, the toolbar pictures, the window
// icon and the logo. They are read from a
// file in `cacheFolder` when an earlier start left one for this version, else drawn and kept
// there (no folder: always drawn). The functions above wait for them when asked for one of
// them; whoever starts this waits for its end before the application object goes. A second
// call starts nothing and returns a future of the pictures being in place.
std::shared_future<void> prepareStartPictures(int group, const QString& cacheFolder);
// The same as a task for a thread of the caller's, which may go on with other work after it:
// from this call on, the functions above wait for the task when asked for a start picture.
// After the first call (of either), an empty task.
std::function<void()> startPictureTask(int group, const QString& cacheFolder);

// The pieces of that: the pictures in a fixed order (group buttons, list buttons, toolbar,
// window icon, logo), the
// cache file, reading it (empty on any doubt: another version, a short or damaged file, a
// picture missing or of another size) and writing it (false when it could not be written).
using StartPictureSet = std::vector<QImage>;
StartPictureSet drawStartPictures(int group);
QString startPictureFile(const QString& folder, int group);
StartPictureSet readStartPictures(const QString& path, int group);
bool writeStartPictures(const QString& path, int group, const StartPictureSet& pictures);

} // namespace Pictures
