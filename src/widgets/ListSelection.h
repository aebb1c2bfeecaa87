#pragma once

class QTreeWidget;
class QTreeWidgetItem;

// How the list dialogs move their selection: onto one row, and onto a neighbour when a row goes,
// so that the next press of a button aims at the row the user sees highlighted.
namespace ListSelection {

// Makes the row the current, only selected one and scrolls to it; nullptr selects nothing.
void select(QTreeWidget& list, QTreeWidgetItem* row);

// Removes the row and selects the one now in its place, or the last row when the last went.
void removeAndSelectNeighbour(QTreeWidget& list, QTreeWidgetItem* row);

} // namespace ListSelection
