#pragma once
// The threads a picture is drawn on, in horizontal bands, and a rasterizer
// for every band past the first (the first draws with the context's own):
// the per-row tables are scratch no two bands may share.

#include <memory>
#include <vector>

#include "platform/thread_pool.h"
#include "render/rasterizer.h"

class RenderBands {
 public:
  // `threads` counts the calling thread; below 1 means one per core.
  explicit RenderBands(int threads);

  int Threads() const { return pool_.Threads(); }
  ThreadPool& Pool() { return pool_; }
  // Band `band`'s rasterizer, for 1 <= band < Threads().
  CRasterizer& Rasterizer(int band) { return *rasterizers_[static_cast<std::size_t>(band - 1)]; }

  // Rows top..bottom of band `band` when `rows` rows are cut into `bands`
  // bands of (nearly) equal height, the first at row 0.
  static void BandRows(int rows, int bands, int band, int& top, int& bottom);

 private:
  ThreadPool pool_;
  std::vector<std::unique_ptr<CRasterizer>> rasterizers_;
};
