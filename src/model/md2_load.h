#pragma once
// Loading a model from an MD2 into the one model being edited, writing it
// back, and gathering skins from a folder.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/md2_file.h"
#include "model/model.h"
#include "platform/file_error.h"

// What loading does with a model that names no skins (the values of the
// "DirScan_Prompt" preference).
enum class SkinScan : int { Always = 0, Never = 1, Ask = 2 };

// A yes/no question put to the user in the given words; true for Yes.
using AskYesNo = std::function<bool(const std::string& question)>;

// What loading and saving reach beyond the model: the base folder skin names
// and relative paths are taken from, the image of the file last loaded
// (source of the frames when writing) and the choices the caller makes for
// them. Loading redraws nothing: the caller rebuilds what follows the model.
struct Md2Context {
  Model& model;
  const std::string& baseFolder;
  std::vector<std::uint8_t>& md2Image;
  SkinScan skinScan = SkinScan::Ask;
  // The palette file of stand-in skins; empty: the base folder's
  // pics/colormap.pcx, or the grey ramp without one.
  std::string palettePath;
  // Puts the SkinScan::Ask question; without one the answer is No.
  AskYesNo ask;
};

// Replaces the model with the file's (a relative path is below the base
// folder). Success carries the notices met on the way (named skins that could
// not be read or used, a scan that found nothing), for the caller to show in
// order. On failure, which names the file, the model, its skins and md2Image
// are as they were.
FileResult<FileNotices> LoadMd2(Md2Context& context, const std::string& path);

// Writes the model over `path` (a relative path is below the base folder)
// through a temporary file: true when written, false (nothing to tell) when
// there is no loaded model; a failure reads "Error Saving: <cause>" and names
// the file.
FileResult<bool> SaveMd2(Md2Context& context, const std::string& path);

// Adds every PCX, then every BMP, of `folder` (a relative one below
// `baseFolder`, none: the base folder) that has the model's skin size, as
// external skins after the others; the current skin is left to the caller.
// Gives the notices for the caller to show: each file that is no readable
// image, then "none found" when none was added.
FileNotices ScanFolderForSkins(Model& model, const std::string& baseFolder, const std::string& folder);

// The linked stand-in for a named skin that is missing or of the wrong
// size: a checkerboard of 4 x 4 squares in palette indices 63 and 191, in
// the palette of `palettePath` (see LoadDefaultPalette).
std::unique_ptr<Skin> MakeTemporarySkin(const std::string& name, const std::string& baseFolder, int width,
                                        int height, const std::string& palettePath);

// Puts parsed file contents into the model: counts, mapping (welded and
// stored), triangles and frames; skins are left to the caller.
void CommitMd2(Model& model, const Md2Data& data);
