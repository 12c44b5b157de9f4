#pragma once
// Where the program keeps what belongs to one user's runs rather than to
// their documents: the recovery copies of unsaved work.
//
// SKINTOOL_STATE_DIR wins when set (tests and portable set-ups), then
// $XDG_STATE_HOME/skintool, then ~/.local/state/skintool. The window front
// end uses the same folder rather than Qt's application data location, so
// the command line, the tests and the editor all agree on one place.

#include <string>

// The folder, not necessarily existing yet; empty when no home is known.
std::string StateFolder();
