#include "support/scripted_services.h"
#include "support/command_sequence.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "editor/document_bytes.h"
#include "editor/gradient_box.h"
#include "editor/model_view.h"
#include "editor/palette_box.h"
#include "editor/skin_fingerprint.h"
#include "editor/skin_view.h"
#include "image/image_files.h"
#include "image/new_skin.h"
#include "model/companion.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/companion_commands.h"
#include "shell/list_bars.h"
#include "shell/mapping_dialogs.h"
#include "shell/shell_layout.h"
#include "shell/skin_dialogs.h"
#include "shell/snapshot_command.h"
#include "support/command_sequence_shapes.h"
#include "support/fake_pane_host.h"

namespace fs = std::filesystem;

int ByteSource::Below(int n) {
  if (n < 2) return 0;
  unsigned v = Byte();
  if (n > 256) v = v << 8 | Byte();
  return static_cast<int>(v % static_cast<unsigned>(n));
}

std::uint8_t SeededBytes::Byte() {
  // xorshift64*
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return static_cast<std::uint8_t>((state_ * 0x2545F4914F6CDD1Dull) >> 56);
}

namespace {

// Phong and environment maps keep no stored pixels; only skins can be reverted.
std::string CheckSkinList(const std::vector<std::unique_ptr<Skin>>& list, int current, const Skin* currentPtr,
                          const char* what, bool hasStore) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Skin& s = *list[i];
    const std::size_t area = static_cast<std::size_t>(s.width < 0 ? 0 : s.width) *
                             static_cast<std::size_t>(s.height < 0 ? 0 : s.height);
    const std::string name = std::string(what) + " " + std::to_string(i);
    if (s.width < 1 || s.height < 1) return name + " is " + std::to_string(s.width) + " x " + std::to_string(s.height);
    if (s.pixels.size() != area) return name + " has " + std::to_string(s.pixels.size()) + " pixels for its size";
    if (hasStore && s.storedPixels.size() != area)
      return name + " has " + std::to_string(s.storedPixels.size()) + " stored pixels for its size";
  }
  if (current < -1 || current >= static_cast<int>(list.size()))
    return std::string("current ") + what + " " + std::to_string(current) + " of " + std::to_string(list.size());
  const Skin* expected = current < 0 ? nullptr : list[static_cast<std::size_t>(current)].get();
  if (currentPtr != expected) return std::string("current ") + what + " pointer does not match its index";
  if (current < 0 && !list.empty()) return std::string("no current ") + what + " while the list holds some";
  return {};
}

bool Finite(const MapVertex& v) { return std::isfinite(v.s) && std::isfinite(v.t); }

}  // namespace

