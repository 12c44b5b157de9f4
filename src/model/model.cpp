#include "model/model.h"

#include "model/companion.h"

Model::Model()
    : triangles(kMaxTriangles),
      mapVertices(kMaxMapVertices),
      storedMapVertices(kMaxMapVertices),
      mapVertexSelected(kMaxMapVertices, 0) {}

Model::~Model() = default;
