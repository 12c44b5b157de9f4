#include "editor/mapping_stretch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "image/colour.h"
#include "render/rasterizer.h"

namespace {

bool Visible(const Triangle& t) { return (t.flags & TRI_HIDDEN) == 0; }

// A triangle's skin positions, false when a corner names no mapping vertex.
bool SkinCorners(const Model& m, const Triangle& t, std::array<MapVertex, 3>& q) {
  for (int k = 0; k < 3; ++k) {
    const int index = t.mapIndex[k];
    if (index < 0 || index >= static_cast<int>(m.mapVertices.size())) return false;
    q[static_cast<std::size_t>(k)] = m.mapVertices[static_cast<std::size_t>(index)];
    if (!std::isfinite(q[static_cast<std::size_t>(k)].s) || !std::isfinite(q[static_cast<std::size_t>(k)].t))
      return false;
  }
  return true;
}

bool ModelCorners(const Model& m, const Triangle& t, std::array<Vec3, 3>& p) {
  if (!m.CurrentFrame()) return false;
  const int vertices = m.VertexCount();
  for (int k = 0; k < 3; ++k) {
    if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= vertices) return false;
    p[static_cast<std::size_t>(k)] = m.CurrentFrame()[t.vertexIndex[k]];
  }
  return true;
}

// The two singular values of the map from the triangle's plane on the
// model onto the skin: texels per model unit along its most and least
// stretched directions. False for a triangle without area on the model.
bool Densities(const std::array<Vec3, 3>& p, const std::array<MapVertex, 3>& q, double& most, double& least) {
  const double ax = p[1].x - p[0].x, ay = p[1].y - p[0].y, az = p[1].z - p[0].z;
  const double bx = p[2].x - p[0].x, by = p[2].y - p[0].y, bz = p[2].z - p[0].z;
  const double x1 = std::sqrt(ax * ax + ay * ay + az * az);
  if (x1 <= 0) return false;
  const double x2 = (ax * bx + ay * by + az * bz) / x1;
  const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
  const double y2 = std::sqrt(nx * nx + ny * ny + nz * nz) / x1;
  if (y2 <= 0) return false;
  const double s1 = q[1].s - q[0].s, t1 = q[1].t - q[0].t, s2 = q[2].s - q[0].s, t2 = q[2].t - q[0].t;
  const double a = s1 / x1, b = (s2 * x1 - s1 * x2) / (x1 * y2);
  const double c = t1 / x1, d = (t2 * x1 - t1 * x2) / (x1 * y2);
  const double e = (a + d) / 2, f = (a - d) / 2, g = (c + b) / 2, h = (c - b) / 2;
  const double qq = std::sqrt(e * e + h * h), rr = std::sqrt(f * f + g * g);
  most = qq + rr;
  least = std::abs(qq - rr);
  return true;
}

double SkinArea(const std::array<MapVertex, 3>& q) {
  return (static_cast<double>(q[1].s) - q[0].s) * (static_cast<double>(q[2].t) - q[0].t) -
         (static_cast<double>(q[2].s) - q[0].s) * (static_cast<double>(q[1].t) - q[0].t);
}

double ModelArea(const std::array<Vec3, 3>& p) {
  const double ax = p[1].x - p[0].x, ay = p[1].y - p[0].y, az = p[1].z - p[0].z;
  const double bx = p[2].x - p[0].x, by = p[2].y - p[0].y, bz = p[2].z - p[0].z;
  const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
  return std::sqrt(nx * nx + ny * ny + nz * nz) / 2;
}

