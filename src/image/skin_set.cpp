#include "image/skin_set.h"

#include <utility>

#include "platform/files.h"

int CountLinkedSkins(const SkinList& skins) {
  int linked = 0;
  for (const auto& s : skins)
    if (s && !IsExternalSkin(*s)) ++linked;
  return linked;
}

void PartitionSkins(SkinList& skins, std::int16_t& currentIndex) {
  const int linked = CountLinkedSkins(skins);
  const int n = static_cast<int>(skins.size());
  for (int i = 0; i < linked; ++i) {
    if (!IsExternalSkin(*skins[i])) continue;
    int j = i + 1;
    while (j < n && IsExternalSkin(*skins[j])) ++j;
    if (j >= n) break;  // cannot happen while the count is right
    std::swap(skins[i], skins[j]);
    if (currentIndex == i)
      currentIndex = static_cast<std::int16_t>(j);
    else if (currentIndex == j)
      currentIndex = static_cast<std::int16_t>(i);
  }
}

void StoreSkinNamesWithBackslashes(SkinList& skins) {
  for (auto& s : skins) {
    s->name = ToBackslashes(s->name);
    s->path = ToBackslashes(s->path);
  }
}

std::string SkinListLabel(const Skin& skin, const std::string& baseFolder) {
  // An external skin's name is its whole path, too long for the list to show
  // the part that tells skins apart.
  if (!IsExternalSkin(skin)) return ToForwardSlashes(skin.name);
  if (IsBelowBaseFolder(skin.name, baseFolder)) return ToForwardSlashes(LinkedSkinName(skin.name, baseFolder));
  return FileNamePart(skin.name);
}

std::string SkinListTooltip(const Skin& skin) { return ToForwardSlashes(skin.path.empty() ? skin.name : skin.path); }

std::string WithExtension(const std::string& path, const std::string& extension) {
  const std::size_t name = path.size() - FileNamePart(path).size();
  const std::size_t dot = path.rfind('.');
  return (dot != std::string::npos && dot > name ? path.substr(0, dot) : path) + extension;
}

std::uint8_t SkinFormatForExtension(const std::string& path) {
  const std::string ext = ExtensionOf(path);
  return ext == "png" ? FORMAT_PNG : ext == "bmp" ? FORMAT_BMP : FORMAT_PCX;
}

std::string UnusedSkinPath(const std::string& source, const std::string& suffix, const SkinList& skins,
                           const std::string& baseFolder) {
  const std::string ext = ExtensionOf(source);
  const std::string extension = ext == "png" || ext == "bmp" ? "." + ext : ".pcx";
  const std::string stem = WithExtension(source, "");
  Skin probe;
  probe.flags = SKIN_EXTERNAL;
  auto taken = [&](const std::string& path) {
    if (FileExists(HostSkinPath(path))) return true;
    probe.name = path;
    const std::string label = SkinListLabel(probe, baseFolder);
    for (const auto& s : skins) {
      if (EqualsNoCase(ToBackslashes(s->name), ToBackslashes(path)) ||
          EqualsNoCase(ToBackslashes(s->path), ToBackslashes(path)) || SkinListLabel(*s, baseFolder) == label)
        return true;
    }
    return false;
  };
  std::string path = stem + suffix + extension;
  for (int n = 2; taken(path); ++n) path = stem + suffix + std::to_string(n) + extension;
  return path;
}

Skin* SkinAt(const SkinList& skins, int index) {
  if (index < 0 || index >= static_cast<int>(skins.size())) return nullptr;
  return skins[static_cast<std::size_t>(index)].get();
}

int AppendSkinToList(SkinList& skins, std::int16_t& currentIndex, std::unique_ptr<Skin> skin) {
  skins.push_back(std::move(skin));
  currentIndex = static_cast<std::int16_t>(skins.size() - 1);
  return currentIndex;
}

int IndexAfterRemoval(int removed, int remaining) {
  if (remaining <= 0) return -1;
  return removed < remaining ? removed : remaining - 1;
}

std::string AppendExtensionIfNoDot(const std::string& path, const std::string& extension) {
  if (path.find('.') != std::string::npos) return path;
  return path + extension;
}

std::string EnsureExtension(const std::string& path, int filterIndex) {
  return AppendExtensionIfNoDot(path, filterIndex == 3 ? ".bmp" : ".pcx");
}

bool IsBelowBaseFolder(const std::string& path, const std::string& baseFolder) {
  if (baseFolder.empty()) return false;
  std::string p = ToBackslashes(path);
  std::string prefix = ToBackslashes(baseFolder);
  // A base folder that is a root already ends in its separator.
  if (prefix.back() != '\\') prefix += '\\';
  return p.size() > prefix.size() && p.compare(0, prefix.size(), prefix) == 0;
}

std::string LinkedSkinName(const std::string& path, const std::string& baseFolder) {
  if (!IsBelowBaseFolder(path, baseFolder)) return path;
  std::size_t cut = baseFolder.size();
  if (!IsSeparator(baseFolder.back())) ++cut;
  return path.substr(cut);
}

std::string HostSkinPath(const std::string& storedPath) { return ResolvePath(storedPath); }
