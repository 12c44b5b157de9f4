// Lifetime, frame set-up and the checks of the callers' promises.

#include "render/rasterizer.h"

#include "render/rasterizer_span.h"

CRasterizer::CRasterizer() {
  for (int y = 0; y < kRasterMaxRows; ++y) {
    SpanLeft[y] = kSpanEmptyLeft;
    SpanRight[y] = kSpanEmptyRight;
  }
  for (int y = 0; y < kRasterMaxRows; ++y) {
    for (int k = 0; k < kRasterMaxAttributes; ++k) {
      leftAttr_[y][k] = 0;
      rightAttr_[y][k] = 0;
    }
  }
}

void CRasterizer::BeginFrame() {
  assert(Rows <= kRasterMaxRows);
  const int rows = Rows < kRasterMaxRows ? Rows : kRasterMaxRows;
  for (int y = 0; y < rows; ++y) {
    SpanLeft[y] = kSpanEmptyLeft;
    SpanRight[y] = kSpanEmptyRight;
  }
  SpanTop = kSpanEmptyLeft;
  SpanBottom = kSpanEmptyRight;
  scanTop_ = kSpanEmptyLeft;
  scanBottom_ = kSpanEmptyRight;
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

bool CRasterizer::PrepareClip() {
  // Narrowing costs two comparisons per triangle and keeps a careless caller
  // from writing past the target or the row tables in a release build.
  std::int32_t right = ClipRight;
  if (right > Pitch - 1) right = Pitch - 1;
  std::int32_t bottom = ClipBottom;
  if (bottom > Rows - 1) bottom = Rows - 1;
  if (bottom > kRasterMaxRows - 1) bottom = kRasterMaxRows - 1;
  clipRight_ = right;
  clipBottom_ = bottom;
  return right >= 0 && bottom >= 0 && FrameBuffer != nullptr;
}

bool CRasterizer::TargetHonoursPromises() const {
  return Pitch > 0 && Rows > 0 && Rows <= kRasterMaxRows && ClipRight >= 0 &&
         ClipRight <= Pitch - 1 && ClipBottom >= 0 && ClipBottom <= Rows - 1;
}

bool CRasterizer::PointInsideTarget(std::int32_t x, std::int32_t y) const {
  return x >= 0 && x < Pitch && y >= 0 && y < Rows;
}

void CRasterizer::ScanEdge(const std::int32_t* a, const std::int32_t* b, int attributes) {
  PrepareClip();
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
