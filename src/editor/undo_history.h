#pragma once
// The document's undo and redo: a list of steps with a position, held within
// a memory budget (oldest steps dropped first, the newest always kept).
// An action opens a step before it changes anything and closes it after;
// actions nested in another (a command that runs another command) join the
// outer step.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "editor/undo_step.h"

// Told of every move of the history as it happens (the recovery journal
// keeps them): a step recorded, undone or redone, or a change the steps
// cannot describe (the history cleared, a save carried over it), after
// which what was told before no longer adds up to the document.
class HistoryListener {
 public:
  enum class Move { Record, Undo, Redo };
  virtual ~HistoryListener() = default;
  virtual void StepMoved(const UndoStep& step, Move move) = 0;
  virtual void HistoryReset() = 0;
};

class UndoHistory {
 public:
  static constexpr std::size_t kDefaultBudget = std::size_t{256} << 20;

  // Opens a step (or joins the open one, capturing any further parts).
  void Begin(const std::string& name, unsigned parts, Model& model);
  // Closes the outermost step: recorded when it changed something, and
  // every redo step dropped with it. True when a step was recorded.
  bool Commit(Model& model);
  bool open() const { return depth_ > 0; }

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  // The name of the step Undo (Redo) would take back (play again); empty
  // when there is none.
  std::string UndoName() const;
  std::string RedoName() const;
  // The parts of the step Undo (Redo) would take back (play again); 0 when
  // there is none.
  unsigned UndoParts() const;
  unsigned RedoParts() const;
  // False when there was nothing to do, or when the document no longer is
  // in the state the step expects; the whole history is dropped then, since
  // no step of it can be trusted.
  bool Undo(Model& model);
  bool Redo(Model& model);

  void Clear();
  std::size_t size() const { return steps_.size(); }
  std::size_t position() const { return position_; }
  std::size_t bytes() const { return bytes_; }
  std::size_t budget() const { return budget_; }
  void SetBudget(std::size_t bytes);
  // Steps recorded since the history was made, for a caller that acts every
  // so many of them.
  std::size_t stepsRecorded() const { return recorded_; }
  // How often the history was cleared (another model opened): a change to
  // the document with no step is then a new document, not a lost edit.
  std::size_t clears() const { return clears_; }
  // Counts every recorded, undone or redone step that changed what a model
  // save writes; a document compares it with the count at its last save.
  std::size_t meshEdits() const { return meshEdits_; }

  // Carries a save of one skin into the steps on both sides of the present
  // and into the open step (see editor/undo_save.h); `live` is the document
  // as it was just before the save, with the places the save moved its
  // skins to. A step that cannot be carried is dropped with every step
  // beyond it.
  void CarrySave(const SavedSkin& save, const SaveView& live);

  // One listener at a time; null for none.
  void SetListener(HistoryListener* listener) { listener_ = listener; }

  // Playing back moves a listener was told, onto the document they were
  // told about, to bring back a history. Each plays `step` (the moved step
  // as it was told) and keeps it where the history would have it: a step
  // undone or redone that this history does not hold (it was before or
  // after what was played back) joins it at that end. False, with the
  // model and the history untouched, when the step does not fit the
  // model. The listener hears none of it.
  bool PlayRecorded(std::unique_ptr<UndoStep> step, Model& model);
  bool PlayUndo(std::unique_ptr<UndoStep> step, Model& model);
  bool PlayRedo(std::unique_ptr<UndoStep> step, Model& model);

 private:
  void Trim();

  std::vector<std::unique_ptr<UndoStep>> steps_;
  std::size_t position_ = 0;  // steps_[0..position_) can be undone
  std::size_t bytes_ = 0;
  std::size_t budget_ = kDefaultBudget;
  std::unique_ptr<UndoStep> open_;
  int depth_ = 0;
  std::size_t recorded_ = 0;
  std::size_t clears_ = 0;
  std::size_t meshEdits_ = 0;
  HistoryListener* listener_ = nullptr;
};
