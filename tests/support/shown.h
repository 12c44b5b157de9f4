#pragma once
// What the shell does with a reader's or writer's answer, for tests that
// check the texts a user ends up seeing: a failure is shown on `ui` (a
// reader's failure to open its file at all shows nothing; the callers word
// that themselves) and the value handed on as the old interfaces did.

#include <memory>
#include <optional>

#include "image/skin.h"
#include "image/true_colour.h"
#include "platform/show_file_error.h"

inline std::unique_ptr<Skin> Shown(Ui& ui, FileResult<std::unique_ptr<Skin>> result) {
  if (!result) {
    ShowContentError(ui, result.error());
    return nullptr;
  }
  return std::move(*result);
}

inline std::optional<DecodedPicture> Shown(Ui& ui, FileResult<DecodedPicture> result) {
  if (!result) {
    ShowContentError(ui, result.error());
    return std::nullopt;
  }
  return std::move(*result);
}

inline bool Shown(Ui& ui, const WriteResult& result) {
  if (!result) ShowFileError(ui, result.error());
  return static_cast<bool>(result);
}

inline void Shown(Ui& ui, const FileNotices& notices) { ShowNotices(ui, notices); }
