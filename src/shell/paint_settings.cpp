#include "shell/paint_settings.h"

#include <algorithm>

#include "platform/profile.h"
#include "platform/profile_keys.h"

namespace {

inline constexpr char kSection[] = "Paint Tools";
inline constexpr IntSetting kToolSetting{kSection, "Tool", 0};
inline constexpr IntSetting kSizeSetting{kSection, "Brush Size", 1};
inline constexpr IntSetting kShapeSetting{kSection, "Brush Shape", 0};
inline constexpr IntSetting kInkSetting{kSection, "Ink", 0};
inline constexpr IntSetting kSymmetrySetting{kSection, "Symmetry", 0};
inline constexpr IntSetting kFilledSetting{kSection, "Filled Shapes", 0};
inline constexpr IntSetting kToleranceSetting{kSection, "Fill Tolerance", 0};
inline constexpr IntSetting kContiguousSetting{kSection, "Contiguous Fill", 1};
inline constexpr IntSetting kMaskSetting{kSection, "Mask To Selection", 0};
inline constexpr IntSetting kTiledSetting{kSection, "Tiled Skin View", 0};

int Clamped(const Profile& profile, const IntSetting& s, int low, int high) {
  return std::clamp(profile.Get(s), low, high);
}

}  // namespace

void ReadPaintSettings(const Profile& profile, EditorState& editor) {
  editor.skinTool = static_cast<SkinTool>(Clamped(profile, kToolSetting, 0, static_cast<int>(SkinTool::LassoPixels)));
  editor.brushSize = Clamped(profile, kSizeSetting, 1, kMaxBrushSize);
  editor.brushShape = static_cast<BrushShape>(Clamped(profile, kShapeSetting, 0, 1));
  editor.ink = static_cast<PaintInk>(Clamped(profile, kInkSetting, 0, static_cast<int>(PaintInk::RampDown)));
  editor.symmetry = static_cast<Symmetry>(Clamped(profile, kSymmetrySetting, 0, static_cast<int>(Symmetry::ModelZ)));
  editor.shapeFilled = Clamped(profile, kFilledSetting, 0, 1) != 0;
  editor.fillTolerance = Clamped(profile, kToleranceSetting, 0, 442);
  editor.fillContiguous = Clamped(profile, kContiguousSetting, 0, 1) != 0;
  editor.maskToSelection = Clamped(profile, kMaskSetting, 0, 1) != 0;
  editor.tiledSkin = Clamped(profile, kTiledSetting, 0, 1) != 0;
}

void WritePaintSettings(Profile& profile, const EditorState& editor) {
  profile.Write(kToolSetting, static_cast<int>(editor.skinTool));
  profile.Write(kSizeSetting, editor.brushSize);
  profile.Write(kShapeSetting, static_cast<int>(editor.brushShape));
  profile.Write(kInkSetting, static_cast<int>(editor.ink));
  profile.Write(kSymmetrySetting, static_cast<int>(editor.symmetry));
  profile.Write(kFilledSetting, editor.shapeFilled ? 1 : 0);
  profile.Write(kToleranceSetting, editor.fillTolerance);
  profile.Write(kContiguousSetting, editor.fillContiguous ? 1 : 0);
  profile.Write(kMaskSetting, editor.maskToSelection ? 1 : 0);
  profile.Write(kTiledSetting, editor.tiledSkin ? 1 : 0);
}
