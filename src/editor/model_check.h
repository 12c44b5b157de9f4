#pragma once
// What in an MD2 would hurt in the game or in this editor, found without
// loading it into a document, and the same file with its unused entries
// dropped.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

enum class CheckKind {
  SkinMissing,         // a named skin no file answers, or one that is no readable picture
  SkinSize,            // a named skin whose size is not the model's
  MapOutside,          // mapping vertices outside the skin
  DegenerateTriangle,  // triangles without area in every frame
  DuplicateTriangle,   // a triangle with the same corners, same turn, as an earlier one
  UnusedVertex,        // vertices no triangle names
  UnusedMapVertex,     // mapping vertices no triangle names
  FrameBounds,         // a frame whose scale is negative, or whose bytes do not span 0..255
  Limit,               // a count beyond what the game takes
};

// "skin-missing", "unused-vertex", ...: the word the command line prints.
const char* CheckKindName(CheckKind kind);

struct CheckFinding {
  CheckKind kind;
  std::string text;        // one line for the user
  std::vector<int> items;  // the skins, vertices, triangles or frames concerned, by number
};

// The findings for the MD2 in `bytes`, skin names taken below `baseFolder`,
// in the order of the kinds above. Nothing, with *error set to the reader's
// text, when the file does not parse.
std::optional<std::vector<CheckFinding>> CheckMd2(std::span<const std::uint8_t> bytes, const std::string& baseFolder,
                                                  std::string* error = nullptr);

// The file with every vertex and mapping vertex that no triangle names left
// out and the triangles renumbered to match; header, skin names, mapping,
// triangles and frames otherwise as they were, written by the program's MD2
// writer (which builds the GL commands afresh). Empty, with *error set, when
// the file does not parse.
std::vector<std::uint8_t> RepairMd2(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
