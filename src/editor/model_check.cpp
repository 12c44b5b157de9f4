#include "editor/model_check.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

#include "image/image_files.h"
#include "model/md2_file.h"
#include "model/model.h"
#include "platform/files.h"

namespace {

// What the game itself takes; the same figures the Model Stats dialog shows
// beside the counts.
constexpr int kGameMaxVertices = 2048;
constexpr int kGameMaxMapVertices = 2048;
constexpr int kGameMaxTriangles = 4096;
constexpr int kGameMaxFrames = 512;
constexpr int kGameMaxSkins = 32;
constexpr int kGameMaxSkinWidth = 640;
constexpr int kGameMaxSkinHeight = 480;

// Long lists are cut: the count says how many there are.
std::string ListText(const std::vector<int>& items) {
  constexpr std::size_t kShown = 8;
  std::string text;
  for (std::size_t i = 0; i < items.size() && i < kShown; ++i) text += (i ? ", " : "") + std::to_string(items[i]);
  if (items.size() > kShown) text += ", ...";
  return text;
}

std::string CountText(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

void AddList(std::vector<CheckFinding>& out, CheckKind kind, std::vector<int> items, const char* one, const char* many,
             const std::string& what) {
  if (items.empty()) return;
  std::string text = CountText(items.size(), one, many) + " " + what + ": " + ListText(items);
  out.push_back({kind, std::move(text), std::move(items)});
}

float FloatAt(std::span<const std::uint8_t> b, std::size_t at) {
  std::uint32_t v = std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
                    std::uint32_t{b[at + 3]} << 24;
  return std::bit_cast<float>(v);
}

void CheckSkins(const Md2Data& data, const std::string& baseFolder, std::vector<CheckFinding>& out) {
  const int width = data.header.skinWidth, height = data.header.skinHeight;
  for (std::size_t i = 0; i < data.skinNames.size(); ++i) {
    const std::string& name = data.skinNames[i];
    auto loaded = LoadSkinImage(ResolvePathIn(baseFolder, name));
    const int index = static_cast<int>(i);
    if (!loaded) {
      out.push_back(
          {CheckKind::SkinMissing, "skin " + std::to_string(i) + " \"" + name + "\" cannot be read", {index}});
    } else if ((*loaded)->width != width || (*loaded)->height != height) {
      out.push_back({CheckKind::SkinSize,
                     "skin " + std::to_string(i) + " \"" + name + "\" is " + std::to_string((*loaded)->width) + "x" +
                         std::to_string((*loaded)->height) + ", the model's skins are " + std::to_string(width) + "x" +
                         std::to_string(height),
                     {index}});
    }
  }
}

bool HasArea(const Md2Data& data, const Md2Triangle& tri) {
  for (const Md2Frame& frame : data.frames) {
    float normal[3];
    if (FaceNormalOf(frame.vertices[static_cast<std::size_t>(tri.vertexIndex[0])],
                     frame.vertices[static_cast<std::size_t>(tri.vertexIndex[1])],
                     frame.vertices[static_cast<std::size_t>(tri.vertexIndex[2])], normal))
      return true;
  }
  return false;
}

// The corners turned so the smallest vertex comes first: the same triangle
// whichever corner it starts at, while the other turn (its back) differs.
std::array<int, 3> CornerKey(const Md2Triangle& tri) {
  std::array<int, 3> c = {tri.vertexIndex[0], tri.vertexIndex[1], tri.vertexIndex[2]};
  const auto first = std::min_element(c.begin(), c.end()) - c.begin();
  std::rotate(c.begin(), c.begin() + first, c.end());
  return c;
}

void CheckTriangles(const Md2Data& data, std::vector<CheckFinding>& out) {
  const int skinWidth = data.header.skinWidth, skinHeight = data.header.skinHeight;
  std::vector<int> outside;
  for (std::size_t i = 0; i < data.mapVertices.size(); ++i) {
    const MapVertex& m = data.mapVertices[i];
    if (m.s < 0 || m.s > skinWidth || m.t < 0 || m.t > skinHeight) outside.push_back(static_cast<int>(i));
  }
  AddList(out, CheckKind::MapOutside, std::move(outside), "mapping vertex", "mapping vertices",
          "lie outside the " + std::to_string(skinWidth) + "x" + std::to_string(skinHeight) + " skin");

  std::vector<int> degenerate, duplicate;
  std::map<std::array<int, 3>, int> seen;
  for (std::size_t i = 0; i < data.triangles.size(); ++i) {
    const Md2Triangle& tri = data.triangles[i];
    if (!HasArea(data, tri)) degenerate.push_back(static_cast<int>(i));
    if (!seen.emplace(CornerKey(tri), static_cast<int>(i)).second) duplicate.push_back(static_cast<int>(i));
  }
  AddList(out, CheckKind::DegenerateTriangle, std::move(degenerate), "triangle", "triangles",
          "have no area in any frame");
  AddList(out, CheckKind::DuplicateTriangle, std::move(duplicate), "triangle", "triangles",
          "repeat the corners of an earlier one");
}

void CheckUnused(const Md2Data& data, std::vector<CheckFinding>& out) {
  std::vector<bool> vertexUsed(static_cast<std::size_t>(data.header.numXyz));
  std::vector<bool> mapUsed(data.mapVertices.size());
  for (const Md2Triangle& tri : data.triangles)
    for (int k = 0; k < 3; ++k) {
      vertexUsed[static_cast<std::size_t>(tri.vertexIndex[k])] = true;
      mapUsed[static_cast<std::size_t>(tri.mapIndex[k])] = true;
    }
  auto unused = [](const std::vector<bool>& used) {
    std::vector<int> items;
    for (std::size_t i = 0; i < used.size(); ++i)
      if (!used[i]) items.push_back(static_cast<int>(i));
    return items;
  };
  AddList(out, CheckKind::UnusedVertex, unused(vertexUsed), "vertex", "vertices", "are named by no triangle");
  AddList(out, CheckKind::UnusedMapVertex, unused(mapUsed), "mapping vertex", "mapping vertices",
          "are named by no triangle");
}

// The game culls a model by the box a frame's scale and translation span
// (translate to translate + 255 x scale): a negative scale turns the box
// inside out, and stored bytes that do not reach both ends of an axis give
// away precision the format has.
void CheckFrames(std::span<const std::uint8_t> bytes, const Md2Data& data, std::vector<CheckFinding>& out) {
  const Md2Header& h = data.header;
  const std::size_t record = 40 + 4 * static_cast<std::size_t>(h.numXyz);
  std::vector<int> inverted, loose;
  for (int f = 0; f < h.numFrames; ++f) {
    const std::size_t at = static_cast<std::size_t>(h.ofsFrames) + record * static_cast<std::size_t>(f);
    bool isInverted = false, isLoose = false;
    for (int a = 0; a < 3; ++a) {
      const float scale = FloatAt(bytes, at + 4 * static_cast<std::size_t>(a));
      if (!(scale >= 0)) isInverted = true;
      int lo = 255, hi = 0;
      for (int v = 0; v < h.numXyz; ++v) {
        const int b = bytes[at + 40 + 4 * static_cast<std::size_t>(v) + static_cast<std::size_t>(a)];
        lo = std::min(lo, b);
        hi = std::max(hi, b);
      }
      if (h.numXyz > 0 && hi > lo && (lo != 0 || hi != 255)) isLoose = true;
    }
    if (isInverted)
      inverted.push_back(f);
    else if (isLoose)
      loose.push_back(f);
  }
  AddList(out, CheckKind::FrameBounds, std::move(inverted), "frame", "frames",
          "have a negative scale, so their bounds are inside out");
  AddList(out, CheckKind::FrameBounds, std::move(loose), "frame", "frames",
          "have bounds larger than their vertices (the stored bytes do not span 0..255)");
}

void CheckLimits(const Md2Data& data, std::vector<CheckFinding>& out) {
  const Md2Header& h = data.header;
  const struct {
    const char* what;
    int count, limit;
  } rows[] = {
      {"vertices", h.numXyz, kGameMaxVertices},
      {"mapping vertices", h.numSt, kGameMaxMapVertices},
      {"triangles", h.numTris, kGameMaxTriangles},
      {"frames", h.numFrames, kGameMaxFrames},
      {"skins", h.numSkins, kGameMaxSkins},
      {"the skin width", h.skinWidth, kGameMaxSkinWidth},
      {"the skin height", h.skinHeight, kGameMaxSkinHeight},
  };
  for (const auto& row : rows)
    if (row.count > row.limit)
      out.push_back({CheckKind::Limit,
                     std::string(row.what) + ": " + std::to_string(row.count) + ", beyond the game's " +
                         std::to_string(row.limit),
                     {}});
}

// Old index to new one, -1 for a dropped entry.
std::vector<int> Renumbering(const std::vector<bool>& used) {
  std::vector<int> to(used.size(), -1);
  int next = 0;
  for (std::size_t i = 0; i < used.size(); ++i)
    if (used[i]) to[i] = next++;
  return to;
}

}  // namespace

const char* CheckKindName(CheckKind kind) {
  switch (kind) {
    case CheckKind::SkinMissing:
      return "skin-missing";
    case CheckKind::SkinSize:
      return "skin-size";
    case CheckKind::MapOutside:
      return "map-outside";
    case CheckKind::DegenerateTriangle:
      return "degenerate-triangle";
    case CheckKind::DuplicateTriangle:
      return "duplicate-triangle";
    case CheckKind::UnusedVertex:
      return "unused-vertex";
    case CheckKind::UnusedMapVertex:
      return "unused-map-vertex";
    case CheckKind::FrameBounds:
      return "frame-bounds";
    case CheckKind::Limit:
      return "limit";
  }
  return "";
}

std::optional<std::vector<CheckFinding>> CheckMd2(std::span<const std::uint8_t> bytes, const std::string& baseFolder,
                                                  std::string* error) {
  auto data = ParseMd2(bytes, error);
  if (!data) return std::nullopt;
  std::vector<CheckFinding> out;
  CheckSkins(*data, baseFolder, out);
  CheckTriangles(*data, out);
  CheckUnused(*data, out);
  CheckFrames(bytes, *data, out);
  CheckLimits(*data, out);
  return out;
}

std::vector<std::uint8_t> RepairMd2(std::span<const std::uint8_t> bytes, std::string* error) {
  auto data = ParseMd2(bytes, error);
  if (!data) return {};
  const Md2Header& h = data->header;
  std::vector<bool> vertexUsed(static_cast<std::size_t>(h.numXyz)), mapUsed(data->mapVertices.size());
  for (const Md2Triangle& tri : data->triangles)
    for (int k = 0; k < 3; ++k) {
      vertexUsed[static_cast<std::size_t>(tri.vertexIndex[k])] = true;
      mapUsed[static_cast<std::size_t>(tri.mapIndex[k])] = true;
    }
  const std::vector<int> vertexTo = Renumbering(vertexUsed), mapTo = Renumbering(mapUsed);
  const int keptVertices = static_cast<int>(std::count(vertexUsed.begin(), vertexUsed.end(), true));

  // The writer copies the frame records from the file it is given: hand it
  // a header and the records with the dropped vertices cut out, keeping
  // whatever a record holds past its vertices.
  const std::size_t dropped = 4 * static_cast<std::size_t>(h.numXyz - keptVertices);
  const std::size_t oldSize = h.numFrames > 0 ? static_cast<std::size_t>(h.frameSize) : 0;
  const std::size_t newSize = oldSize > dropped ? oldSize - dropped : 0;
  std::vector<std::uint8_t> frames(bytes.begin(), bytes.begin() + kMd2HeaderSize);
  const auto putInt = [&frames](std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i) frames[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  putInt(16, static_cast<std::int32_t>(newSize));  // frameSize
  putInt(56, kMd2HeaderSize);                      // ofsFrames
  for (int f = 0; f < h.numFrames; ++f) {
    const auto record = bytes.begin() + h.ofsFrames + static_cast<std::ptrdiff_t>(oldSize) * f;
    frames.insert(frames.end(), record, record + 40);
    for (int v = 0; v < h.numXyz; ++v)
      if (vertexUsed[static_cast<std::size_t>(v)])
        frames.insert(frames.end(), record + 40 + 4 * v, record + 44 + 4 * v);
    frames.insert(frames.end(), record + 40 + 4 * h.numXyz, record + static_cast<std::ptrdiff_t>(oldSize));
  }

  Model model;
  model.skinWidth = static_cast<std::int16_t>(h.skinWidth);
  model.skinHeight = static_cast<std::int16_t>(h.skinHeight);
  model.SetVertexCount(keptVertices);
  model.SetTriangleCount(static_cast<std::int16_t>(h.numTris));
  for (std::size_t i = 0; i < data->mapVertices.size(); ++i)
    if (mapUsed[i]) model.mapVertices.push_back(data->mapVertices[i]);
  model.SetMapVertexCount(model.MapVertexCount());
  for (std::size_t i = 0; i < data->triangles.size(); ++i) {
    Triangle& tri = model.triangles[i];
    for (int k = 0; k < 3; ++k) {
      tri.vertexIndex[k] =
          static_cast<std::int16_t>(vertexTo[static_cast<std::size_t>(data->triangles[i].vertexIndex[k])]);
      tri.mapIndex[k] = static_cast<std::int16_t>(mapTo[static_cast<std::size_t>(data->triangles[i].mapIndex[k])]);
    }
  }
  // Only the count of frames is read from the model: the records come from
  // the bytes above.
  model.frames.resize(data->frames.size());
  for (const std::string& name : data->skinNames) {
    auto skin = std::make_unique<Skin>();
    skin->name = name;
    model.skins.push_back(std::move(skin));
  }
  return EncodeMd2(model, frames, error);
}
