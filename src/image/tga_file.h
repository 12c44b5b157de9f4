#pragma once
// TGA pictures: uncompressed or run-length encoded; 24 or 32-bit true
// colour, 8-bit grey, or 8-bit indices into a colour map of 24 or 32-bit
// entries; rows stored from the top or the bottom.
//
// TGA files carry no magic, so LooksLikeTga only checks that the header
// fields name a kind of picture this reader knows. ParseTga refuses a file
// whose pixels or colour map end early, whose runs reach past the last
// pixel, whose indices fall outside its colour map, or whose size is beyond
// the skin limits.

#include <cstdint>
#include <span>

#include "image/true_colour.h"
#include "platform/file_error.h"


// The largest TGA at 32767 x 2048: the 18-byte header, a 255-byte id, a
// colour map of 65535 four-byte entries, run-length data of at most 5 bytes a
// pixel (a one-pixel packet of 32-bit colour) and 1 MiB for the extension
// and developer areas and the footer: 336,845,069 bytes.
inline constexpr std::uintmax_t kMaxTgaFileBytes =
    18 + 255 + 65535ull * 4 + 5ull * 32767 * 2048 + (1u << 20);

inline constexpr char kTgaKindText[] =
    "Only 24 or 32-bit, 8-bit grey and 8-bit colour-mapped TGAs can be read";
inline constexpr char kTgaColourMapText[] = "This TGA uses colours that are not in its colour map";

bool LooksLikeTga(std::span<const std::uint8_t> bytes);
FileResult<DecodedPicture> ParseTga(std::span<const std::uint8_t> bytes);
