#pragma once
// The six drop-down lists of the rebar as plain data: what each shows, which
// entry is selected, and what choosing an entry does. The front end fills
// its combo boxes from App::listBars after every rebuild (watch `version`)
// and calls the Select functions when the user picks an entry.

#include <string>
#include <vector>

#include "editor/change_notices.h"

class App;

struct ListBar {
  std::vector<std::string> items;
  std::vector<int> images;  // Skins only: 0 linked, 1 external
  std::vector<std::string> tooltips;  // Skins only: each skin's whole path
  int selection = -1;
};

struct ListBars {
  ListBar frames;      // control 129
  ListBar animations;  // beside Frames: "All frames", then the model's animations
  ListBar skins;       // 130
  ListBar modes;       // 131
  ListBar phongMaps;   // 132 "P-Maps"
  ListBar envMaps;     // 133 "E-Maps"
  ListBar companions;  // 134
  int version = 0;     // bumped by every rebuild and selection change
  bool stale = false;  // a change they show came since the last rebuild
};

// What the lists show: the skins, the companions, and (with the look) the
// modes and the maps. The frame list's entries follow the model; another
// frame shown moves only its selection.
inline constexpr unsigned kListBarChanges = kSkinListChanged | kCompanionChanged | kLookChanged;

// The lists as a listener of the document's changes: told, they go stale,
// and they are rebuilt once at the settle.
class ListBarsWatch : public ChangeListener {
 public:
  explicit ListBarsWatch(App& app);
  ~ListBarsWatch() override;
  ListBarsWatch(const ListBarsWatch&) = delete;
  ListBarsWatch& operator=(const ListBarsWatch&) = delete;
  void Changed(const ChangeNotice& notice) override;
  void Settle() override;

 private:
  App& app_;
  bool frameMoved_ = false;
};

constexpr int kLinkedSkinImage = 0;
constexpr int kExternalSkinImage = 1;

// Empties and refills all six lists from the model, linked skins moved in
// front of external ones first.
void RebuildListBars(App& app);

// The lists' selection actions.
void SelectSkinEntry(App& app, int index);
void SelectCompanionEntry(App& app, int index);
void SelectFrameEntry(App& app, int index);
void SelectPhongMapEntry(App& app, int index);
void SelectEnvMapEntry(App& app, int index);
// True when the mode changed; a refused change puts the Modes selection back
// to the old mode.
bool SelectModeEntry(App& app, int index);
// A model without skins has nothing for a textured mode to show: from one,
// the view moves to "Gouraud Shaded" (smooth shading) without a word.
void LeaveTexturedModeWithoutSkins(App& app);
