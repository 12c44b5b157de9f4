#include "model/md2_load.h"

#include <algorithm>
#include <cmath>

#include "image/image_files.h"
#include "model/default_palette.h"
#include "platform/files.h"

namespace {

constexpr char kLoadErrorText[] = "There was an error loading the specified file!";
constexpr char kWrongSizeText[] = "Skin is of the wrong size....creating temporary skin.";
constexpr char kMissingSkinText[] = "External Skin does not exist....creating temporary skin.";
constexpr char kNoSkinsPromptText[] =
    "This MD2 has no internal skins, would you like to load from it's base folder?";
constexpr char kNoMatchingSkinsText[] = "There were no matching skins found at that location";
constexpr char kUnlightableText[] =
    "This MD2 is damaged: a frame places its vertices too far apart for its faces to be lit.";

// Positions can be finite and still so far apart that a face's cross
// product overflows: its normal, and every light value made from it, would
// not be a number.
bool EveryFaceNormalFinite(const Md2Data& data) {
  for (const Md2Frame& frame : data.frames)
    for (const Md2Triangle& tri : data.triangles) {
      float n[3] = {0, 0, 0};
      FaceNormalOf(frame.vertices[static_cast<std::size_t>(tri.vertexIndex[0])],
                   frame.vertices[static_cast<std::size_t>(tri.vertexIndex[1])],
                   frame.vertices[static_cast<std::size_t>(tri.vertexIndex[2])], n);
      if (!std::isfinite(n[0]) || !std::isfinite(n[1]) || !std::isfinite(n[2])) return false;
    }
  return true;
}

bool HasModelSkinSize(const Skin& skin, const Model& model) {
  return skin.width == model.skinWidth && skin.height == model.skinHeight;
}

// A file that is no readable image is worth a notice of its own; one that
// cannot be opened at all is not (a named skin's stand-in says it is missing).
void NoteUnreadable(const FileError& error, FileNotices& notices) {
  if (error.cause == 0) notices.push_back(error);
}

// The skins an MD2 names, read relative to the base folder; each one that
// cannot be used gets a stand-in so the model keeps its skin slots.
std::vector<std::unique_ptr<Skin>> LoadNamedSkins(Md2Context& c, const Md2Data& data, FileNotices& notices) {
  std::vector<std::unique_ptr<Skin>> skins;
  int width = data.header.skinWidth, height = data.header.skinHeight;
  for (const std::string& name : data.skinNames) {
    const std::string file = ResolvePathIn(c.baseFolder, name);
    auto loaded = LoadSkinImage(file);
    if (loaded && (*loaded)->width == width && (*loaded)->height == height) {
      (*loaded)->name = name;
      skins.push_back(std::move(*loaded));
      continue;
    }
    if (!loaded) NoteUnreadable(loaded.error(), notices);
    // The notice names the file the model asked for.
    notices.push_back(FileError{loaded ? kWrongSizeText : kMissingSkinText, 0, file});
    skins.push_back(MakeTemporarySkin(name, c.baseFolder, width, height, c.palettePath));
  }
  return skins;
}

}  // namespace

std::unique_ptr<Skin> MakeTemporarySkin(const std::string& name, const std::string& baseFolder, int width,
                                        int height, const std::string& palettePath) {
  auto skin = std::make_unique<Skin>();
  skin->name = name;
  skin->path = baseFolder + "/" + name;
  skin->flags = 0;
  skin->hasFile = 0;
  width = std::max(width, 0);
  height = std::max(height, 0);
  skin->width = static_cast<std::int16_t>(width);
  skin->height = static_cast<std::int16_t>(height);
  LoadDefaultPalette(palettePath, baseFolder, skin->palette);
  skin->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      skin->pixels[static_cast<std::size_t>(y) * width + x] = ((x & 4) == (y & 4)) ? 63 : 191;
  skin->storedPixels = skin->pixels;
  ComputeRowOffsets(skin.get());
  return skin;
}

