// The place card on Linux: FrmPlaceCard in the UI module's window, in a process of its own so
// that what the card copied stays on the clipboard after the caller has its exit status.
#pragma once

#include <optional>

#include "app/linux/ui_module_loader.h"
#include "dialog/place_card.h"

namespace tolvex {

// Runs the card and returns the run's exit status as soon as the card has closed; nullopt, at
// once and with nothing shown, when no display is named, none answers or the module cannot be
// loaded (the request then launches as usual).
//
// The card runs in a child process forked before the toolkit starts; the caller's process only
// waits for the child's answer on a pipe. On an X11 display without a clipboard manager, the
// clipboard's text lives in the program that copied it: the child then lets go of the caller's
// standard streams and session, answers, and serves the clipboard until another program takes
// it over (never longer); elsewhere it answers and ends.
std::optional<int> ChooseMapOnCard(UiLoader& ui, FrmPlaceCardServices services);

}  // namespace tolvex
