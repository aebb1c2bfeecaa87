#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStringList>

#include <functional>
#include <future>
#include <vector>

// The pictures of the main window: navigation buttons, the status icons of the event lists and
// the planning hub, the logo, the toolbar and the about box. Each comes from a drawing (SVG) in
// the resources and is made for the screen's device pixel ratio, so that it stays sharp on
// screens with more pixels per point. Sizes below are in logical pixels.
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
// The program's window icon, 16, 32 and 64 pixels (resources: pictures/vorlanto.svg).
QIcon applicationIcon();

// The device pixel ratio the pictures are made for: the highest of the screens (1 without a
// GUI application).
qreal screenRatio();
// The names of all drawings the pictures above are made of, their resource file, and a drawing
// rendered at `size` for `ratio` (empty for an unknown name).
QStringList pictureNames();
QString pictureFile(const QString& name);
QImage renderPicture(const QString& name, const QSize& size, qreal ratio);

// Starts making, on another thread, the pictures the main window shows first: the group
// buttons with `group` pressed, that group's list buttons, the toolbar pictures, the window
// icon and the logo, for the screen's device pixel ratio. They are read from a file in
// `cacheFolder` when an earlier start left one for this version and ratio (reading it renders no
// drawing), else drawn and kept there (no folder: always drawn). The functions above wait for them
// when asked for one of them; whoever starts this waits for its end before the application object
// goes. A second call starts nothing and returns a future of the pictures being in place.
std::shared_future<void> prepareStartPictures(int group, const QString& cacheFolder);
// The same as a task for a thread of the caller's, which may go on with other work after it:
// from this call on, the functions above wait for the task when asked for a start picture.
// After the first call (of either), an empty task.
std::function<void()> startPictureTask(int group, const QString& cacheFolder);

// The pieces of that: the pictures in a fixed order (group buttons, list buttons, toolbar,
// window icon, logo), the cache file, reading it (empty on any doubt: another version or ratio,
// a short or damaged file, a picture missing or of another size) and writing it (false when it
// could not be written).
using StartPictureSet = std::vector<QImage>;
StartPictureSet drawStartPictures(int group, qreal ratio = screenRatio());
QString startPictureFile(const QString& folder, int group, qreal ratio = screenRatio());
StartPictureSet readStartPictures(const QString& path, int group, qreal ratio = screenRatio());
bool writeStartPictures(const QString& path, int group, const StartPictureSet& pictures,
                        qreal ratio = screenRatio());

} // namespace Pictures
