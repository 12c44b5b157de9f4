#pragma once
// The 3D view's picture as an image record, top row first, in the palette
// of the current skin (grey without one) whatever the mode shows on screen.

#include <memory>

#include "image/skin.h"

class ModelView;
class Workspace;

// The picture last drawn, `width` x `height` pixels of it; or, with
// `custom`, a Full render at width x height into buffers of its own, after
// which the view has its own size and picture back. The custom picture
// shows all the view shows, scaled as one to fit the new size, and more
// around it where the shapes differ. Nothing when the view has no picture.
std::unique_ptr<Skin> TakeSnapshot(Workspace& workspace, ModelView& view, bool custom, int width, int height);
