#pragma once
// Reading and writing 8-bit images: PCX (ZSoft version 5, run-length encoded,
// 768-byte palette trailer) and BMP (8-bit, uncompressed), and palettes from
// ACT, BMP or PCX files.
//
// Image files come from anywhere, so the readers refuse what they cannot read
// safely instead of guessing: a PCX whose run data ends before the last row,
// whose bytes per line are fewer than its width, or that is not 8-bit single
// plane; a BMP that is compressed, stored top-down, or whose colour table or
// pixel rows lie outside the file; any image with no pixels, more than 32767
// columns or more than 2048 rows. PCX runs that reach past the last row are
// cut there. A BMP that supplies fewer than 256 colours gets black for the
// rest of its palette.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "image/skin.h"
#include "image/true_colour.h"
#include "platform/file_error.h"

// Texts of the readers' failures.
inline constexpr char kNotValidSkinText[] = "This file does not appear to be a valid skin";
inline constexpr char kBmpNot8BitText[] = "BMPs must be 8bit! - Aborting";
inline constexpr char kDamagedSkinText[] = "This skin file is damaged or truncated";
inline constexpr char kSkinSizeText[] = "Skins must be 1 to 32767 pixels wide and 1 to 2048 rows high";
inline constexpr char kPcxNot8BitText[] = "Only 8-bit single-plane PCX skins can be read";
inline constexpr char kBmpCompressedText[] = "Compressed BMPs cannot be read";
inline constexpr char kBmpTopDownText[] = "Top-down BMPs cannot be read";

constexpr int kMaxImageWidth = 32767;

// The largest file of each kind a reader can meet at 32767 columns by 2048
// rows, made of the format's parts at their limits with nothing in between;
// a larger file is refused before it is read.
// PCX: the 128-byte header, run data of at most two bytes for each stored
// byte (bytes per line, a 16-bit field, at most 65535, by 2048 rows), the
// marker byte and the 768-byte palette: 268,432,257 bytes.
inline constexpr std::uintmax_t kMaxPcxFileBytes = 128 + 2ull * 65535 * kMaxImageRows + 1 + 768;
// BMP: the 14-byte file header, the largest (124-byte) info header, 256
// four-byte colours and 2048 rows of 32767 bytes padded to 32768:
// 67,110,026 bytes.
inline constexpr std::uintmax_t kMaxBmpFileBytes = 14 + 124 + 256 * 4 + 32768ull * kMaxImageRows;
// ACT: a palette alone, exactly 768 bytes.
inline constexpr std::uintmax_t kActFileBytes = 768;
// A palette comes from an ACT, a BMP or a PCX file.
inline constexpr std::uintmax_t kMaxPaletteFileBytes =
    std::max({kActFileBytes, kMaxBmpFileBytes, kMaxPcxFileBytes});

// Reads a PCX, 8-bit BMP or palette PNG into a new record. A failure names
// the file; it carries the cause when the file could not be read at all (the
// callers report that in their own words, knowing whether a stand-in
// follows), else the reader's text. `name` is the path as given, `path` its
// absolute form.
FileResult<std::unique_ptr<Skin>> LoadSkinImage(const std::string& path);

// As above, and PNG, TGA and JPEG pictures too: a palette picture keeps its
// own palette, a true-colour one is mapped into `trueColourPalette` (with
// Floyd-Steinberg dithering when asked), alpha below 128 taking index 255.
// `format` names the file's own format, TGA and JPEG included.
FileResult<std::unique_ptr<Skin>> LoadSkinImage(const std::string& path, const Palette& trueColourPalette,
                                                bool dither = false);

// Any picture the program reads (PCX, BMP, PNG, TGA, JPEG, told apart by
// content), left in true colour when it is; failures as LoadSkinImage's.
FileResult<DecodedPicture> LoadPicture(const std::string& path);
FileResult<DecodedPicture> ParsePicture(std::span<const std::uint8_t> bytes);

// Replaces the palette entries that the file supplies; false (palette
// untouched) when no palette was found; *cause is set when the file could
// not be read at all.
bool LoadPaletteFile(const std::string& path, Palette& palette, int* cause = nullptr);

// Write the image; on success set `format`. A failure reads "Error Saving: "
// with the cause number, names the path, and leaves the record and any old
// file as they were.
WriteResult WritePcx(Skin& skin, const std::string& path);
WriteResult WriteBmp(Skin& skin, const std::string& path);

// The same readers and writers on whole files held in memory. The parsers
// fill pixels, storedPixels, palette, size, format and the row offsets and
// leave name, path, hasFile and flags to the caller; ParseSkinImage picks
// among PCX, BMP and palette PNG by the first bytes. Their failures name no
// file.
FileResult<std::unique_ptr<Skin>> ParseSkinImage(std::span<const std::uint8_t> bytes);
FileResult<std::unique_ptr<Skin>> ParsePcx(std::span<const std::uint8_t> bytes);
FileResult<std::unique_ptr<Skin>> ParseBmp(std::span<const std::uint8_t> bytes);
bool ParsePaletteBytes(std::span<const std::uint8_t> bytes, Palette& palette);

// The complete file for a record; empty when the record has no pixels or its
// pixel buffer does not match its size.
std::vector<std::uint8_t> EncodePcx(const Skin& skin);
std::vector<std::uint8_t> EncodeBmp(const Skin& skin);
