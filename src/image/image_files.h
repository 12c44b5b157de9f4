#pragma once
// Reading and writing 8-bit images: PCX (ZSoft version 5, run-length encoded,
// 768-byte palette trailer) and BMP (8-bit, uncompressed), and palettes from
// ACT, BMP or PCX files.

#include <memory>
#include <string>

#include "image/skin.h"

class Ui;

// Reads a PCX or 8-bit BMP into a new record; nothing on failure (after a
// message for a file that is not a usable image; none when it cannot be
// opened, the callers report that).
std::unique_ptr<Skin> LoadSkinImage(const std::string& path, Ui& ui);

// Replaces the palette entries that the file supplies; false (palette
// untouched) when no palette was found.
bool LoadPaletteFile(const std::string& path, Palette& palette);

// Write the image; on success set `format` and return true. A failure shows
// "Error Saving: " with the cause number and leaves the record and any old
// file as they were.
bool WritePcx(Skin& skin, const std::string& path, Ui& ui);
bool WriteBmp(Skin& skin, const std::string& path, Ui& ui);
