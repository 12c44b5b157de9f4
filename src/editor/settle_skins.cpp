#include "editor/settle_skins.h"

#include <string>
#include <vector>

#include "image/skin_set.h"

bool SettleSkins(Model& m) {
  struct Was {
    const Skin* skin;
    std::string name, path;
  };
  std::vector<Was> was;
  was.reserve(m.skins.size());
  for (const auto& s : m.skins) was.push_back({s.get(), s->name, s->path});
  const std::int16_t current = m.currentSkinIndex;

  StoreSkinNamesWithBackslashes(m.skins);
  PartitionSkins(m.skins, m.currentSkinIndex);
  if (m.skins.empty()) {
    m.currentSkinIndex = -1;
  } else if (m.currentSkinIndex < 0 || m.currentSkinIndex >= static_cast<int>(m.skins.size())) {
    m.currentSkinIndex = 0;
  }

  bool changed = m.currentSkinIndex != current;
  for (std::size_t i = 0; i < was.size() && !changed; ++i) {
    const Skin& s = *m.skins[i];
    changed = &s != was[i].skin || s.name != was[i].name || s.path != was[i].path;
  }
  return changed;
}
