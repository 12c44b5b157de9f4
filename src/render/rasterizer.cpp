// Lifetime, frame set-up and the checks of the callers' promises.

#include "render/rasterizer.h"

#include "render/rasterizer_span.h"

RasterTarget RasterTarget::Bytes(std::uint8_t* pixels, int width, int height) {
  RasterTarget target;
  target.FrameBuffer = pixels;
  target.Pitch = width;
  target.Rows = height < kRasterMaxRows ? height : kRasterMaxRows;
  target.ClipRight = width - 1;
  target.ClipBottom = target.Rows - 1;
  return target;
}

CRasterizer::CRasterizer() {
  for (int y = 0; y < kRasterMaxRows; ++y) {
    spanLeft_[y] = kSpanEmptyLeft;
    spanRight_[y] = kSpanEmptyRight;
  }
  for (int y = 0; y < kRasterMaxRows; ++y) {
    for (int k = 0; k < kRasterMaxAttributes; ++k) {
      leftAttr_[y][k] = 0;
      rightAttr_[y][k] = 0;
    }
  }
}

bool CRasterizer::DirectScanRuns() { return kDirectScanRuns; }

void CRasterizer::BeginFrame() {
  // Every filler empties the rows it filled, so only rows walked by a bare
  // ScanEdge since the last fill can still hold ends; they all lie between
  // scanTop_ and scanBottom_.
  for (std::int32_t y = scanTop_; y <= scanBottom_; ++y) {
    spanLeft_[y] = kSpanEmptyLeft;
    spanRight_[y] = kSpanEmptyRight;
  }
  spanTop_ = kSpanEmptyLeft;
  spanBottom_ = kSpanEmptyRight;
  scanTop_ = kSpanEmptyLeft;
  scanBottom_ = kSpanEmptyRight;
  blocks_.depth = nullptr;  // the next depth-tested triangle starts them again
}

void CRasterizer::BindTexture(const std::uint8_t* base, const std::int32_t* rows, int width,
                              int height) {
  textureBase_ = base;
  textureRows_ = rows;
  textureWidth_ = width;
  textureHeight_ = height;
  const std::size_t count = base && rows && height > 0 ? static_cast<std::size_t>(height) : 0;
  textureRowStarts_.resize(count);
  for (std::size_t v = 0; v < count; ++v) textureRowStarts_[v] = base + rows[v];
}

void CRasterizer::UnbindTexture() { BindTexture(nullptr, nullptr, 0, 0); }

bool CRasterizer::PrepareClip(const RasterTarget& target) {
  // Narrowing costs two comparisons per triangle and keeps a careless caller
  // from writing past the target or the row tables in a release build.
  std::int32_t right = target.ClipRight;
  if (right > target.Pitch - 1) right = target.Pitch - 1;
  std::int32_t bottom = target.ClipBottom;
  if (bottom > target.Rows - 1) bottom = target.Rows - 1;
  if (bottom > kRasterMaxRows - 1) bottom = kRasterMaxRows - 1;
  clipRight_ = right;
  clipBottom_ = bottom;
  return right >= 0 && bottom >= 0 && target.FrameBuffer != nullptr;
}

bool CRasterizer::TargetHonoursPromises(const RasterTarget& t) {
  return t.Pitch > 0 && t.Rows > 0 && t.Rows <= kRasterMaxRows && t.ClipRight >= 0 &&
         t.ClipRight <= t.Pitch - 1 && t.ClipBottom >= 0 && t.ClipBottom <= t.Rows - 1;
}

bool CRasterizer::PointInsideTarget(const RasterTarget& t, std::int32_t x, std::int32_t y) {
  return x >= 0 && x < t.Pitch && y >= 0 && y < t.Rows;
}

void CRasterizer::ScanEdge(const RasterTarget& target, const std::int32_t* a, const std::int32_t* b,
                           int attributes) {
  PrepareClip(target);
  assert(attributes >= 0 && attributes <= kRasterMaxAttributes);
  const auto inside = [this](const std::int32_t* p) {
    return p[0] >= 0 && p[0] <= clipRight_ && p[1] >= 0 && p[1] <= clipBottom_;
  };
  assert(inside(a) && inside(b));
  if (!inside(a) || !inside(b)) return;
  switch (attributes) {
    case 0: ScanEdgeN<0>(a, b); break;
    case 1: ScanEdgeN<1>(a, b); break;
    case 2: ScanEdgeN<2>(a, b); break;
    case 3: ScanEdgeN<3>(a, b); break;
    case 4: ScanEdgeN<4>(a, b); break;
    case 5: ScanEdgeN<5>(a, b); break;
    default: break;
  }
}
