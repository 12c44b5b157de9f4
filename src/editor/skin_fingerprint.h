#pragma once
// Whether a skin differs from what its file holds. A skin remembers a
// fingerprint of what was last read or written (pixels, palette, size and
// name) rather than a flag set by every edit, so a skin whose edits were
// undone back to the saved state, or that was only renamed and moved by a
// save, reads as unchanged.

#include <cstdint>

#include "image/skin.h"

// Never 0, which stands for "not taken yet".
std::uint64_t SkinFingerprint(const Skin& skin);

bool SkinChanged(const Skin& skin);

// The skin now is what its file holds.
void MarkSkinSaved(Skin& skin);

// A skin that came from outside the editor (a model load, a recovery copy)
// without a fingerprint is taken as read now; the editor calls it before it
// changes the skin.
void TakeSavedFingerprint(Skin& skin);

// What a skin knows about its file beside its record, for the undo steps
// that take a skin out of the list and put it back.
struct SkinFileState {
  bool modified = false;
  std::uint64_t savedFingerprint = 0;
  bool operator==(const SkinFileState&) const = default;
};

inline SkinFileState FileStateOf(const Skin& skin) { return {skin.modified, skin.savedFingerprint}; }
inline void SetFileState(Skin& skin, const SkinFileState& state) {
  skin.modified = state.modified;
  skin.savedFingerprint = state.savedFingerprint;
}
