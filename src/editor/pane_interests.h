#pragma once
// Which changes each pane draws from: a change outside a pane's interests
// leaves its picture as it is.

#include "editor/change_notices.h"

constexpr unsigned kSkinViewInterests = kMeshChanged | kMappingChanged | kSelectionChanged | kSkinPixelsChanged |
                                        kSkinListChanged | kPaletteChanged | kSlotsChanged | kLookChanged |
                                        kSkinViewChanged;
constexpr unsigned kModelViewInterests = kMeshChanged | kMappingChanged | kSelectionChanged | kSkinPixelsChanged |
                                         kSkinListChanged | kPaletteChanged | kFrameChanged | kCameraChanged |
                                         kSlotsChanged | kLightChanged | kLookChanged | kCompanionChanged;
// The strip shows the current skin's palette and the slots' marks.
constexpr unsigned kPaletteStripInterests = kSkinListChanged | kPaletteChanged | kActiveColourChanged;
// The strip shows the paint strength and the light curve's exponent; it
// draws its own drags itself.
constexpr unsigned kGradientStripInterests = kBrushChanged;
