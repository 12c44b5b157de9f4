#pragma once
// One user action that changed the document, as the differences it made:
// taken before the action runs (Begin) and closed after it (Finish), then
// played backwards (Undo) or forwards again (Redo). Only what changed is
// kept; a step is applied only to the exact state it left behind, so a
// history that no longer matches the document is never played into it.

#include <cstdint>
#include <string>
#include <vector>

#include "editor/byte_diff.h"
#include "model/model.h"

// What an action may change; a step captures only those parts.
enum StepPart : unsigned {
  STEP_MESH = 1,          // counts, triangles, mapping, stored mapping, selection
  STEP_CURRENT_SKIN = 2,  // the current skin's record and pixels (never the list)
  STEP_SKINS = 4,         // the whole skin list: order, members, current skin
};

class UndoStep {
 public:
  UndoStep(std::string name, unsigned parts, const Model& model);

  // Captures parts an action nested in this one may change as well.
  void AddParts(unsigned parts, const Model& model);
  // Turns the captures into differences against the model now and marks the
  // skins whose pixels or record changed as modified; false when nothing
  // changed (or the action broke its promise and restructured the list
  // under a current-skin step, which leaves nothing safe to record).
  bool Finish(Model& model);

  // False, and the model untouched, when it is not in the state the step
  // left (Undo) or found (Redo).
  bool Undo(Model& model) const;
  bool Redo(Model& model) const;

  const std::string& name() const { return name_; }
  bool changesMesh() const { return !mesh_.empty(); }
  unsigned parts() const { return parts_; }
  std::size_t bytes() const;

 private:
  struct SkinCapture {
    const Skin* skin = nullptr;
    std::vector<std::uint8_t> record;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> stored;
    bool modified = false;
  };
  // One skin's change; a position of -1 means the skin is not in that list.
  struct SkinChange {
    int beforePos = -1;
    int afterPos = -1;
    bool recordChanged = false;
    std::vector<std::uint8_t> recordBefore, recordAfter;  // only when changed
    ByteDiff pixels, stored;
    bool modifiedBefore = false, modifiedAfter = false;
  };

  void CaptureSkins(const Model& model, unsigned parts);
  bool Apply(Model& model, bool forward) const;
  bool SkinsMatch(const Model& model, bool forward) const;
  void ApplySkins(Model& model, bool forward) const;

  std::string name_;
  unsigned parts_ = 0;
  // Captures, dropped by Finish.
  std::vector<std::uint8_t> meshBefore_;
  std::vector<SkinCapture> skinsBefore_;
  int currentBefore_ = -1;
  // The step itself.
  ByteDiff mesh_;
  std::vector<SkinChange> skins_;
  int countBefore_ = 0, countAfter_ = 0;
  int currentAfter_ = -1;
};
