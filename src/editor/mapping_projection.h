#pragma once
// Curved and boxed projections of the selected triangles into the mapping
// frame, beside the flat one of Map from 3D View: round an axis (cylinder),
// round a centre (sphere) or onto the six sides of a box.

#include <optional>
#include <string>

#include "editor/document_ops.h"
#include "editor/editor_state.h"
#include "model/model.h"
#include "render/viewport.h"

enum class ProjectionShape { Cylinder, Sphere, Box };
// The axis the projection turns round (the box: the axes it is square to).
// View: the 3D view's up direction, the box square to the screen.
enum class ProjectionAxis { X, Y, Z, View };

struct ProjectionOptions {
  ProjectionShape shape = ProjectionShape::Cylinder;
  ProjectionAxis axis = ProjectionAxis::View;
  bool noBackfaces = false;  // only triangles facing the 3D view's camera
};

// "x", "y", "z" or "view".
std::optional<ProjectionAxis> ProjectionAxisNamed(const std::string& name);
// The menu's and the undo step's name: "Cylinder Projection", ...
const char* ProjectionName(ProjectionShape shape);

// Projects the visible selected triangles of the current frame and fits
// the result into `frame` keeping its proportions. Round the axis the seam
// lies opposite the camera, and a triangle across it keeps its corners on
// one side rather than spanning the frame. With `snapToGrid` every corner
// lands on a whole texel. False, nothing changed, without a current frame
// or a triangle to project.
bool ProjectSelected(Model& model, const Viewport& view, const MappingFrame& frame, const ProjectionOptions& options,
                     bool snapToGrid);

// As the menu runs it: its own undo step, named after the shape.
OpResult ProjectSelectedMapping(Document& document, const Viewport& view, const EditorState& editor,
                                const ProjectionOptions& options);