void CommitMd2(Model& model, const Md2Data& data) {
  const Md2Header& h = data.header;
  model.frames.clear();  // before the count, which would resize the old frames
  model.SetVertexCount(h.numXyz);
  model.SetMapVertexCount(static_cast<std::int16_t>(h.numSt));
  model.SetTriangleCount(static_cast<std::int16_t>(h.numTris));
  model.skinWidth = static_cast<std::int16_t>(h.skinWidth);
  model.skinHeight = static_cast<std::int16_t>(h.skinHeight);

  std::copy(data.mapVertices.begin(), data.mapVertices.end(), model.mapVertices.begin());
  for (std::size_t i = 0; i < data.triangles.size(); ++i) {
    Triangle tri;  // flags clear, no normal left over from the last model
    std::copy(data.triangles[i].vertexIndex, data.triangles[i].vertexIndex + 3, tri.vertexIndex);
    std::copy(data.triangles[i].mapIndex, data.triangles[i].mapIndex + 3, tri.mapIndex);
    model.triangles[i] = tri;
  }
  model.StoreMapping();
  // The weld renumbered the mapping vertices: an old selection means nothing.
  std::fill(model.mapVertexSelected.begin(), model.mapVertexSelected.end(), 0);

  for (const Md2Frame& source : data.frames) {
    auto frame = std::make_unique<Frame>(model.VertexCount());
    frame->name = source.name;
    std::copy_n(source.vertices.begin(), std::min(source.vertices.size(), frame->vertices.size()),
                frame->vertices.begin());
    model.frames.push_back(std::move(frame));
  }
  model.currentFrameIndex = 0;

  model.skins.clear();
  model.currentSkinIndex = 0;
}

FileResult<FileNotices> LoadMd2(Md2Context& c, const std::string& path) {
  const std::string file = ResolvePathIn(c.baseFolder, path);
  int cause = 0;
  auto bytes = ReadFileBytes(file, &cause, kMaxMd2FileBytes);
  if (!bytes) {
    FileError failure = LoadFailure(file, cause);
    failure.text = kLoadErrorText + ("\n" + failure.text);
    return failure;
  }
  std::string error;
  auto data = ParseMd2(*bytes, &error);
  if (!data) return FileError{error, 0, file};
  if (!EveryFaceNormalFinite(*data)) return FileError{kUnlightableText, 0, file};
  // Everything that can fail has been checked; from here on the load goes
  // through, so the old model is only now replaced.
  FileNotices notices;
  auto skins = LoadNamedSkins(c, *data, notices);
  Model& m = c.model;
  CommitMd2(m, *data);
  m.skins = std::move(skins);
  c.md2Image = std::move(*bytes);
  m.modelLoaded = 1;

  if (data->skinNames.empty()) {
    bool scan = c.skinScan == SkinScan::Always;
    if (c.skinScan == SkinScan::Ask && c.ask) scan = c.ask(kNoSkinsPromptText);
    if (scan) {
      FileNotices found = ScanFolderForSkins(m, c.baseFolder, FolderPart(AbsolutePath(file)));
      notices.insert(notices.end(), found.begin(), found.end());
    }
  }
  if (m.skins.empty()) {
    m.currentSkinIndex = -1;
  } else {
    m.currentSkinIndex = 0;
  }

  m.ComputeFaceNormals();
  return notices;
}

FileNotices ScanFolderForSkins(Model& model, const std::string& baseFolder, const std::string& folder) {
  std::string where = AbsolutePath(folder.empty() ? baseFolder : ResolvePathIn(baseFolder, folder));
  bool added = false;
  FileNotices notices;
  for (const char* pattern : {"*.PCX", "*.BMP"}) {
    auto files = FindFiles(where, pattern);
    for (const std::string& file : files) {
      auto loaded = LoadSkinImage(file);
      if (!loaded) {
        NoteUnreadable(loaded.error(), notices);
        continue;
      }
      std::unique_ptr<Skin> skin = std::move(*loaded);
      if (!HasModelSkinSize(*skin, model)) continue;
      skin->name = skin->path;
      skin->flags |= SKIN_EXTERNAL;
      model.skins.push_back(std::move(skin));
      added = true;
    }
  }
  if (!added) notices.push_back(FileError{kNoMatchingSkinsText});
  return notices;
}

FileResult<bool> SaveMd2(Md2Context& c, const std::string& path) {
  if (!c.model.modelLoaded || c.md2Image.empty()) return false;
  const std::string file = PathIn(c.baseFolder, path);
  std::string error;
  std::vector<std::uint8_t> bytes = EncodeMd2(c.model, c.md2Image, &error);
  if (bytes.empty()) return FileError{error, 0, file};
  if (int cause = WriteFileAtomic(file, bytes); cause != 0) return SaveFailure(file, cause);
  return true;
}
