#pragma once
// The numbers of the "Model Stats" dialog (and of `skintool info`): the
// model's counts beside the format's limits, and how much of the skin no
// triangle's mapping covers.

#include <string>
#include <vector>

struct Model;
class CRasterizer;

struct ModelStatRow {
  std::string data;     // "Vertices", "Mapping Verts", ...
  std::string current;  // the value as a signed decimal, "37%" for the waste
  std::string limit;    // a fixed text; nothing is compared against it
};

// The nine rows, in dialog order.
std::vector<ModelStatRow> ModelStatRows(const Model& model);

// Percentage (0..100, truncated) of the skinWidth x skinHeight skin that no
// triangle's mapping covers, hidden triangles included; 0 when the skin has
// no area. Fills the mapping with FillTriFlat into a scratch buffer; the
// second form fills with the given rasterizer.
int WastedSpacePercent(const Model& model);
int WastedSpacePercent(const Model& model, CRasterizer& rasterizer);

int LinkedSkinCount(const Model& model);
int ExternalSkinCount(const Model& model);
