#pragma once
// Options > Snapshot: the 3D view's picture, at its size or a custom one,
// written as an 8-bit BMP (or PNG, by the name's extension) in the current
// skin's palette.

#include <optional>

class App;

inline constexpr char kSnapshotSizeText[] = "Neither Width nor Height can be less than 16 or more than 2048";
inline constexpr char kSnapshotFilter[] = "Bitmap (*.bmp)|*.bmp|PNG (*.png)|*.png|All Files (*.*)|*.*||";

// The "Snapshots" dialog's data: 0 "Current", 1 "Custom:" with its size.
struct SnapshotChoice {
  int sizeChoice = 0;
  int customWidth = 0;
  int customHeight = 0;
};

class SnapshotDialog {
 public:
  virtual ~SnapshotDialog() = default;
  // The choice on OK, nothing on Cancel.
  virtual std::optional<SnapshotChoice> Ask(const SnapshotChoice& initial) = 0;
};

// Asks through app.services.snapshotDialog; nothing without one or without a 3D view.
void OnSnapshot(App& app);
