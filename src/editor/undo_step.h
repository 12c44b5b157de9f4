#pragma once
// One user action that changed the document, as the differences it made:
// taken before the action runs (Begin) and closed after it (Finish), then
// played backwards (Undo) or forwards again (Redo). Only what changed is
// kept; a step is applied only to the exact state it left behind, so a
// history that no longer matches the document is never played into it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "editor/byte_diff.h"
#include "editor/skin_fingerprint.h"
#include "editor/undo_save.h"
#include "model/model.h"

// What an action may change; a step captures only those parts.
enum StepPart : unsigned {
  STEP_MESH = 1,          // counts, triangles, mapping, stored mapping, selection
  STEP_CURRENT_SKIN = 2,  // the current skin's record and pixels (never the list)
  STEP_SKINS = 4,         // the whole skin list: order, members, current skin
};

class UndoStep {
 public:
  // A skin captured here that has no saved fingerprint yet gets it now, as
  // it is before the action changes it.
  UndoStep(std::string name, unsigned parts, Model& model);

  // Captures parts an action nested in this one may change as well.
  void AddParts(unsigned parts, Model& model);
  // Turns the captures into differences against the model now; false when
  // nothing changed (or the action broke its promise and restructured the
  // list under a current-skin step, which leaves nothing safe to record).
  // A skin the action made counts as read when it came from a file, else
  // as changed.
  bool Finish(Model& model);

  // False, and the model untouched, when it is not in the state the step
  // left (Undo) or found (Redo).
  bool Undo(Model& model) const;
  bool Redo(Model& model) const;

  // Carries a save made outside any step into this step (see
  // UndoHistory::CarrySave): `near` is the state on the present's side of
  // it, `toPast` whether that is its after side; fills `far`, the state on
  // its other side. False when the step cannot be carried over (it renamed
  // or relinked the saved skin without restructuring the list); the
  // history is cut there.
  bool CarrySave(const SavedSkin& save, const SaveView& near, bool toPast, SaveView& far);
  // The same for a step still open: its captures are the state before the
  // live document.
  void CarrySaveOpen(const SavedSkin& save, const SaveView& live, SaveView& before);

  const std::string& name() const { return name_; }
  bool changesMesh() const { return !mesh_.empty(); }
  // Whether it changed what a model save writes (not only selection,
  // hidden faces or the stored mapping).
  bool changesSavedMesh() const { return savedMeshChanged_; }
  unsigned parts() const { return parts_; }
  std::size_t bytes() const;
  // The mesh's change, for a caller that checks where a step would take the
  // mesh before playing it.
  const ByteDiff& meshDiff() const { return mesh_; }

  // The step as bytes (the recovery journal keeps closed steps this way),
  // and back. Read refuses what no closed step could hold: positions
  // outside the lists, skin records that do not parse or do not fit their
  // pixels, sizes that do not add up; the mesh's content is the player's to
  // check (see meshDiff).
  void Write(ByteWriter& out) const;
  static std::unique_ptr<UndoStep> Read(std::span<const std::uint8_t> bytes);

 private:
  UndoStep() = default;

  struct SkinCapture {
    const Skin* skin = nullptr;
    std::vector<std::uint8_t> record;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> stored;
    SkinFileState file;
  };
  // One skin's change; a position of -1 means the skin is not in that list.
  struct SkinChange {
    int beforePos = -1;
    int afterPos = -1;
    bool recordChanged = false;
    std::vector<std::uint8_t> recordBefore, recordAfter;  // only when changed
    ByteDiff pixels, stored;
    SkinFileState fileBefore, fileAfter;  // only for a side the skin is missing on the other
  };

  void CaptureSkins(Model& model, unsigned parts);
  bool Apply(Model& model, bool forward) const;
  bool SkinsMatch(const Model& model, bool forward) const;
  void ApplySkins(Model& model, bool forward) const;

  std::string name_;
  unsigned parts_ = 0;
  // Captures, dropped by Finish.
  std::vector<std::uint8_t> meshBefore_;
  std::vector<std::uint8_t> savedMeshBefore_;
  std::vector<SkinCapture> skinsBefore_;
  int currentBefore_ = -1;
  // The step itself.
  ByteDiff mesh_;
  bool savedMeshChanged_ = false;
  std::vector<SkinChange> skins_;
  int countBefore_ = 0, countAfter_ = 0;
  int currentAfter_ = -1;
};