std::string CheckDocument(const Model& m) {
  if (m.VertexCount() > kMaxVertices) return "vertex count " + std::to_string(m.VertexCount());
  for (std::size_t f = 0; f < m.frames.size(); ++f)
    if (!m.frames[f] || m.frames[f]->vertices.size() != static_cast<std::size_t>(m.VertexCount()))
      return "frame " + std::to_string(f) + " not of the vertex count";
  if (m.TriangleCount() < 0 || m.TriangleCount() > kMaxTriangles) return "triangle count " + std::to_string(m.TriangleCount());
  if (m.MapVertexCount() < 0 || m.MapVertexCount() > kMaxMapVertices)
    return "mapping vertex count " + std::to_string(m.MapVertexCount());
  if (m.StoredMapVertexCount() < 0 || m.StoredMapVertexCount() > kMaxMapVertices)
    return "stored mapping vertex count " + std::to_string(m.StoredMapVertexCount());
  if (m.mapVertexSelected.size() != m.mapVertices.size()) return "selection marks not one per mapping vertex";
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    const std::string name = "triangle " + std::to_string(i);
    for (int k = 0; k < 3; ++k) {
      if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= m.VertexCount())
        return name + " names vertex " + std::to_string(t.vertexIndex[k]) + " of " + std::to_string(m.VertexCount());
      if (t.mapIndex[k] < 0 || t.mapIndex[k] >= m.MapVertexCount())
        return name + " names mapping vertex " + std::to_string(t.mapIndex[k]) + " of " +
               std::to_string(m.MapVertexCount());
      if (m.StoredMapVertexCount() > 0 && (t.storedMapIndex[k] < 0 || t.storedMapIndex[k] >= m.StoredMapVertexCount()))
        return name + " names stored mapping vertex " + std::to_string(t.storedMapIndex[k]) + " of " +
               std::to_string(m.StoredMapVertexCount());
      if (!Finite(t.cornerMap[k])) return name + " has a corner off every skin (not finite)";
    }
  }
  for (int i = 0; i < m.MapVertexCount(); ++i)
    if (!Finite(m.mapVertices[static_cast<std::size_t>(i)]))
      return "mapping vertex " + std::to_string(i) + " is not finite";
  for (int i = 0; i < m.StoredMapVertexCount(); ++i)
    if (!Finite(m.storedMapVertices[static_cast<std::size_t>(i)]))
      return "stored mapping vertex " + std::to_string(i) + " is not finite";
  if (!m.frames.empty()) {
    if (m.currentFrameIndex < 0 || m.currentFrameIndex >= static_cast<int>(m.frames.size()))
      return "current frame " + std::to_string(m.currentFrameIndex) + " of " + std::to_string(m.frames.size());
    if (m.CurrentFrame() != m.frames[static_cast<std::size_t>(m.currentFrameIndex)]->vertices.data())
      return "current frame pointer does not match its index";
  } else if (m.TriangleCount() > 0 && m.modelLoaded) {
    return "a loaded model with triangles and no frame";
  }
  for (const auto* check : {&m.skins, &m.phongMaps, &m.envMaps}) {
    const bool skins = check == &m.skins;
    const int current = skins ? m.currentSkinIndex : check == &m.phongMaps ? m.currentPhongMapIndex : m.currentEnvMapIndex;
    const Skin* ptr = skins ? m.CurrentSkin() : check == &m.phongMaps ? m.CurrentPhongMap() : m.CurrentEnvMap();
    std::string broken = CheckSkinList(*check, current, ptr, skins ? "skin" : check == &m.phongMaps ? "phong map" : "environment map", skins);
    if (!broken.empty()) return broken;
  }
  if (m.currentCompanionIndex < -1 || m.currentCompanionIndex >= static_cast<int>(m.companions.size()))
    return "current companion " + std::to_string(m.currentCompanionIndex);
  const Companion* companion =
      m.currentCompanionIndex < 0 ? nullptr : m.companions[static_cast<std::size_t>(m.currentCompanionIndex)].get();
  if (m.CurrentCompanion() != companion) return "current companion pointer does not match its index";
  return {};
}

namespace {

// ---------------------------------------------------------------------------
// The user: every question answered from the bytes.

class ByteUi : public Ui {
 public:
  ByteUi(ByteSource& bytes, std::string base) : bytes_(bytes), base_(std::move(base)) {}

  MsgAnswer Message(const std::string&, MsgButtons buttons) override {
    switch (buttons) {
      case MsgButtons::Ok:
        return MsgAnswer::Ok;
      case MsgButtons::YesNo:
        return bytes_.OneIn(2) ? MsgAnswer::Yes : MsgAnswer::No;
      case MsgButtons::YesNoCancel:
        return static_cast<MsgAnswer>(1 + bytes_.Below(3));
    }
    return MsgAnswer::Cancel;
  }

