#pragma once
// The ten ways the 3D view draws the model. Each mode turns the model, its
// companions, the camera and the light into the viewport's 8-bit picture,
// depth and per-pixel tags, and owns the palette the picture is shown with.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/skin.h"
#include "platform/file_error.h"
#include "render/render_context.h"

class ThreadPool;
class Ui;

// A rectangle of the viewport's buffers: columns left..right, buffer rows
// top..bottom (row 0 the picture's bottom line); empty when right < left.
struct ViewArea {
  int left = 0, top = 0, right = -1, bottom = -1;
  bool empty() const { return right < left || bottom < top; }
};
ViewArea Union(const ViewArea& a, const ViewArea& b);

// What a render left outside the model's area, so that the next render of
// the same picture need clear only where the model was and now is. Kept
// by the one view that redraws its buffers frame after frame; a render of
// other buffers, size, background, mode or overlay clears them whole.
struct KeptClear {
  bool enabled = false;  // off: every render clears the whole picture
  bool valid = false;
  const void* mode = nullptr;
  const std::uint8_t* frame = nullptr;
  const std::uint16_t* depth = nullptr;
  const std::int32_t* tags = nullptr;
  int width = 0, height = 0;
  std::uint8_t background = 0;
  int guide = -1;        // the trackball guide's colour, -1 without
  bool tagsClean = false;  // tags outside `drawn` are all -1
  ViewArea drawn;        // where the last render drew anything but background
  // What the last render changed: the whole picture, or `changed` alone.
  bool changedWhole = true;
  ViewArea changed;
  void Forget() { valid = false; }
};

constexpr int kNumRenderModes = 10;
constexpr int kTexturedModeIndex = 5;  // the mode the program starts in

enum RenderModeIndex : int {
  MODE_WIREFRAME = 0,
  MODE_WIREFRAME_SOLID = 1,
  MODE_FLAT = 2,
  MODE_GOURAUD = 3,
  MODE_PHONG = 4,
  MODE_TEXTURED = 5,
  MODE_ENVIRONMENT = 6,
  MODE_TEXTURED_F = 7,
  MODE_TEXTURED_G = 8,
  MODE_TEXTURED_P = 9,
};

// True for the three modes that need the colormap and lightLevels (7..9).
inline bool IsLitTexturedIndex(int index) { return index >= 7 && index <= 9; }

class RenderMode {
 public:
  virtual ~RenderMode() = default;

  // kind is a RedrawKind; flags (the refresh bits above the pane bits) are
  // not used by any mode. Reads and writes through `context`, which the
  // caller points at its state first.
  virtual void Render(int kind, int flags) = 0;
  virtual const char* GetName() const = 0;
  // 1 when a left drag in the 3D view paints on the model.
  virtual int IsTextured() const { return 0; }

  const RenderContext* context = nullptr;
  Palette palette{};  // rewritten by every Render call
  KeptClear* kept = nullptr;  // set by RenderModes for each call
  // Triangles wholly behind what is drawn already are passed over; the
  // picture is the same either way.
  bool skipHidden = true;
};

// The ten modes in their fixed order, the current index and the resources
// only the lit textured modes hold.
class RenderModes {
 public:
  RenderModes();
  ~RenderModes();
  RenderModes(const RenderModes&) = delete;
  RenderModes& operator=(const RenderModes&) = delete;

  RenderMode& operator[](int index) { return *modes_[static_cast<std::size_t>(index)]; }
  const RenderMode& operator[](int index) const { return *modes_[static_cast<std::size_t>(index)]; }
  RenderMode& Current() { return (*this)[renderModeIndex]; }
  const RenderMode& Current() const { return (*this)[renderModeIndex]; }

  // Renders the current mode over a copy of `context` in which a null
  // colormap, priority or bands is taken from this object.
  void Render(const RenderContext& context, int kind, int flags);

  // The threads a render is drawn on, the caller counted: 0 (the default)
  // one per core. The threads start with the first render that wants them.
  void SetThreads(int threads);
  int Threads() const;
  // The threads' pool, started if need be, for other work between renders
  // (the picture's way to the window); null with one thread.
  ThreadPool* Pool();
  // The pool with a rasterizer for every band past the first, started if
  // need be; null with one thread.
  RenderBands* Bands();

  int renderModeIndex = kTexturedModeIndex;
  // Rows of the colormap image (kColormapRows x 256 bytes kept), held only
  // while a lit textured mode is current; empty otherwise.
  std::vector<std::uint8_t> colormap;
  RenderPriority priority;
  // Clearing only where the model was and is; off unless a view turns it on.
  KeptClear kept;

 private:
  std::array<std::unique_ptr<RenderMode>, kNumRenderModes> modes_;
  RenderContext context_;
  int threads_ = 0;
  std::unique_ptr<RenderBands> bands_;
};

// The mode objects by index; the ten names in order.
std::unique_ptr<RenderMode> MakeRenderMode(int index);
const char* RenderModeName(int index);
// The index of a mode name (exact) or -1.
int FindRenderMode(const char* name);

// The colormap file of the lit textured modes: the chosen palette file (a
// relative path below `baseFolder`), or with none chosen (empty) the base
// folder's pics/colormap.pcx.
std::string ColormapPath(const std::string& palettePath, const std::string& baseFolder);

// Availability test and resource switch before the mode changes from
// oldIndex to newIndex. On failure the message of the first unmet need is
// shown and 0 returned, nothing changed. On success the colormap and the
// viewport's lightLevels are released when leaving a lit textured mode and
// loaded (from ColormapPath(palettePath, baseFolder)) and allocated when
// entering one, and 1 returned. It does not change renderModeIndex: the
// caller does.
int CheckRenderMode(RenderModes& modes, const Model& model, Viewport& viewport, Ui& ui,
                    const std::string& palettePath, const std::string& baseFolder, int oldIndex, int newIndex);

// The colormap's light rows from an image file: the first kColormapRows
// rows of 256 pixels. False (out untouched) when the file cannot be read or
// is smaller than that; a file that is no readable image adds its failure to
// `notices` for the caller to show.
bool LoadColormap(const std::string& path, std::vector<std::uint8_t>& out, FileNotices* notices = nullptr);

inline constexpr char kPhongUnavailableText[] =
    "Phong Shading is not available if there are no phong maps loaded.";
inline constexpr char kTexturedUnavailableText[] =
    "Textured Mode is not available if there are no skins loaded.";
inline constexpr char kEnvUnavailableText[] =
    "Environment Mapping is not available if there are no env-maps loaded.";
inline constexpr char kTexFNoSkinText[] = "Tex+F-Shaded is not available if there are no skins loaded.";
inline constexpr char kTexFColormapText[] =
    "The Colormap.pcx file needed for Tex+F-shaded mode is not set as the default palette under "
    "preferences!";
inline constexpr char kTexGNoSkinText[] = "Tex+G-Shaded is not available if there are no skins loaded.";
inline constexpr char kTexGColormapText[] =
    "The Colormap.pcx file needed for Tex+G-shaded mode is not set as the default palette under "
    "preferences!";
inline constexpr char kTexPNoSkinText[] = "Tex+P-Shaded is not available if there are no skins loaded.";
inline constexpr char kTexPNoPhongText[] =
    "Tex+P-Shaded is not available if there are no phong maps loaded.";
inline constexpr char kTexPColormapText[] =
    "The Colormap.pcx file needed for Tex+P-shaded mode is not set as the default palette under "
    "preferences!";
