#include "image/skin.h"

void ComputeRowOffsets(Skin* skin) {
  if (!skin) return;
  int rows = skin->height < kMaxImageRows ? skin->height : kMaxImageRows;
  for (int y = 0; y < rows; ++y) skin->rowOffset[y] = y * skin->width;
}