  std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) override {
    if (bytes_.OneIn(3)) return std::nullopt;
    static const char* const kOpen[] = {"models/c/skin0.pcx", "models/c/skin1.bmp", "models/c/creature.md2",
                                        "other.md2", "tiny.bmp", "odd.pcx", "wide.bmp", "map.pcx", "junk.pcx",
                                        "missing.pcx", "out.vmp", "out.pcx", "out.md2"};
    static const char* const kSave[] = {"out.pcx", "out.bmp", "out.vmp", "out.md2", "noext", "shot.png",
                                        "no/such/folder/x.pcx", "models/c/skin0.pcx", "models/c/creature.md2"};
    const std::string name = request.save ? kSave[bytes_.Below(std::size(kSave))] : kOpen[bytes_.Below(std::size(kOpen))];
    return FileDialogResult{base_ + "/" + name, 1 + bytes_.Below(3)};
  }

  std::optional<std::string> BrowseFolder(const std::string&) override {
    switch (bytes_.Below(4)) {
      case 0:
        return base_;
      case 1:
        return base_ + "/" + kSequenceModelDir;
      case 2:
        return base_ + "/no/such/folder";
      default:
        return std::nullopt;
    }
  }

 private:
  ByteSource& bytes_;
  std::string base_;
};

int OddSize(ByteSource& b) {
  static const int kSizes[] = {1, 3, 5, 7, 16, 33, 64, 100, 257, 0, -4, 4097};
  return kSizes[b.Below(std::size(kSizes))];
}

class ByteDialogs : public SkinDialogs, public MappingDialogs, public SnapshotDialog, public CompanionOffsetDialog {
 public:
  explicit ByteDialogs(ByteSource& bytes) : b_(bytes) {}

  std::optional<ResizeSkinsDialog> AskResizeSkins(const ResizeSkinsDialog&) override {
    if (b_.OneIn(3)) return std::nullopt;
    return ResizeSkinsDialog{OddSize(b_), OddSize(b_), !b_.OneIn(4)};
  }
  std::optional<MapFrom3DViewOptions> AskMapFrom3DView() override {
    if (b_.OneIn(4)) return std::nullopt;
    const int bits = b_.Below(32);
    return MapFrom3DViewOptions{bits & 1, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
  }
  std::optional<SnapshotChoice> Ask(const SnapshotChoice&) override {
    if (b_.OneIn(3)) return std::nullopt;
    return SnapshotChoice{b_.Below(2), b_.OneIn(2) ? b_.Between(10, 70) : OddSize(b_), b_.Between(10, 70)};
  }
  std::optional<CompanionOffset> Ask(const CompanionOffset&) override {
    if (b_.OneIn(3)) return std::nullopt;
    auto value = [this] { return b_.OneIn(8) ? 1e7f * static_cast<float>(b_.Between(-1, 1)) : static_cast<float>(b_.Between(-128, 127)); };
    return CompanionOffset{value(), value(), value()};
  }

 private:
  ByteSource& b_;
};

// Capture, cursor and keys for one pane; the modifier keys follow the event
// being played.
using DriverHost = FakePaneHost;

// ---------------------------------------------------------------------------
// The application as the window layer assembles it, with stand-ins for the
// windows.

struct Desk {
  Desk(ByteSource& bytes, const std::string& base)
      : ui(bytes, base), dialogs(bytes), app(ui, profile), skinView(app), modelView(app), palette(app),
        gradient(app, app.splitRatio), layout(app, skinView, modelView, palette, gradient, &shellHost) {
    app.baseFolder = app.loadFolder = app.saveFolder = base;
    app.services = ScriptedServices(dialogs, layout);
    for (auto [pane, host] : {std::pair<Pane*, DriverHost*>{&skinView, &hosts[0]},
                              {&modelView, &hosts[1]},
                              {&palette, &hosts[2]},
                              {&gradient, &hosts[3]}})
      pane->SetHost(host);
    layout.onSplitDrag = [this](bool dragging) { gradient.SetSplitDragging(dragging); };
  }
  ~Desk() {
    app.services.shellLayout = nullptr;
  }

