#include "render/render_bands.h"

RenderBands::RenderBands(int threads) : pool_(threads) {
  for (int i = 1; i < pool_.Threads(); ++i) rasterizers_.push_back(std::make_unique<CRasterizer>());
}

void RenderBands::BandRows(int rows, int bands, int band, int& top, int& bottom) {
  const long long n = rows, k = bands;
  top = static_cast<int>(n * band / k);
  bottom = static_cast<int>(n * (band + 1) / k) - 1;
}