// Two skin triangles share inner area: no edge of either separates them by
// more than `slack` (so neighbours along an edge or a corner stay apart).
bool Overlap(const std::array<MapVertex, 3>& a, const std::array<MapVertex, 3>& b, double slack) {
  const std::array<MapVertex, 3>* tris[2] = {&a, &b};
  for (const auto* tri : tris)
    for (int k = 0; k < 3; ++k) {
      const MapVertex& p = (*tri)[static_cast<std::size_t>(k)];
      const MapVertex& n = (*tri)[static_cast<std::size_t>((k + 1) % 3)];
      const double ex = -(static_cast<double>(n.t) - p.t), ey = static_cast<double>(n.s) - p.s;
      const double len = std::hypot(ex, ey);
      if (len <= 0) continue;
      double lo[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
      double hi[2] = {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
      for (int w = 0; w < 2; ++w)
        for (const MapVertex& v : *tris[w]) {
          const double d = (v.s * ex + v.t * ey) / len;
          lo[w] = std::min(lo[w], d);
          hi[w] = std::max(hi[w], d);
        }
      if (hi[0] <= lo[1] + slack || hi[1] <= lo[0] + slack) return false;
    }
  return true;
}

// The same three skin positions, in any order.
bool SamePlace(const std::array<MapVertex, 3>& a, const std::array<MapVertex, 3>& b) {
  for (const MapVertex& p : a) {
    bool found = false;
    for (const MapVertex& q : b) found = found || (std::abs(p.s - q.s) < 0.01f && std::abs(p.t - q.t) < 0.01f);
    if (!found) return false;
  }
  return true;
}

// The legend's colours (R, G, B): blue where the skin is stretched thin,
// green where it lies as on average, red where it is squashed.
constexpr std::uint8_t kStepColour[kStretchSteps][3] = {{0, 0, 190},  {40, 110, 255}, {0, 200, 220}, {0, 190, 0},
                                                        {230, 220, 0}, {255, 130, 0},  {220, 0, 0}};
constexpr std::uint8_t kOverlapColour[3] = {255, 0, 255};

// A few capitals, three columns by five rows, for the legend's words.
struct Glyph {
  char letter;
  std::uint8_t rows[5];
};
constexpr Glyph kGlyphs[] = {
    {'A', {2, 5, 7, 5, 5}}, {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}},
    {'H', {5, 5, 7, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}},
    {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}}, {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}},
    {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
};

class Canvas {
 public:
  Canvas(std::uint8_t* frame, int width, int height) : frame_(frame), width_(width), height_(height) {}
  // (x, y) with y counted down from the top of the picture.
  void Put(int x, int y, std::uint8_t colour) {
    if (x >= 0 && x < width_ && y >= 0 && y < height_)
      frame_[static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) +
             static_cast<std::size_t>(x)] = colour;
  }
  void Box(int x0, int y0, int w, int h, std::uint8_t colour) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) Put(x, y, colour);
  }
  // Returns the x after the text.
  int Text(int x, int y, const char* text, int scale, std::uint8_t colour) {
    for (; *text; ++text) {
      for (const Glyph& g : kGlyphs)
        if (g.letter == *text)
          for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c)
              if (g.rows[r] & (4 >> c)) Box(x + c * scale, y + r * scale, scale, scale, colour);
      x += 4 * scale;
    }
    return x;
  }

 private:
  std::uint8_t* frame_;
  int width_, height_;
};

void DrawLegend(Canvas& canvas, int height, int width, const std::uint8_t* steps, std::uint8_t overlap,
                std::uint8_t ink, std::uint8_t paper) {
  const int scale = width >= 640 ? 2 : 1;
  const int box = 6 * scale, gap = 2 * scale, pad = 3 * scale;
  const int rowHeight = 5 * scale + 2 * pad;
  const int top = height - 4 - rowHeight;
  const int legendWidth = pad + 9 * 4 * scale + gap + kStretchSteps * (box * 2) + gap + 8 * 4 * scale + 2 * gap + box +
                          gap + 7 * 4 * scale + pad;
  canvas.Box(4, top, legendWidth, rowHeight, paper);
  int x = canvas.Text(4 + pad, top + pad, "STRETCHED", scale, ink) + gap;
  for (int s = 0; s < kStretchSteps; ++s) {
    canvas.Box(x, top + pad, box * 2, 5 * scale, steps[s]);
    x += box * 2;
  }
  x = canvas.Text(x + gap, top + pad, "SQUASHED", scale, ink) + 2 * gap;
  canvas.Box(x, top + pad, box, 5 * scale, overlap);
  canvas.Text(x + box + gap, top + pad, "OVERLAP", scale, ink);
}

// The smallest whole number at or above v, for v well inside the int range
// (std::ceil costs a call on the plainest x86-64 target).
int CeilInt(double v) {
  const int i = static_cast<int>(v);
  return i + (v > i ? 1 : 0);
}