  ByteUi ui;
  ByteDialogs dialogs;
  MemoryProfile profile;
  App app;
  DriverHost hosts[4];
  DriverHost shellHost;
  SkinView skinView;
  ModelView modelView;
  PaletteBox palette;
  GradientBox gradient;
  ShellLayout layout;
};

// The document as the undo steps see it, part by part: the mesh and every
// skin's record, pixels and stored pixels. Which skin is current is left
// out: choosing a skin is no edit, and a step over the skin list puts back
// the choice of its own time.
struct DocumentState {
  explicit DocumentState(const Model& m) : mesh(MeshBytes(m)) {
    for (const auto& s : m.skins) {
      Skin content;
      SetSkinRecordBytes(content, SkinRecordBytes(*s));
      content.name = content.path = {};
      content.hasFile = content.format = 0;
      content.flags = 0;
      skins.push_back({SkinRecordBytes(*s), s->pixels, s->storedPixels, SkinRecordBytes(content),
                       s->storedPixels == s->pixels && !SkinChanged(*s)});
    }
  }
  struct SkinState {
    std::vector<std::uint8_t> record, pixels, stored;
    std::vector<std::uint8_t> content;  // the record without its names and file
    bool saved = false;                 // what its file holds, stored pixels and all
    bool operator==(const SkinState&) const = default;
  };
  // Empty when equal, else the first part that differs.
  std::string Difference(const DocumentState& other) const {
    if (mesh != other.mesh) return "the mesh";
    if (skins.size() != other.skins.size())
      return "the skin count (" + std::to_string(skins.size()) + ", then " + std::to_string(other.skins.size()) + ")";
    for (std::size_t i = 0; i < skins.size(); ++i) {
      const std::string name = "skin " + std::to_string(i);
      if (skins[i].record != other.skins[i].record) return name + "'s record";
      if (skins[i].pixels != other.skins[i].pixels) return name + "'s pixels";
      if (skins[i].stored != other.skins[i].stored) return name + "'s stored pixels";
    }
    return {};
  }
  // A save is no undo step: it may give a skin other names and another
  // file, store its pixels and move it among the linked skins, and leaves
  // it as its file holds it. Empty when that is all that changed.
  std::string UnsteppedDifference(const DocumentState& after) const {
    if (mesh != after.mesh || skins.size() != after.skins.size()) return Difference(after);
    const std::size_t n = skins.size();
    std::vector<int> match(n, -1);
    std::vector<bool> taken(n, false);
    // Skins left alone first, so a saved copy of an untouched twin takes the twin's place last.
    for (bool saved : {false, true})
      for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n && match[i] < 0; ++j) {
          const SkinState &s = skins[i], &a = after.skins[j];
          if (taken[j] || a.pixels != s.pixels || a.content != s.content) continue;
          if (saved ? !a.saved : (a.record != s.record || a.stored != s.stored)) continue;
          match[i] = static_cast<int>(j);
          taken[j] = true;
        }
    bool moved = false, renamed = false;
    for (std::size_t i = 0; i < n; ++i) {
      if (match[i] < 0) return Difference(after);
      moved = moved || match[i] != static_cast<int>(i);
      renamed = renamed || after.skins[static_cast<std::size_t>(match[i])].record != skins[i].record;
    }
    return moved && !renamed ? "the skin order" : std::string();
  }
  std::vector<std::uint8_t> mesh;
  std::vector<SkinState> skins;
};

// Where the history stands; equal marks around an action mean it recorded,
// undid, redid, dropped and cleared nothing (a clear is another model
// opened, even over an empty history).
struct HistoryMark {
  explicit HistoryMark(const UndoHistory& h)
      : size(h.size()), position(h.position()), recorded(h.stepsRecorded()), clears(h.clears()) {}
  bool operator==(const HistoryMark&) const = default;
  std::size_t size, position, recorded, clears;
};

