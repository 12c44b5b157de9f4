#pragma once
// The "Map from 3D View" dialog, answered by the front end (or a script in
// tests): the options on OK, nothing on Cancel. It opens with
// "Perspective" chosen and every box clear.

#include <optional>

#include "editor/mapping_ops.h"

class MappingDialogs {
 public:
  virtual ~MappingDialogs() = default;
  virtual std::optional<MapFrom3DViewOptions> AskMapFrom3DView() = 0;
};