// Every other row of the triangle (a line screen), so the skin shows
// through: rows y of the bottom-up frame, pixel centres inside. The edges
// are walked from the top corner down, the long one on one side and the
// two short ones in turn on the other. Rows rather than a checker of
// pixels: half the spans to find, each one a plain fill, since the whole
// screen may be covered at every redraw.
void ScreenTriangle(std::uint8_t* frame, int width, int height, const double (&x)[3], const double (&y)[3],
                    std::uint8_t colour) {
  int order[3] = {0, 1, 2};
  std::sort(order, order + 3, [&](int a, int b) { return y[a] < y[b]; });
  const double x0 = x[order[0]], y0 = y[order[0]], x1 = x[order[1]], y1 = y[order[1]];
  const double x2 = x[order[2]], y2 = y[order[2]];
  if (!(y2 > y0)) return;
  if (y2 < 0 || y0 > height) return;
  int first = std::max(0, CeilInt(std::max(y0 - 0.5, -1.0)));
  first += first & 1;
  const int last = std::min(height - 1, CeilInt(std::min(y2 - 0.5, static_cast<double>(height))) - 1);
  const double longSlope = (x2 - x0) / (y2 - y0);
  const double upperSlope = y1 > y0 ? (x1 - x0) / (y1 - y0) : 0;
  const double lowerSlope = y2 > y1 ? (x2 - x1) / (y2 - y1) : 0;
  for (int row = first; row <= last; row += 2) {
    const double cy = row + 0.5;
    const double a = x0 + (cy - y0) * longSlope;
    const double b = cy < y1 ? x0 + (cy - y0) * upperSlope : x1 + (cy - y1) * lowerSlope;
    const double lo = std::max(std::min(a, b) - 0.5, -1.0), hi = std::min(std::max(a, b) - 0.5, double(width));
    const int from = std::max(CeilInt(lo), 0);
    const int end = std::min(CeilInt(hi), width);
    if (from < end) std::memset(frame + static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + from, colour,
                                static_cast<std::size_t>(end - from));
  }
}

}  // namespace

int StretchStep(float value) {
  constexpr float kBounds[kStretchSteps - 1] = {-2, -1, -0.5f, 0.5f, 1, 2};
  int step = 0;
  while (step < kStretchSteps - 1 && value >= kBounds[step]) ++step;
  return step;
}

std::vector<float> MeasureStretch(const Model& m) {
  const int count = m.TriangleCount();
  std::vector<float> stretch(static_cast<std::size_t>(count), 0.0f);
  std::vector<double> most(static_cast<std::size_t>(count), 0.0), least(static_cast<std::size_t>(count), 0.0);
  std::vector<char> measured(static_cast<std::size_t>(count), 0);
  double skinTotal = 0, modelTotal = 0;
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    std::array<Vec3, 3> p;
    std::array<MapVertex, 3> q;
    if (!Visible(t) || !ModelCorners(m, t, p) || !SkinCorners(m, t, q)) continue;
    const double skinArea = std::abs(SkinArea(q)) / 2;
    if (skinArea <= 0 || !Densities(p, q, most[static_cast<std::size_t>(i)], least[static_cast<std::size_t>(i)]))
      continue;
    measured[static_cast<std::size_t>(i)] = 1;
    skinTotal += skinArea;
    modelTotal += ModelArea(p);
  }
  if (skinTotal <= 0 || modelTotal <= 0) return stretch;
  const double average = std::sqrt(skinTotal / modelTotal);
  for (int i = 0; i < count; ++i) {
    if (!measured[static_cast<std::size_t>(i)]) continue;
    const double hi = std::log2(most[static_cast<std::size_t>(i)] / average);
    const double lo = std::log2(std::max(least[static_cast<std::size_t>(i)], 1e-12) / average);
    stretch[static_cast<std::size_t>(i)] = static_cast<float>(std::abs(lo) > std::abs(hi) ? lo : hi);
  }
  return stretch;
}