class Player {
 public:
  Player(ByteSource& bytes, Desk& desk) : b_(bytes), d_(desk) {
    for (const Command& c : CommandTable()) {
      if (!c.run) continue;
      commands_.push_back(&c);
      if (c.label.rfind("&Undo\t", 0) == 0) undo_ = &c;
      if (c.label.rfind("&Redo\t", 0) == 0) redo_ = &c;
      if (c.label.rfind("&Camera Toggle", 0) == 0) cameraToggle_ = &c;
    }
    if (!undo_ || !redo_ || !cameraToggle_) Fail("the command table has no Undo, Redo or Camera Toggle");
  }

  void Play(int maxSteps, int undoCheckEvery, bool trace) {
    trace_ = trace;
    // The state after one step is the state before the next: taken once.
    auto state = std::make_unique<DocumentState>(d_.app.model);
    for (step_ = 0; step_ < maxSteps && !b_.Exhausted(); ++step_) {
      const HistoryMark mark(d_.app.document.history);
      PlayOne();
      if (trace_) std::fprintf(stderr, "step %d: %s\n", step_, op_.c_str());
      Settle();
      auto after = std::make_unique<DocumentState>(d_.app.model);
      // What the history did not record, Undo could never take back.
      if (mark == HistoryMark(d_.app.document.history)) {
        const std::string changed = state->UnsteppedDifference(*after);
        if (!changed.empty()) Fail("changed " + changed + " without an undo step");
      }
      state = std::move(after);
      if (undoCheckEvery > 0 && step_ % undoCheckEvery == undoCheckEvery - 1) UndoRedoCheck(*state);
    }
  }
  int steps() const { return step_; }

  void Fail(const std::string& what) const {
    std::fprintf(stderr, "command sequence: step %d (%s): %s\n", step_, op_.c_str(), what.c_str());
    std::fflush(stderr);
    std::abort();
  }

  // Refreshes handled, then the document checked.
  void Settle() {
    d_.app.document.changes.Settle();
    const std::string broken = CheckDocument(d_.app.model);
    if (!broken.empty()) Fail(broken);
  }

 private:
  void PlayOne() {
    const int pick = b_.Below(100);
    if (pick < 38) return RunCommand(*commands_[static_cast<std::size_t>(b_.Below(static_cast<int>(commands_.size())))]);
    if (pick < 42) return ModeSwitch();
    if (pick < 56) return Drag(d_.skinView, "skin view");
    if (pick < 68) return Drag(d_.modelView, "3D view");
    if (pick < 71) return Drag(d_.palette, "palette strip");
    if (pick < 73) return Drag(d_.gradient, "gradient strip");
    if (pick < 81) return RunCommand(*undo_);
    if (pick < 87) return RunCommand(*redo_);
    if (pick < 94) return ListChoice();
    if (pick < 97) return WheelOrResize();
    return DragAroundCommand();
  }

  void RunCommand(const Command& c) {
    std::string path;
    for (const std::string& menu : c.menu) path += menu + " > ";
    op_ = "command \"" + path + c.label.substr(0, c.label.find('\t')) + "\"";
    ExecuteCommand(d_.app, c);
  }

  // The toggles a drag depends on, more often than the table alone would set them.
  void ModeSwitch() {
    const int which = b_.Below(4);
    static const char* const kLabels[] = {"&Paint Mode\t1", "M&apping Mode\t2", "Point Brush\tShift+1",
                                          "Pencil Brush\tShift+2", "Line Brush\tShift+3", "Tint blend",
                                          "Colour blend", "Drag pixels with mapping", "Show mapping frame"};
    if (which == 0) return RunCommand(*cameraToggle_);
    const Command* c = FindCommandByLabel(kLabels[b_.Below(std::size(kLabels))]);
    if (!c) Fail("a mode command is missing from the table");
    RunCommand(*c);
  }

