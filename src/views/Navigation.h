#pragma once

// Where a list button of the navigation pane leads, by the selected group.
struct NavigationStep {
    int view = 1;                // 1 empty view, 2 event and finance lists, 3 address lists
    int listKind = 0;            // the list kind shown in views 2 and 3
    bool eventFlags = false;     // the event list: its menu commands become available
    bool accountingFlag = false; // the accounting list: the cost commands become available
};

// Group 0 addresses, 1 events, 2 finances; list button 0 to 6. A button that leads nowhere
// gives the empty view.
NavigationStep navigationStep(int group, int listButton);

// How many list buttons a group shows (the others are hidden).
int visibleListButtons(int group);
