#include "editor/document.h"

std::vector<int> Document::ChangedSkins() const {
  std::vector<int> changed;
  for (std::size_t i = 0; i < model.skins.size(); ++i)
    if (model.skins[i] && model.skins[i]->modified) changed.push_back(static_cast<int>(i));
  return changed;
}