std::vector<std::uint8_t> FindOverlaps(const Model& m) {
  const int count = m.TriangleCount();
  std::vector<std::uint8_t> overlaps(static_cast<std::size_t>(count), 0);
  struct Entry {
    std::array<MapVertex, 3> q;
    float minS, minT, maxS, maxT;
    int triangle;
  };
  std::vector<Entry> entries;
  float loS = std::numeric_limits<float>::max(), loT = loS, hiS = std::numeric_limits<float>::lowest(), hiT = hiS;
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    Entry e{};
    if (!Visible(t) || !SkinCorners(m, t, e.q) || std::abs(SkinArea(e.q)) < 1e-6) continue;
    e.minS = std::min({e.q[0].s, e.q[1].s, e.q[2].s});
    e.maxS = std::max({e.q[0].s, e.q[1].s, e.q[2].s});
    e.minT = std::min({e.q[0].t, e.q[1].t, e.q[2].t});
    e.maxT = std::max({e.q[0].t, e.q[1].t, e.q[2].t});
    e.triangle = i;
    loS = std::min(loS, e.minS);
    hiS = std::max(hiS, e.maxS);
    loT = std::min(loT, e.minT);
    hiT = std::max(hiT, e.maxT);
    entries.push_back(e);
  }
  if (entries.size() < 2) return overlaps;
  // A grid of about one triangle per cell; each pair is tested in the one
  // cell that holds the corner where their boxes start to overlap.
  constexpr int kMaxCells = 256;
  const int side = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(entries.size()))), 1, kMaxCells);
  const double cellS = std::max((static_cast<double>(hiS) - loS) / side, 1e-6);
  const double cellT = std::max((static_cast<double>(hiT) - loT) / side, 1e-6);
  auto cellOf = [&](double v, double lo, double size) { return std::clamp(static_cast<int>((v - lo) / size), 0, side - 1); };
  // Every triangle listed under each cell its box covers: counted, then
  // filled in place.
  const std::size_t cellCount = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
  std::vector<int> start(cellCount + 1, 0);
  auto forCells = [&](const Entry& e, auto&& fn) {
    for (int cy = cellOf(e.minT, loT, cellT); cy <= cellOf(e.maxT, loT, cellT); ++cy)
      for (int cx = cellOf(e.minS, loS, cellS); cx <= cellOf(e.maxS, loS, cellS); ++cx)
        fn(static_cast<std::size_t>(cy) * static_cast<std::size_t>(side) + static_cast<std::size_t>(cx));
  };
  for (const Entry& e : entries) forCells(e, [&](std::size_t c) { ++start[c + 1]; });
  for (std::size_t c = 0; c < cellCount; ++c) start[c + 1] += start[c];
  std::vector<int> listed(static_cast<std::size_t>(start[cellCount]));
  std::vector<int> fill(start.begin(), start.end() - 1);
  for (std::size_t n = 0; n < entries.size(); ++n)
    forCells(entries[n], [&](std::size_t c) { listed[static_cast<std::size_t>(fill[c]++)] = static_cast<int>(n); });
  for (int cy = 0; cy < side; ++cy)
    for (int cx = 0; cx < side; ++cx) {
      const std::size_t c = static_cast<std::size_t>(cy) * static_cast<std::size_t>(side) + static_cast<std::size_t>(cx);
      for (int i = start[c]; i < start[c + 1]; ++i)
        for (int j = i + 1; j < start[c + 1]; ++j) {
          const Entry& a = entries[static_cast<std::size_t>(listed[static_cast<std::size_t>(i)])];
          const Entry& b = entries[static_cast<std::size_t>(listed[static_cast<std::size_t>(j)])];
          if (a.maxS <= b.minS || b.maxS <= a.minS || a.maxT <= b.minT || b.maxT <= a.minT) continue;
          if (cellOf(std::max(a.minS, b.minS), loS, cellS) != cx || cellOf(std::max(a.minT, b.minT), loT, cellT) != cy)
            continue;
          if (SamePlace(a.q, b.q) || !Overlap(a.q, b.q, 1e-3)) continue;
          overlaps[static_cast<std::size_t>(a.triangle)] = overlaps[static_cast<std::size_t>(b.triangle)] = 1;
        }
    }
  return overlaps;
}

