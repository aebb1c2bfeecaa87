#pragma once

#include <QList>

class CProfileFile;
class QFont;
class QHeaderView;
class QTreeView;
struct SettingKey;

// The column widths of the lists. The default widths under LIST_COLS in Kavio.ini are pixels
// measured for a small dialog font whose letters average 6 pixels. A list in another font gets
// them scaled by the ratio of its own letters' average width, so that each column shows as much
// as it was made to show. Widths stored in Kavio.ini are the user's own: used as stored.
namespace ListColumns {

// The average letter width of the font the default widths were made for.
constexpr double kReferenceLetterWidth = 6.0;

// The average advance of the letters A-Z and a-z in `font`, in pixels.
double letterWidth(const QFont& font);
// letterWidth(font) / kReferenceLetterWidth.
double scaleFor(const QFont& font);

// Whether the user's own widths for the key are in Kavio.ini.
bool stored(const CProfileFile& profile, const SettingKey& key);
// The widths for a list of `columns` columns in `font`: stored widths as stored, the missing ones
// from the key's default, scaled for the font.
QList<int> read(const CProfileFile& profile, const SettingKey& key, int columns, const QFont& font);
// Only the key's defaults, scaled for the font (lists that never store their widths).
QList<int> defaults(const SettingKey& key, int columns, const QFont& font);

// Sizes the header's sections; the last one stretches to the list's right edge, so that no
// space stays empty while a text is cut and a wider window gives it room.
void apply(QHeaderView& header, const QList<int>& widths);

// Default widths widened to what the list shows, within the list's width: every row in view
// whole when that fits; else each title and the first row whole and the room left shared out by
// what the other rows need. Where even titles and first row are wider than the list, they keep
// their widths and the list scrolls sideways. No column gets narrower than its default; columns
// of width 0 stay hidden.
QList<int> fitted(QTreeView& view, const QList<int>& widths);

} // namespace ListColumns
