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

std::string SkinListLabel(const Skin& skin) { return ToForwardSlashes(skin.name); }

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
