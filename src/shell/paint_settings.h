#pragma once
// The painting tools' settings kept in the profile: which tool, the brush's
// size and shape, the ink, the symmetry and the fill's and shapes' options.

#include "editor/editor_state.h"

class Profile;

// Values out of range are pulled back into range.
void ReadPaintSettings(const Profile& profile, EditorState& editor);
void WritePaintSettings(Profile& profile, const EditorState& editor);