  MouseEvent Event(const Pane& pane, MouseButton button, bool held, bool anywhere) {
    int w = 0, h = 0;
    PaneSize(pane, w, h);
    int x = 0, y = 0;
    if (anywhere && b_.OneIn(6)) {
      x = b_.Between(-300, w + 300);
      y = b_.Between(-300, h + 300);
    } else {
      x = b_.Below(w > 0 ? w : 1);
      y = b_.Below(h > 0 ? h : 1);
    }
    return ButtonEvent(button, x, y, held, shift_, ctrl_);
  }

  void PaneSize(const Pane& pane, int& w, int& h) const {
    PaneRect r;
    if (&pane == &d_.skinView) r = d_.layout.SkinViewRect();
    else if (&pane == &d_.modelView) r = d_.layout.ModelViewRect();
    else if (&pane == &d_.palette) r = d_.layout.rects().palette;
    else r = d_.layout.rects().gradient;
    w = r.width;
    h = r.height;
  }

  void Press(Pane& pane, const char* where) {
    static const MouseButton kButtons[] = {MouseButton::Left, MouseButton::Left, MouseButton::Right, MouseButton::Middle};
    button_ = kButtons[b_.Below(4)];
    const int keys = b_.Below(6);
    shift_ = keys == 1 || keys == 3;
    ctrl_ = keys >= 2 && keys <= 3;
    SetKeys(pane);
    const MouseEvent e = Event(pane, button_, true, false);
    op_ = std::string(where) + " press " + std::to_string(static_cast<int>(button_)) + " at " + std::to_string(e.x) +
          "," + std::to_string(e.y) + (shift_ ? " shift" : "") + (ctrl_ ? " ctrl" : "");
    pane.MouseDown(e);
  }
  void Moves(Pane& pane, int count) {
    for (int i = 0; i < count; ++i) {
      if (b_.OneIn(5)) {  // a key pressed or let go mid-drag
        shift_ = !shift_;
        SetKeys(pane);
      }
      pane.MouseMove(Event(pane, button_, true, true));
    }
    d_.app.document.changes.Settle();
  }
  void Release(Pane& pane) {
    if (b_.OneIn(10)) {
      pane.CaptureLost();
    } else {
      MouseEvent e = Event(pane, button_, false, true);
      pane.MouseUp(e);
    }
    shift_ = ctrl_ = false;
    SetKeys(pane);
  }
  void SetKeys(Pane& pane) {
    for (DriverHost& h : d_.hosts) {
      h.shift = shift_;
      h.ctrl = ctrl_;
    }
    (void)pane;
  }

  void Drag(Pane& pane, const char* where) {
    Press(pane, where);
    Moves(pane, b_.Below(7));
    Release(pane);
  }

  // A key pressed while a button is held: the command runs inside the drag.
  void DragAroundCommand() {
    Pane& pane = b_.OneIn(2) ? static_cast<Pane&>(d_.skinView) : static_cast<Pane&>(d_.modelView);
    Press(pane, &pane == &d_.skinView ? "skin view" : "3D view");
    Moves(pane, b_.Below(3));
    const std::string during = op_;
    const Command* c = b_.OneIn(2) ? (b_.OneIn(2) ? undo_ : redo_)
                                   : commands_[static_cast<std::size_t>(b_.Below(static_cast<int>(commands_.size())))];
    RunCommand(*c);
    op_ = during + " around " + op_;
    d_.app.document.changes.Settle();
    Moves(pane, b_.Below(3));
    Release(pane);
  }

  void ListChoice() {
    App& app = d_.app;
    const int which = b_.Below(6);
    const int index = b_.Below(6) - 1;
    static const char* const kNames[] = {"frame", "skin", "render mode", "companion", "phong map", "environment map"};
    op_ = std::string("choose ") + kNames[which] + " " + std::to_string(index);
    switch (which) {
      case 0:
        SelectFrameEntry(app, index);
        break;
      case 1:
        SelectSkinEntry(app, index);
        break;
      case 2:
        SelectModeEntry(app, b_.Below(10));
        break;
      case 3:
        SelectCompanionEntry(app, index);
        break;
      case 4:
        SelectPhongMapEntry(app, index);
        break;
      default:
        SelectEnvMapEntry(app, index);
        break;
    }
  }

