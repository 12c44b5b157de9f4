#pragma once
// The GL command list of an MD2: the triangles regrouped into fans and
// strips that share (vertex, mapping vertex) corners.

#include <cstdint>
#include <vector>

#include "model/model.h"

// Longest walk kept: 126 triangles make 128 vertices.
constexpr int kMaxGlWalkTriangles = 126;

// Replaces `out` with the list: per command a count (n > 0 strip of n
// vertices, n < 0 fan of -n), then per vertex s and t (float bits, 0..1 of
// the skin) and the vertex index; a 0 ends it. Returns the number of words,
// the final 0 included.
int BuildGlCommands(const Model& model, std::vector<std::int32_t>& out);
