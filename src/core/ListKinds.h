#pragma once

struct SettingKey;

// The lists the list pane can show, by the number the navigation passes.
namespace ListKind {
constexpr int None = 0;
constexpr int Organizers = 1;
constexpr int Technicians = 2;
constexpr int Musicians = 3;
constexpr int Backliners = 4;
constexpr int Events = 6;
constexpr int CarHire = 7;
constexpr int PAHire = 8;
constexpr int LightHire = 9;
constexpr int Accounting = 12;
constexpr int Merchandise = 13;
constexpr int Print = 14;
} // namespace ListKind

// What a list kind shows: its columns, where its widths live and its buttons.
struct ListKindInfo {
    int kind;
    int columns;
    const char* titles;          // one title per line
    const SettingKey* widthsKey; // where the widths are kept
    bool saveWidths;             // false: read the key's default, never write
    int firmKind;                // Art of the firms listed; -1 for other lists
    const char* newCaption;      // nullptr: button hidden
    const char* deleteCaption;
    const char* editCaption;
};

// nullptr for a number that is no list kind.
const ListKindInfo* listKindInfo(int kind);

bool isFirmList(int kind);
bool isEventList(int kind); // 6, 12, 13, 14
