#include "editor/undo_history.h"

void UndoHistory::Begin(const std::string& name, unsigned parts, Model& model) {
  if (depth_++ > 0) {
    open_->AddParts(parts, model);
    return;
  }
  open_ = std::make_unique<UndoStep>(name, parts, model);
}

bool UndoHistory::Commit(Model& model) {
  if (depth_ == 0 || --depth_ > 0) return false;
  std::unique_ptr<UndoStep> step = std::move(open_);
  if (!step->Finish(model)) return false;
  for (std::size_t i = position_; i < steps_.size(); ++i) bytes_ -= steps_[i]->bytes();
  steps_.resize(position_);
  bytes_ += step->bytes();
  steps_.push_back(std::move(step));
  position_ = steps_.size();
  ++recorded_;
  if (steps_.back()->changesSavedMesh()) ++meshEdits_;
  if (listener_) listener_->StepMoved(*steps_.back(), HistoryListener::Move::Record);
  Trim();
  return true;
}

std::string UndoHistory::UndoName() const { return CanUndo() ? steps_[position_ - 1]->name() : std::string(); }
std::string UndoHistory::RedoName() const { return CanRedo() ? steps_[position_]->name() : std::string(); }
unsigned UndoHistory::UndoParts() const { return CanUndo() ? steps_[position_ - 1]->parts() : 0u; }
unsigned UndoHistory::RedoParts() const { return CanRedo() ? steps_[position_]->parts() : 0u; }

bool UndoHistory::Undo(Model& model) {
  if (open() || !CanUndo()) return false;
  if (!steps_[position_ - 1]->Undo(model)) {
    Clear();
    return false;
  }
  --position_;
  if (steps_[position_]->changesSavedMesh()) ++meshEdits_;
  if (listener_) listener_->StepMoved(*steps_[position_], HistoryListener::Move::Undo);
  return true;
}

bool UndoHistory::Redo(Model& model) {
  if (open() || !CanRedo()) return false;
  if (!steps_[position_]->Redo(model)) {
    Clear();
    return false;
  }
  if (steps_[position_]->changesSavedMesh()) ++meshEdits_;
  if (listener_) listener_->StepMoved(*steps_[position_], HistoryListener::Move::Redo);
  ++position_;
  return true;
}

void UndoHistory::CarrySave(const SavedSkin& save, const SaveView& live) {
  SaveView present = live;
  if (open_) open_->CarrySaveOpen(save, live, present);
  SaveView near = present;
  for (std::size_t i = position_; i-- > 0 && near.Affected();) {
    SaveView far;
    if (!steps_[i]->CarrySave(save, near, true, far)) {
      steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(i + 1));
      position_ -= i + 1;
      break;
    }
    near = std::move(far);
  }
  near = std::move(present);
  for (std::size_t i = position_; i < steps_.size() && near.Affected(); ++i) {
    SaveView far;
    if (!steps_[i]->CarrySave(save, near, false, far)) {
      steps_.resize(i);
      break;
    }
    near = std::move(far);
  }
  bytes_ = 0;
  for (const auto& step : steps_) bytes_ += step->bytes();
  if (listener_) listener_->HistoryReset();
}

void UndoHistory::Clear() {
  steps_.clear();
  position_ = 0;
  bytes_ = 0;
  ++clears_;
  if (listener_) listener_->HistoryReset();
}

bool UndoHistory::PlayRecorded(std::unique_ptr<UndoStep> step, Model& model) {
  if (open() || !step || !step->Redo(model)) return false;
  for (std::size_t i = position_; i < steps_.size(); ++i) bytes_ -= steps_[i]->bytes();
  steps_.resize(position_);
  if (step->changesSavedMesh()) ++meshEdits_;
  bytes_ += step->bytes();
  steps_.push_back(std::move(step));
  position_ = steps_.size();
  ++recorded_;
  Trim();
  return true;
}

bool UndoHistory::PlayUndo(std::unique_ptr<UndoStep> step, Model& model) {
  if (open() || !step) return false;
  if (CanUndo()) {
    // The history's own step; the told one is the same step.
    if (!steps_[position_ - 1]->Undo(model)) return false;
    --position_;
    if (steps_[position_]->changesSavedMesh()) ++meshEdits_;
    return true;
  }
  if (!step->Undo(model)) return false;
  if (step->changesSavedMesh()) ++meshEdits_;
  bytes_ += step->bytes();
  steps_.insert(steps_.begin(), std::move(step));
  return true;
}

bool UndoHistory::PlayRedo(std::unique_ptr<UndoStep> step, Model& model) {
  if (open() || !step) return false;
  if (CanRedo()) {
    if (!steps_[position_]->Redo(model)) return false;
    if (steps_[position_]->changesSavedMesh()) ++meshEdits_;
    ++position_;
    return true;
  }
  if (!step->Redo(model)) return false;
  if (step->changesSavedMesh()) ++meshEdits_;
  bytes_ += step->bytes();
  steps_.push_back(std::move(step));
  position_ = steps_.size();
  return true;
}

void UndoHistory::SetBudget(std::size_t bytes) {
  budget_ = bytes;
  Trim();
}

void UndoHistory::Trim() {
  std::size_t drop = 0;
  // Only steps that can be undone go: a redo step needs the ones before it.
  while (bytes_ > budget_ && drop < position_ && steps_.size() - drop > 1) {
    bytes_ -= steps_[drop]->bytes();
    ++drop;
  }
  if (!drop) return;
  steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(drop));
  position_ -= drop;
}