void StretchCache::Update(const Model& m) {
  next_.clear();
  const float none = std::numeric_limits<float>::quiet_NaN();
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    std::array<MapVertex, 3> q;
    std::array<Vec3, 3> p;
    const bool mapped = SkinCorners(m, t, q), placed = ModelCorners(m, t, p);
    next_.push_back(Visible(t) ? 1.0f : 0.0f);
    for (int k = 0; k < 3; ++k) {
      const std::size_t kk = static_cast<std::size_t>(k);
      next_.insert(next_.end(), {mapped ? q[kk].s : none, mapped ? q[kk].t : none, placed ? p[kk].x : none,
                                 placed ? p[kk].y : none, placed ? p[kk].z : none});
    }
  }
  // Compared as bytes, so a NaN left by a broken file still matches itself.
  if (next_.size() == key_.size() && std::memcmp(next_.data(), key_.data(), next_.size() * sizeof(float)) == 0 &&
      stretch_.size() == static_cast<std::size_t>(m.TriangleCount()))
    return;
  key_.swap(next_);
  stretch_ = MeasureStretch(m);
  overlaps_ = FindOverlaps(m);
}

void DrawStretchOverlay(const Model& m, const Palette& palette, std::uint8_t* frame, int width, int height,
                        const StretchView& view, StretchCache* cache) {
  if (!frame || width <= 0 || height <= 0) return;
  std::uint8_t steps[kStretchSteps];
  for (int s = 0; s < kStretchSteps; ++s)
    steps[s] = NearestPaletteEntry(palette, kStepColour[s][0], kStepColour[s][1], kStepColour[s][2]);
  const std::uint8_t overlapColour = NearestPaletteEntry(palette, kOverlapColour[0], kOverlapColour[1], kOverlapColour[2]);

  // Each corner on its texel's centre, as the mapping's edges are drawn.
  constexpr double kLimit = 1 << 29;
  auto column = [&](double s) { return std::clamp(width / 2 + (s - view.centreS + 0.5) * view.zoom, -kLimit, kLimit); };
  auto row = [&](double t) { return std::clamp(height / 2 - (t - view.centreT + 0.5) * view.zoom, -kLimit, kLimit); };
  StretchCache once;
  if (!cache) cache = &once;
  cache->Update(m);
  const std::vector<float>& stretch = cache->stretch();
  const std::vector<std::uint8_t>& overlaps = cache->overlaps();
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    std::array<MapVertex, 3> q;
    if (!Visible(t) || !SkinCorners(m, t, q)) continue;
    const double x[3] = {column(q[0].s), column(q[1].s), column(q[2].s)};
    const double y[3] = {row(q[0].t), row(q[1].t), row(q[2].t)};
    ScreenTriangle(frame, width, height, x, y, steps[StretchStep(stretch[static_cast<std::size_t>(i)])]);
  }

  // The overlapping triangles ringed three pixels wide, so the mapping's
  // own edge drawn over the middle still leaves the ring showing.
  RasterTarget lines = RasterTarget::Bytes(frame, width, height);
  lines.Rows = height;
  for (int i = 0; i < m.TriangleCount(); ++i) {
    if (!overlaps[static_cast<std::size_t>(i)]) continue;
    std::array<MapVertex, 3> q;
    SkinCorners(m, m.triangles[static_cast<std::size_t>(i)], q);
    for (int k = 0; k < 3; ++k) {
      const MapVertex& a = q[static_cast<std::size_t>(k)];
      const MapVertex& b = q[static_cast<std::size_t>((k + 1) % 3)];
      constexpr int kOffsets[5][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (const auto& o : kOffsets) {
        std::int32_t x0 = static_cast<std::int32_t>(column(a.s)) + o[0], y0 = static_cast<std::int32_t>(row(a.t)) + o[1];
        std::int32_t x1 = static_cast<std::int32_t>(column(b.s)) + o[0], y1 = static_cast<std::int32_t>(row(b.t)) + o[1];
        if (CRasterizer::ClipLine(lines, x0, y0, x1, y1)) CRasterizer::DrawLine(lines, x0, y0, x1, y1, overlapColour);
      }
    }
  }

  Canvas canvas(frame, width, height);
  DrawLegend(canvas, height, width, steps, overlapColour, NearestPaletteEntry(palette, 255, 255, 255),
             NearestPaletteEntry(palette, 0, 0, 0));
}
