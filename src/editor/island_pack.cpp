#include "editor/island_pack.h"

#include <algorithm>
#include <numeric>

namespace {

struct Row {
  double top = 0, height = 0, used = 0;
};

// First fit into rows: each item goes into the first row with room left,
// else opens a row below. True when everything stays inside the frame.
bool LayOut(const std::vector<PackItem>& sized, const std::vector<int>& order, double scale, double frameWidth,
            double frameHeight, double margin, std::vector<PackPlacement>* places) {
  std::vector<Row> rows;
  double bottom = 0;
  for (int index : order) {
    const double w = sized[static_cast<std::size_t>(index)].width * scale;
    const double h = sized[static_cast<std::size_t>(index)].height * scale;
    if (w > frameWidth) return false;
    Row* row = nullptr;
    for (Row& r : rows)
      if (r.used + w <= frameWidth && h <= r.height) {
        row = &r;
        break;
      }
    if (!row) {
      const double top = rows.empty() ? 0 : bottom + margin;
      if (top + h > frameHeight) return false;
      rows.push_back(Row{top, h, 0});
      bottom = top + h;
      row = &rows.back();
    }
    if (places) {
      (*places)[static_cast<std::size_t>(index)].x = row->used;
      (*places)[static_cast<std::size_t>(index)].y = row->top;
    }
    row->used += w + margin;
  }
  return true;
}

}  // namespace

PackResult PackRectangles(const std::vector<PackItem>& items, double frameWidth, double frameHeight, double margin,
                          bool turn) {
  PackResult result;
  result.places.resize(items.size());
  std::vector<PackItem> sized = items;
  double largest = 0;
  for (std::size_t i = 0; i < sized.size(); ++i) {
    PackItem& it = sized[i];
    it.width = std::max(it.width, 0.0);
    it.height = std::max(it.height, 0.0);
    if (turn && it.height > it.width) {
      std::swap(it.width, it.height);
      result.places[i].turned = true;
    }
    largest = std::max({largest, it.width, it.height});
  }
  if (items.empty() || frameWidth <= 0 || frameHeight <= 0) return result;
  std::vector<int> order(items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const PackItem& x = sized[static_cast<std::size_t>(a)];
    const PackItem& y = sized[static_cast<std::size_t>(b)];
    return x.height != y.height ? x.height > y.height : x.width > y.width;
  });
  if (largest <= 0) {
    // Points only: every item at the corner still keeps them apart by none;
    // stack them in a row at scale 1.
    result.fits = LayOut(sized, order, 1, frameWidth, frameHeight, margin, &result.places);
    result.scale = 1;
    return result;
  }
  // The largest scale any layout could have, then halve the gap to the
  // largest that this one manages.
  double lo = 0, hi = std::min(frameWidth, frameHeight) / largest;
  if (LayOut(sized, order, hi, frameWidth, frameHeight, margin, nullptr)) {
    lo = hi;
  } else {
    for (int step = 0; step < 40 && hi - lo > hi * 1e-6; ++step) {
      const double mid = (lo + hi) / 2;
      if (LayOut(sized, order, mid, frameWidth, frameHeight, margin, nullptr))
        lo = mid;
      else
        hi = mid;
    }
  }
  if (lo <= 0 || !LayOut(sized, order, lo, frameWidth, frameHeight, margin, &result.places)) return result;
  result.fits = true;
  result.scale = lo;
  return result;
}
