#pragma once
// The document: what a save writes (the model with its mapping, triangles
// and skin list, the file it came from and that file's bytes) and the undo
// history of every change made to it.

#include <cstdint>
#include <string>
#include <vector>

#include "editor/change_notices.h"
#include "editor/skin_fingerprint.h"
#include "editor/undo_history.h"
#include "model/model.h"

class Document {
 public:
  Model model;
  std::string currentFile;
  std::vector<std::uint8_t> md2Image;  // the MD2 as last loaded: the source of the frames when saving
  UndoHistory history;
  // Told of every change to the document and to what is drawn from it.
  ChangeNotices changes;

  // Undo and Redo announce the parts the step they move records.
  bool Undo();
  bool Redo();

  // Indices of the skins that differ from what was last read or written.
  std::vector<int> ChangedSkins() const;
  // Whether the mesh or mapping changed since the model was last loaded or
  // saved (an edit undone again still counts: asking once too often is
  // cheaper than losing work). Selection, hidden faces and the stored
  // mapping are not saved with the model and do not count.
  bool MeshChanged() const { return history.meshEdits() != meshSavedAt_; }
  void MarkMeshSaved() { meshSavedAt_ = history.meshEdits(); }
  // Counts the mesh as changed until the next save (work put back from a
  // recovery copy was never saved); no count of edits reaches this mark.
  void MarkMeshUnsaved() { meshSavedAt_ = static_cast<std::size_t>(-1); }

 private:
  std::size_t meshSavedAt_ = 0;
};

// The undo step of a mouse drag: opened at the press, closed at the release
// or when the mouse is lost (a new Begin closes one still open).
class DragStep {
 public:
  explicit DragStep(Document& document) : document_(document) {}
  ~DragStep() { End(); }
  DragStep(const DragStep&) = delete;
  DragStep& operator=(const DragStep&) = delete;
  void Begin(const std::string& name, unsigned parts) {
    End();
    document_.history.Begin(name, parts, document_.model);
    open_ = true;
  }
  void End() {
    if (!open_) return;
    open_ = false;
    document_.history.Commit(document_.model);
  }

 private:
  Document& document_;
  bool open_ = false;
};

// Saving one skin: no undo step, since Undo cannot take a written file back,
// but the history is carried over what the save changed on the skin (see
// editor/undo_save.h). Opened before the save changes the skin, closed when
// it goes out of scope; Written marks the skin as what its file holds.
class SkinSave {
 public:
  SkinSave(Document& document, const Skin& skin);
  ~SkinSave();
  SkinSave(const SkinSave&) = delete;
  SkinSave& operator=(const SkinSave&) = delete;
  void Written(Skin& skin) { MarkSkinSaved(skin); }

 private:
  Document& document_;
  SavedSkin save_;
  SaveView live_;
  SkinFileState fileBefore_;
  std::vector<const Skin*> listBefore_;
};

// One user action as one undo step: opened here, closed when it goes out of
// scope (an action nested in another joins the outer step).
class DocumentStep {
 public:
  DocumentStep(Document& document, const std::string& name, unsigned parts) : document_(document) {
    document_.history.Begin(name, parts, document_.model);
  }
  // A recorded step announces what its parts stand for.
  ~DocumentStep() {
    if (document_.history.Commit(document_.model))
      document_.changes.Announce(ChangesOfStepParts(document_.history.UndoParts()));
  }
  DocumentStep(const DocumentStep&) = delete;
  DocumentStep& operator=(const DocumentStep&) = delete;

 private:
  Document& document_;
};
