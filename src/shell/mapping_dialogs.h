#pragma once
// The Mapping menu's dialogs, answered by the front end (or a script in
// tests): the options on OK, nothing on Cancel. "Map from 3D View" opens
// with "Perspective" chosen and every box clear; the projections with the
// view's axis; Pack Islands with a margin of 2 texels and no turning.

#include <optional>

#include "editor/mapping_islands.h"
#include "editor/mapping_ops.h"
#include "editor/mapping_projection.h"

class MappingDialogs {
 public:
  virtual ~MappingDialogs() = default;
  virtual std::optional<MapFrom3DViewOptions> AskMapFrom3DView() = 0;
  // Front ends without these dialogs take what they open with.
  virtual std::optional<ProjectionOptions> AskProjection(ProjectionShape shape) {
    ProjectionOptions options;
    options.shape = shape;
    return options;
  }
  virtual std::optional<PackIslandsOptions> AskPackIslands() { return PackIslandsOptions{}; }
};
