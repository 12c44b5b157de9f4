#include "shell/companion_commands.h"

#include <cmath>
#include <cstdio>

#include "image/image_files.h"
#include "model/companion.h"
#include "platform/files.h"
#include "platform/show_file_error.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"

namespace {

constexpr char kLoadErrorText[] = "There was an error loading the specified file!";
constexpr char kSkinMisfitText[] = "This skin does not fit this model!";


enum class SkinChoice { Fitted, Misfit, Unreadable, Cancelled };

// The skin dialog shared by Open and Load Skin; on Fitted the pixels are
// installed, otherwise the companion is left as it was.
SkinChoice ChooseSkin(App& app, Companion& companion) {
  FileDialogRequest req;
  req.filter = "Mesh Skin (*.pcx)|*.pcx|All Files (*.*)|*.*||";
  req.initialName = "*.pcx";
  req.fileMustExist = true;
  auto answer = AskForFile(app, req, DialogFolder::Load, AlwaysExtension(".pcx"));
  if (!answer) return SkinChoice::Cancelled;
  const std::string& path = answer->path;
  auto loaded = LoadSkinImage(ResolvePath(path));
  if (!loaded) {
    ShowContentError(app.ui, loaded.error());
    return SkinChoice::Unreadable;
  }
  std::unique_ptr<Skin> skin = std::move(*loaded);
  if (skin->width != companion.skinWidth || skin->height != companion.skinHeight ||
      skin->pixels.size() != static_cast<std::size_t>(skin->width) * skin->height) {
    app.ui.Message(kSkinMisfitText);
    return SkinChoice::Misfit;
  }
  SetCompanionSkin(companion, std::move(skin->pixels));
  return SkinChoice::Fitted;
}

void MakeCurrent(Model& model, int index) {
  if (index < 0 || index >= static_cast<int>(model.companions.size())) {
    model.currentCompanionIndex = -1;
    return;
  }
  model.currentCompanionIndex = static_cast<std::int16_t>(index);
}

}  // namespace

std::string FormatOffset(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return text;
}

bool HasCurrentCompanion(const App& app) { return app.model.CurrentCompanion() != nullptr; }

std::string CompanionHideItemText(const App& app) {
  const Companion* c = app.model.CurrentCompanion();
  return c && c->hidden ? "&Show\tH" : "&Hide\tH";
}

void OnCompanionOpen(App& app) {
  // The list index is 16-bit; refuse rather than wrap.
  if (app.model.companions.size() >= 32767) return;
  FileDialogRequest req;
  req.filter = "Quake2 Model (*.md2)|*.md2|All Files (*.*)|*.*||";
  req.initialName = "*.md2";
  req.fileMustExist = true;
  auto answer = AskForFile(app, req, DialogFolder::Load, AlwaysExtension(".md2"));
  if (!answer) return;
  const std::string path = answer->path;
  if (const std::string file = ResolvePath(path); !IsReadableFile(file)) {
    app.ui.Message(std::string(kLoadErrorText) + "\n" + file);
    return;
  }
  auto loaded = LoadCompanion(path, app.baseFolder);
  if (!loaded) {
    ShowContentError(app.ui, loaded.error());
    return;
  }
  ShowNotices(app.ui, loaded->notices);
  std::unique_ptr<Companion> companion = std::move(loaded->companion);
  companion->name = path;
  if (companion->skinPixels.empty() && ChooseSkin(app, *companion) != SkinChoice::Fitted)
    SetPlaceholderSkin(*companion);
  app.model.companions.push_back(std::move(companion));
  MakeCurrent(app.model, static_cast<int>(app.model.companions.size()) - 1);
  ComputeCompanionFaceNormals(app.model);
  app.RefreshAll();
}

void OnCompanionClose(App& app) {
  Model& model = app.model;
  int index = model.currentCompanionIndex;
  if (!model.CurrentCompanion() || index < 0 || index >= static_cast<int>(model.companions.size()))
    return;
  model.companions.erase(model.companions.begin() + index);
  // The entry that moved up takes the place; past the end, the new last one.
  int count = static_cast<int>(model.companions.size());
  MakeCurrent(model, count == 0 ? -1 : (index < count ? index : count - 1));
  app.RefreshAll();
}

void OnCompanionLoadSkin(App& app) {
  Companion* c = app.model.CurrentCompanion();
  if (!c) return;
  SkinChoice choice = ChooseSkin(app, *c);
  // Cancel keeps the skin already shown; a picture that cannot be used
  // leaves the placeholder so the choice is visibly not applied.
  if (choice == SkinChoice::Misfit || choice == SkinChoice::Unreadable) SetPlaceholderSkin(*c);
  app.RefreshModelView();
}

void OnCompanionHideShow(App& app) {
  Companion* c = app.model.CurrentCompanion();
  if (!c) return;
  c->hidden = c->hidden ? 0 : 1;
  ComputeCompanionFaceNormals(app.model);
  app.RefreshAll();
}

void OnCompanionOffset(App& app) {
  Companion* c = app.model.CurrentCompanion();
  if (!c || !app.services.companionOffsetDialog) return;
  auto answer = app.services.companionOffsetDialog->Ask(CompanionOffset{c->offsetX, c->offsetY, c->offsetZ});
  // A field that does not hold a finite number would poison every camera move.
  if (!answer || !std::isfinite(answer->x) || !std::isfinite(answer->y) || !std::isfinite(answer->z))
    return;
  c->offsetX = answer->x;
  c->offsetY = answer->y;
  c->offsetZ = answer->z;
  app.RefreshModelView();
}
