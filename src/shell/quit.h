#pragma once
// Closing the main window.

class App;

inline constexpr char kQuitQuestionText[] = "All Unsaved data will be lost...\nAre you sure you want to quit?";

// Writes the split ratio and colour slots, then asks unless "Quick Exit" is
// set; true when the window may close.
bool ConfirmQuit(App& app);
