#pragma once

// Shows the program's messages as message boxes titled "Vorlanto".
namespace MessageBoxes {

// Makes message boxes the way every message is shown (see MessageService).
void install();

} // namespace MessageBoxes
