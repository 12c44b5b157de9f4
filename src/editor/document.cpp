#include "editor/document.h"

#include <algorithm>

#include "editor/document_bytes.h"

std::vector<int> Document::ChangedSkins() const {
  std::vector<int> changed;
  for (std::size_t i = 0; i < model.skins.size(); ++i)
    if (model.skins[i] && SkinChanged(*model.skins[i])) changed.push_back(static_cast<int>(i));
  return changed;
}

SkinSave::SkinSave(Document& document, const Skin& skin) : document_(document) {
  const Model& m = document.model;
  save_.skin = &skin;
  save_.recordBefore = SkinRecordBytes(skin);
  save_.storedBefore = skin.storedPixels;
  fileBefore_ = FileStateOf(skin);
  for (std::size_t i = 0; i < m.skins.size(); ++i) {
    const Skin* s = m.skins[i].get();
    listBefore_.push_back(s);
    live_.linked.push_back(!(s->flags & SKIN_EXTERNAL));
    if (s == &skin) live_.pos = static_cast<int>(i);
  }
  live_.record = save_.recordBefore;
  live_.namesLive = live_.storedLive = true;
}

SkinSave::~SkinSave() {
  if (live_.pos < 0) return;  // not a skin of the document's
  const Model& m = document_.model;
  // Where each skin went; a save that added or dropped skins (none does)
  // leaves a history that cannot be carried.
  std::vector<int> order(listBefore_.size(), -1);
  bool moved = false;
  for (std::size_t i = 0; i < listBefore_.size(); ++i) {
    for (std::size_t j = 0; j < m.skins.size(); ++j)
      if (m.skins[j].get() == listBefore_[i]) order[i] = static_cast<int>(j);
    moved = moved || order[i] != static_cast<int>(i);
  }
  if (m.skins.size() != listBefore_.size() ||
      std::find(order.begin(), order.end(), -1) != order.end()) {
    document_.history.Clear();
    return;
  }
  const Skin& skin = *m.skins[static_cast<std::size_t>(order[static_cast<std::size_t>(live_.pos)])];
  save_.recordAfter = SkinRecordBytes(skin);
  save_.storedAfter = skin.storedPixels;
  save_.fileAfter = FileStateOf(skin);
  if (!moved && save_.recordAfter == save_.recordBefore && save_.storedAfter == save_.storedBefore &&
      save_.fileAfter == fileBefore_)
    return;
  if (moved) live_.order = std::move(order);
  document_.history.CarrySave(save_, live_);
}

bool Document::Undo() {
  const unsigned parts = history.UndoParts();
  if (!history.Undo(model)) return false;
  changes.Announce(ChangesOfStepParts(parts));
  return true;
}

bool Document::Redo() {
  const unsigned parts = history.RedoParts();
  if (!history.Redo(model)) return false;
  changes.Announce(ChangesOfStepParts(parts));
  return true;
}