  void WheelOrResize() {
    if (b_.OneIn(3)) {
      static const int kSizes[][2] = {{360, 240}, {200, 120}, {41, 37}, {516, 360}, {120, 300}};
      const auto& s = kSizes[b_.Below(5)];
      op_ = "resize to " + std::to_string(s[0]) + " x " + std::to_string(s[1]);
      d_.layout.Resize(s[0], s[1]);
      return;
    }
    const int delta = (b_.Below(5) - 2) * 120;
    Pane& pane = b_.OneIn(2) ? static_cast<Pane&>(d_.skinView) : static_cast<Pane&>(d_.modelView);
    MouseEvent e = Event(pane, MouseButton::Left, false, true);
    op_ = "wheel " + std::to_string(delta);
    pane.Wheel(delta, e.x, e.y);
  }

  // An Undo and then a Redo must give back the document exactly.
  void UndoRedoCheck(const DocumentState& before) {
    History& h = d_.app.document.history;
    if (!h.CanUndo()) return;
    const std::size_t position = h.position();
    const std::string name = h.UndoName();
    RunCommand(*undo_);
    op_ = "undo check of \"" + name + "\"";
    Settle();
    if (h.position() != position - 1) Fail("Undo was refused: the document left its history");
    RunCommand(*redo_);
    op_ = "redo check of \"" + name + "\"";
    Settle();
    if (h.position() != position) Fail("Redo was refused right after Undo");
    const std::string changed = before.Difference(DocumentState(d_.app.model));
    if (!changed.empty()) Fail("Undo then Redo changed " + changed);
  }
  using History = UndoHistory;

  ByteSource& b_;
  Desk& d_;
  std::vector<const Command*> commands_;
  const Command* undo_ = nullptr;
  const Command* redo_ = nullptr;
  const Command* cameraToggle_ = nullptr;
  int step_ = 0;
  bool trace_ = false;
  std::string op_ = "setup";
  MouseButton button_ = MouseButton::Left;
  bool shift_ = false, ctrl_ = false;
};

class CurrentFolder {
 public:
  CurrentFolder() {
    std::error_code ec;
    saved_ = fs::current_path(ec);
  }
  ~CurrentFolder() {
    std::error_code ec;
    if (!saved_.empty()) fs::current_path(saved_, ec);
  }

 private:
  fs::path saved_;
};

}  // namespace

int RunCommandSequence(ByteSource& bytes, const SequenceOptions& options) {
  CurrentFolder keep;
  const SequenceShape shape = ChooseShape(bytes);
  const std::string base = options.scratchFolder + "/baseq2";
  FillScratch(base, shape);
  Desk desk(bytes, base);
  Player player(bytes, desk);
  desk.layout.Create(360, 240);
  if (desk.app.LoadMd2(base + "/" + kSequenceModelDir + "/creature.md2") != 1) player.Fail("the generated model did not load");
  MarkTriangles(bytes, desk.app.model);
  if (bytes.OneIn(2)) {  // an extra skin beside the linked ones
    auto extra = MakeBlankSkin(base + "/extra.pcx", desk.app.model.skinWidth, desk.app.model.skinHeight, SomePalette(9));
    extra->flags = SKIN_EXTERNAL;
    extra->storedPixels = extra->pixels;
    desk.app.model.skins.push_back(std::move(extra));
    if (desk.app.model.currentSkinIndex < 0) {
      desk.app.model.currentSkinIndex = 0;
    }
  }
  desk.app.RebuildPaintTable();
  desk.app.RefreshAll();
  player.Settle();
  player.Play(options.maxSteps, options.undoCheckEvery, options.trace);
  return player.steps();
}
