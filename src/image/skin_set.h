#pragma once
// The model's skin list: linked skins (named in the model file) first, then
// external ones (loaded beside it for painting or comparison), one current.
//
// Names and paths are kept in their stored form with '\' separators, the
// form the model file and the profile have always used; every file access
// goes through HostSkinPath, which gives the host's form.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/skin.h"

using SkinList = std::vector<std::unique_ptr<Skin>>;

inline bool IsExternalSkin(const Skin& skin) { return (skin.flags & SKIN_EXTERNAL) != 0; }

int CountLinkedSkins(const SkinList& skins);

// Moves the linked skins in front of the external ones: for each position
// below the linked count that holds an external skin, the first linked skin
// after it is swapped in. Linked skins keep their order; `currentIndex`
// follows a swapped current skin so the same record stays current.
void PartitionSkins(SkinList& skins, std::int16_t& currentIndex);

// '/' turned into '\' in every name and path (the stored form).
void StoreSkinNamesWithBackslashes(SkinList& skins);

// What the skin bar shows for a skin, with '/' separators: a linked skin's
// name; for an external one, named by its whole path, the part below the base
// folder, or just the file's name when it lies elsewhere.
std::string SkinListLabel(const Skin& skin, const std::string& baseFolder);
// The skin's whole path (its name when it has none), to show beside the label.
std::string SkinListTooltip(const Skin& skin);

// `path` with the extension of its file name (if any) replaced by
// `extension` (with its dot).
std::string WithExtension(const std::string& path, const std::string& extension);

// A path beside `source` for a skin made from it: its name with `suffix`,
// then "2", "3", ... added until it is neither a file on disk nor the name,
// path or list label of any skin in `skins`. Its extension is the source's
// when the skin writers write that format, else ".pcx".
std::string UnusedSkinPath(const std::string& source, const std::string& suffix, const SkinList& skins,
                           const std::string& baseFolder);
// The writer a name's extension asks for: PNG, BMP or else PCX.
std::uint8_t SkinFormatForExtension(const std::string& path);

// The record at `index`, or null when the index is outside the list.
Skin* SkinAt(const SkinList& skins, int index);

// Appends the record and makes it current; gives its index.
int AppendSkinToList(SkinList& skins, std::int16_t& currentIndex, std::unique_ptr<Skin> skin);

// The current index after entry `removed` left a list that now holds
// `remaining` entries: unchanged unless it was the last position, -1 when
// the list is empty. Shared by the skin, phong and environment lists.
int IndexAfterRemoval(int removed, int remaining);

// Appends `extension` (with its dot) when the path holds no '.' at all; a
// dot anywhere, even in a folder name, counts.
std::string AppendExtensionIfNoDot(const std::string& path, const std::string& extension);

// The skin dialogs' default extension: ".bmp" for the Bitmap filter (3),
// ".pcx" for every other.
std::string EnsureExtension(const std::string& path, int filterIndex);

// True when `path` begins with `baseFolder` and a separator. The comparison
// is exact and case-sensitive; only '/' and '\' count as the same.
bool IsBelowBaseFolder(const std::string& path, const std::string& baseFolder);

// The part of `path` after the base folder and its separator, or the whole
// path when it is not below the base folder: the name a linked skin gets.
std::string LinkedSkinName(const std::string& path, const std::string& baseFolder);

// The host form of a stored path, for reading and for writing: separators
// converted and, where the file or its folders exist under another case,
// the names found on disk.
std::string HostSkinPath(const std::string& storedPath);
