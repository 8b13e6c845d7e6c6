// What the card copied, kept after the card has closed. On X11 the clipboard's text is not
// stored by the server: the program that copied it hands it over whenever another program
// pastes, so it is lost when that program ends, unless a clipboard manager takes copies over
// (Qt hands them to one when the application ends). Only that case is served here: on Wayland
// the copy lasts as long as the desktop's own clipboard keeps it.
#pragma once

namespace tolvex::qt {

// True when the application owns the clipboard on an X11 display on which no clipboard
// manager runs: the text would then go with the process.
bool ClipboardNeedsOwner();

// Runs the application's events, serving the clipboard to whoever pastes, until another
// program takes the clipboard over or the display goes; returns at once when
// ClipboardNeedsOwner() is false.
void ServeClipboard();

}  // namespace tolvex::qt
