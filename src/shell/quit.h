#pragma once
// Closing the main window.

class App;

inline constexpr char kQuitQuestionText[] = "All Unsaved data will be lost...\nAre you sure you want to quit?";

inline constexpr char kSaveMeshText[] = "Save changes to the current Mesh?";
inline constexpr char kSaveMeshFailedText[] = "An error occured while trying to save =[";

// Writes the split ratio and colour slots, then asks unless "Quick Exit" is
// set; then, whatever the setting, offers to save the work that would be
// lost (OfferToSaveChanges). True when the window may close.
bool ConfirmQuit(App& app);
// Asks about a mesh changed since it was loaded or saved and then about the
// changed skins; false when the user cancels or a save fails.
bool OfferToSaveChanges(App& app);
