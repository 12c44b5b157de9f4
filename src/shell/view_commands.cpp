#include "shell/view_commands.h"

#include "editor/skin_view.h"
#include "editor/view_fit.h"
#include "render/camera.h"
#include "shell/app.h"
#include "shell/shell_layout.h"

namespace {

void AlignAndRefresh(App& app, AlignKind kind) {
  Align(app.viewport, kind);
  app.RefreshAll();
}

}  // namespace

void OnCenterOnSelected(App& app) {
  if (CenterOnSelected(app.viewport, app.model)) app.RefreshAll();
}

bool ZoomToFit(App& app) {
  SkinView* skinView = app.services.shellLayout ? app.services.shellLayout->skinViewPane() : nullptr;
  const bool skin = skinView && skinView->ZoomExtents();
  const bool model = FitViewToAllFrames(app.viewport, app.model);
  return skin || model;
}

void OnZoomToFit(App& app) {
  if (ZoomToFit(app)) app.RefreshAll();
}

void OnCenterOnScene(App& app) {
  if (CenterOnScene(app.viewport, app.model)) app.RefreshAll();
}

void OnAlignLeft(App& app) { AlignAndRefresh(app, AlignKind::Left); }
void OnAlignRight(App& app) { AlignAndRefresh(app, AlignKind::Right); }
void OnAlignFront(App& app) { AlignAndRefresh(app, AlignKind::Front); }
void OnAlignBack(App& app) { AlignAndRefresh(app, AlignKind::Back); }
void OnAlignTop(App& app) { AlignAndRefresh(app, AlignKind::Top); }
void OnAlignBottom(App& app) { AlignAndRefresh(app, AlignKind::Bottom); }

void OnLockLight(App& app) { app.lighting.lockLight = app.lighting.lockLight ? 0 : 1; }

bool IsLockLightChecked(const App& app) { return app.lighting.lockLight == 1; }

void BuildShadeRampsFor(App& app) {
  const Skin* skin = app.model.CurrentSkin();
  BuildShadeRamps(app.lighting, skin ? &skin->palette : nullptr, &app.editor.colourSlots[1]);
}
