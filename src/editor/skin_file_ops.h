#pragma once
// The Skins menu's operations that read or write skin files, each one named
// undo step on the document. The caller picks the file (or folder, or size)
// and asks any question first; the operation asks nothing and shows nothing.

#include <functional>
#include <optional>
#include <string>

#include "editor/document_ops.h"
#include "editor/editor_state.h"
#include "image/skin.h"
#include "platform/file_error.h"

inline constexpr char kSkinWrongSizeText[] = "Error loading skin: Incorrect dimensions!";
inline constexpr char kSkinSaveFailedText[] = "An error occured while attempting to save!";
inline constexpr char kOutsideBaseFolderText[] =
    "You are not saving below your base folder,\nare you sure you want to continue??";
inline constexpr char kReloadFailedText[] = "Unable to reload the skin!";
inline constexpr char kReloadWrongSizeText[] = "The refreshed skin does not have the same dimensions!";
inline constexpr char kFolderInvalidText[] = "That folder is not valid";

// What a skin file operation did. The reader's or writer's own failure comes
// apart from the refusal: the menu shows a reader's only when the file held
// something, and some refusals follow it with words of their own.
struct SkinFileResult {
  OpResult result;
  std::optional<FileError> fileError;
  FileNotices notices;  // Scan Folder's: files that are no images, or none found
};

// "Open Skin": the picture at `path` (a relative one below `baseFolder`) as
// an external skin after the others, made current. A true-colour picture is
// brought into `palette`, dithered when asked. Refused when it is not the
// model's skin size.
SkinFileResult OpenSkinFile(Document& document, const std::string& path, const std::string& baseFolder,
                            const Palette& palette, bool dither);
// "Link Skin": the current external skin written as a PCX at `path` and
// linked to it. Whether a target outside the base folder is wanted is the
// caller's question (kOutsideBaseFolderText). The list is put in order on
// the way; `settled` hears of it when that moved anything.
SkinFileResult LinkCurrentSkin(Document& document, const std::string& path, const std::string& baseFolder,
                               const std::function<void()>& settled = {});
// "Reload Skin": the current skin read again from its own file (a
// true-colour one through the skin's palette) and marked as what it holds.
SkinFileResult ReloadCurrentSkin(Document& document, bool dither);
// "Scan Folder for Skins": every picture of the model's skin size in
// `folder`, added as external skins.
SkinFileResult ScanFolderIntoSkins(Document& document, const std::string& folder, const std::string& baseFolder);
// "Re-size All Skins": every skin resampled to width x height, the mapping
// and the editor's mapping frame scaled with them.
OpResult ResizeAllSkins(Document& document, EditorState& editor, int width, int height, bool enforceLimits);
