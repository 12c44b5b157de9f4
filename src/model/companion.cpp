#include "model/companion.h"

#include <algorithm>
#include <cstring>

#include "image/image_files.h"
#include "model/md2_file.h"
#include "platform/files.h"

namespace {

constexpr char kNotCompanionMd2Text[] = "This companion is not an MD2!";
constexpr char kCompanionUnreadableText[] = "The companion could not be opened.\n";

void RebuildRowOffsets(Companion& c) {
  c.rowOffset.resize(c.skinHeight > 0 ? c.skinHeight : 0);
  for (int y = 0; y < static_cast<int>(c.rowOffset.size()); ++y) c.rowOffset[y] = y * c.skinWidth;
}

std::size_t SkinArea(const Companion& c) {
  return static_cast<std::size_t>(c.skinWidth) * static_cast<std::size_t>(c.skinHeight);
}

// The skin the file names (below the base folder), when it exists and has
// the companion's size. One that cannot be opened is passed over quietly:
// the caller offers another.
void TakeNamedSkin(Companion& c, const std::string& storedName, const std::string& baseFolder,
                   FileNotices& notices) {
  auto loaded = LoadSkinImage(ResolvePathIn(baseFolder, storedName));
  if (!loaded) {
    if (loaded.error().cause == 0) notices.push_back(loaded.error());
    return;
  }
  const Skin& skin = **loaded;
  if (skin.width == c.skinWidth && skin.height == c.skinHeight && skin.pixels.size() == SkinArea(c))
    SetCompanionSkin(c, std::move((*loaded)->pixels));
}

}  // namespace

bool CompanionShown(const Companion& companion, int frameIndex) {
  return companion.hidden == 0 && frameIndex >= 0 && frameIndex < companion.numFrames &&
         companion.frameVertices.size() >=
             static_cast<std::size_t>(frameIndex + 1) * static_cast<std::size_t>(companion.numVertices);
}

FileResult<LoadedCompanion> LoadCompanion(const std::string& path, const std::string& baseFolder) {
  const std::string file = ResolvePathIn(baseFolder, path);
  int cause = 0;
  auto bytes = ReadFileBytes(file, &cause, kMaxMd2FileBytes);
  if (!bytes) return LoadFailure(file, cause);
  if (bytes->size() < 4 || std::memcmp(bytes->data(), "IDP2", 4) != 0)
    return FileError{kNotCompanionMd2Text, 0, file};
  std::string error;
  auto md2 = ParseMd2(*bytes, &error);
  const Md2Header* h = md2 ? &md2->header : nullptr;
  // The parse holds a file to the model's room; the companion record has
  // the same, checked again here so the two cannot drift apart silently.
  if (md2 && (h->skinWidth < 1 || h->skinHeight < 1 || h->skinWidth > kMaxCompanionSkinSide ||
              h->skinHeight > kMaxCompanionSkinSide || h->numTris > kMaxCompanionTriangles ||
              h->numXyz > kMaxCompanionVertices || md2->frames.size() > 32767)) {
    error = "Its skin size or counts are beyond what a companion can hold.";
    md2.reset();
  }
  if (!md2) {
    const std::string why = error.empty() ? std::string("This MD2 is damaged.") : error;
    return FileError{kCompanionUnreadableText + why, 0, file};
  }

  auto c = std::make_unique<Companion>();
  c->skinWidth = static_cast<std::int16_t>(h->skinWidth);
  c->skinHeight = static_cast<std::int16_t>(h->skinHeight);
  c->numVertices = static_cast<std::int16_t>(h->numXyz);
  c->numTriangles = static_cast<std::int16_t>(h->numTris);
  c->numMapVertices = static_cast<std::int16_t>(h->numSt);
  c->numFrames = static_cast<std::int16_t>(md2->frames.size());
  c->name = path;

  c->triangles.resize(md2->triangles.size());
  for (std::size_t t = 0; t < md2->triangles.size(); ++t) {
    const Md2Triangle& src = md2->triangles[t];
    CompanionTriangle& dst = c->triangles[t];
    for (int k = 0; k < 3; ++k) {
      dst.vertexIndex[k] = src.vertexIndex[k];
      const MapVertex& st = md2->mapVertices[src.mapIndex[k]];  // index checked by the parse
      dst.st[k][0] = static_cast<std::int16_t>(st.s);
      dst.st[k][1] = static_cast<std::int16_t>(st.t);
    }
  }

  c->frameVertices.resize(static_cast<std::size_t>(c->numFrames) * c->numVertices);
  for (int f = 0; f < c->numFrames; ++f) {
    const auto& verts = md2->frames[f].vertices;
    CompanionVertex* out = c->FrameVertices(f);
    for (int i = 0; i < c->numVertices && i < static_cast<int>(verts.size()); ++i) {
      out[i].x = verts[i].x;
      out[i].y = verts[i].y;
      out[i].z = verts[i].z;
    }
  }

  LoadedCompanion loaded{std::move(c), {}};
  if (!md2->skinNames.empty()) TakeNamedSkin(*loaded.companion, md2->skinNames[0], baseFolder, loaded.notices);
  return loaded;
}

void SetPlaceholderSkin(Companion& companion) {
  std::vector<std::uint8_t> pixels(SkinArea(companion));
  for (int y = 0; y < companion.skinHeight; ++y)
    for (int x = 0; x < companion.skinWidth; ++x)
      pixels[static_cast<std::size_t>(y) * companion.skinWidth + x] =
          ((x & 4) == (y & 4)) ? 64 : 192;
  SetCompanionSkin(companion, std::move(pixels));
}

void SetCompanionSkin(Companion& companion, std::vector<std::uint8_t> pixels) {
  companion.skinPixels = std::move(pixels);
  companion.skinPixels.resize(SkinArea(companion), 0);
  RebuildRowOffsets(companion);
}

void ComputeCompanionFaceNormals(Model& model) {
  if (!model.CurrentFrame()) return;
  int frame = model.currentFrameIndex;
  for (auto& comp : model.companions) {
    if (!CompanionShown(*comp, frame)) continue;
    const CompanionVertex* v = comp->FrameVertices(frame);
    for (auto& tri : comp->triangles) {
      Vec3 p[3];
      bool ok = true;
      for (int k = 0; k < 3 && ok; ++k) {
        int i = tri.vertexIndex[k];
        ok = i >= 0 && i < comp->numVertices;
        if (ok) p[k] = Vec3{v[i].x, v[i].y, v[i].z};
      }
      if (ok) FaceNormalOf(p[0], p[1], p[2], tri.faceNormal);
    }
  }
}
