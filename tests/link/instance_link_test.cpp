#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <utility>

#include "editor/skin_view.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "link/instance_link.h"
#include "link/link_record.h"
#include "link/in_process_transport.h"
#include "support/fake_pane_host.h"
#include "support/scripted_ui.h"

namespace {

const char* const kWatcherTitle = "VLink - Watcher";

using Corners = std::array<MapVertex, 3>;

// One running copy: its model, its window title and its end of the link.
struct Copy {
  Workspace w;
  ScriptedUi ui;
  InProcessTransport transport;
  InstanceLink link{w, ui};
  std::string title = "skintool - tris.md2";

  Copy(InProcessDesk& desk, const std::vector<Corners>& tris, int skinSize = 64) : transport(desk) {
    Model& m = w.model;
    m.skinWidth = m.skinHeight = static_cast<std::int16_t>(skinSize);
    m.SetTriangleCount(static_cast<std::int16_t>(tris.size()));
    for (std::size_t i = 0; i < tris.size(); ++i)
      for (int k = 0; k < 3; ++k) m.triangles[i].cornerMap[k] = tris[i][static_cast<std::size_t>(k)];
    m.WeldMapVertices(0);
    link.transport = &transport;
    link.windowTitle = [this] { return title; };
    link.setWindowTitle = [this](const std::string& t) { title = t; };
  }
  Triangle& Tri(int i) { return w.model.triangles[static_cast<std::size_t>(i)]; }
  MapVertex Corner(int i, int k) { return Tri(i).cornerMap[k]; }
};

const Corners kSent{{{10, 20}, {30, 40}, {50, 60}}};
const Corners kFar{{{1, 1}, {2, 1}, {1, 2}}};

std::vector<std::uint8_t> Block(const std::vector<std::uint8_t>& record) {
  std::vector<std::uint8_t> block(kLinkBlockSize, 0);
  std::copy(record.begin(), record.end(), block.begin());
  return block;
}

}  // namespace

TEST(LinkRecord, FieldsSitAtTheirOffsetsLittleEndian) {
  MappingRecord m;
  m.skinWidth = 320;
  m.skinHeight = -2;
  m.st[1][1] = 1.5f;  // 0x3FC00000
  const auto bytes = EncodeLinkRecord(m);
  ASSERT_EQ(bytes.size(), 44u);
  const std::vector<std::uint8_t> head{44, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0x40, 0x01, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 20), head);
  EXPECT_EQ(bytes[34], 0xC0);
  EXPECT_EQ(bytes[35], 0x3F);

  CameraRecord c;
  c.distance = 2.0f;  // 0x40000000
  const auto cam = EncodeLinkRecord(c);
  ASSERT_EQ(cam.size(), 64u);
  EXPECT_EQ(cam[0], 64);
  EXPECT_EQ(cam[8], 2);
  EXPECT_EQ(cam[63], 0x40);
}

TEST(InstanceLink, TransferPutsTheSentCornersOnTheWatchersTriangleUnscaledAndWelded) {
  struct Case {
    int senderSkin, watcherSkin;
    Corners sent;
  };
  const Case cases[] = {{64, 64, kSent}, {256, 64, {{{200, 180}, {30, 40}, {250.5f, 3}}}}, {64, 512, kSent}};
  for (const Case& c : cases) {
    InProcessDesk desk;
    Copy sender(desk, {kFar, c.sent}, c.senderSkin);
    // The watcher's second triangle already has a corner where the second
    // sent corner lands, so the weld must share it.
    Copy watcher(desk, {kFar, {{{30, 40}, {5, 5}, {6, 5}}}}, c.watcherSkin);
    sender.Tri(1).flags = TRI_SELECTED;
    watcher.Tri(0).flags = TRI_SELECTED;
    watcher.link.ToggleWatch();

    sender.link.TransferMapping();

    EXPECT_TRUE(sender.ui.texts().empty());
    EXPECT_TRUE(watcher.ui.texts().empty());
    for (int k = 0; k < 3; ++k) {
      EXPECT_FLOAT_EQ(watcher.Corner(0, k).s, c.sent[static_cast<std::size_t>(k)].s);
      EXPECT_FLOAT_EQ(watcher.Corner(0, k).t, c.sent[static_cast<std::size_t>(k)].t);
    }
    EXPECT_EQ(watcher.Tri(0).mapIndex[1], watcher.Tri(1).mapIndex[0]);
    EXPECT_EQ(watcher.w.model.MapVertexCount(), 5);
    EXPECT_EQ(watcher.w.document.history.UndoName(), "Transfer Mapping");
    EXPECT_EQ(desk.sentSizes, std::vector<std::uint32_t>{4096});
  }
}

TEST(InstanceLink, OnlyOneSelectedVisibleTriangleOnEitherSide) {
  const std::uint32_t kHiddenSelected = TRI_SELECTED | TRI_HIDDEN;
  struct Case {
    std::uint32_t first, second;
    bool accepted;
  };
  const Case cases[] = {{0, 0, false},
                        {TRI_SELECTED, TRI_SELECTED, false},
                        {kHiddenSelected, 0, false},
                        {TRI_SELECTED, kHiddenSelected, true},
                        {kHiddenSelected, TRI_SELECTED, true}};
  for (const Case& c : cases) {
    // The sender side.
    {
      InProcessDesk desk;
      Copy sender(desk, {kSent, kSent});
      Copy watcher(desk, {kFar});
      watcher.Tri(0).flags = TRI_SELECTED;
      watcher.link.ToggleWatch();
      sender.Tri(0).flags = c.first;
      sender.Tri(1).flags = c.second;
      sender.link.TransferMapping();
      EXPECT_EQ(desk.sentSizes.size(), c.accepted ? 1u : 0u);
      EXPECT_EQ(sender.ui.texts(), c.accepted ? std::vector<std::string>{}
                                              : std::vector<std::string>{
                                                    "Please only select 1 triange for this operation!"});
    }
    // The watcher side: refused with its own message, answered, unchanged.
    {
      InProcessDesk desk;
      Copy sender(desk, {kSent});
      Copy watcher(desk, {kFar, kFar});
      sender.Tri(0).flags = TRI_SELECTED;
      watcher.Tri(0).flags = c.first;
      watcher.Tri(1).flags = c.second;
      watcher.link.ToggleWatch();
      std::vector<std::function<void()>> later;
      watcher.link.afterAnswer = [&](std::function<void()> job) { later.push_back(std::move(job)); };
      const int result = watcher.link.HandleLinkMessage(kLinkBlockSize, Block(EncodeLinkRecord(MappingRecord{})));
      EXPECT_EQ(result, 1);
      EXPECT_TRUE(watcher.ui.texts().empty());  // not before the sender has its answer
      for (auto& job : later) job();
      EXPECT_EQ(watcher.w.document.history.CanUndo(), c.accepted);
      EXPECT_EQ(watcher.ui.texts(), c.accepted ? std::vector<std::string>{}
                                               : std::vector<std::string>{
                                                     "Watcher: Please only select 1 triange for this operation!"});
    }
  }
}

TEST(InstanceLink, WatchTogglesTheTitleAndThereIsOnlyOneWatcher) {
  InProcessDesk desk;
  Copy first(desk, {kFar});
  Copy second(desk, {kFar});

  first.link.ToggleWatch();
  EXPECT_TRUE(first.link.watching());
  EXPECT_EQ(first.title, kWatcherTitle);
  EXPECT_EQ(first.link.WatchLabel(), "End Watch\tW");

  second.link.ToggleWatch();
  EXPECT_FALSE(second.link.watching());
  EXPECT_EQ(second.title, "skintool - tris.md2");
  EXPECT_EQ(second.ui.texts(), std::vector<std::string>{"Another session is already Watching...there can be only one!"});

  // The watcher cannot send, and with no watcher nobody can.
  first.link.TransferMapping();
  EXPECT_EQ(first.ui.texts(), std::vector<std::string>{"This window can not initiate this operation!"});

  first.link.ToggleWatch();
  EXPECT_FALSE(first.link.watching());
  EXPECT_EQ(first.title, "skintool - tris.md2");
  EXPECT_EQ(first.link.WatchLabel(), "Begin Watch\tW");
  second.ui.Clear();
  second.Tri(0).flags = TRI_SELECTED;
  second.link.TransferMapping();
  EXPECT_EQ(second.ui.texts(), std::vector<std::string>{"Unable to locate a session that is Watching!"});
}

TEST(InstanceLink, SyncCamerasKeepsItsCheckWithoutAWatcherAndSendsOnceThereIsOne) {
  InProcessDesk desk;
  Copy sender(desk, {kFar});
  Copy watcher(desk, {kFar});
  sender.w.viewport.rotation = Mat3::Rows(0, 0, 1, 0, 1, 0, -1, 0, 0);
  sender.w.viewport.pan[1] = -12.5f;
  sender.w.viewport.distance = 140;

  sender.link.ToggleSyncCameras();
  EXPECT_TRUE(sender.w.editor.syncCameras);
  EXPECT_TRUE(desk.sentSizes.empty());
  EXPECT_TRUE(sender.ui.texts().empty());

  watcher.link.ToggleWatch();
  sender.link.SendCameraToWatcher();
  const Viewport& v = watcher.w.viewport;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(v.rotation.m[i][j], sender.w.viewport.rotation.m[i][j]);
  EXPECT_EQ(v.pan[1], -12.5f);
  EXPECT_EQ(v.distance, 140.0f);

  // Switched off, nothing more goes out.
  sender.link.ToggleSyncCameras();
  sender.link.SendCameraToWatcher();
  EXPECT_EQ(desk.sentSizes.size(), 1u);
}

TEST(InstanceLink, ABadRecordLeavesTheWatcherUnchangedAndAnswersZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const auto mapping = EncodeLinkRecord(MappingRecord{});
  CameraRecord camera;
  camera.distance = 50;
  const auto cam = EncodeLinkRecord(camera);
  CameraRecord flat = camera;
  std::fill(std::begin(flat.rotation), std::end(flat.rotation), 0.0f);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> record;
    std::size_t offset;  // a word to overwrite, or 0 for none
    std::uint32_t word;
    std::uint32_t announcedSize;
    std::size_t blockSize;
  };
  auto asWord = [](float f) { std::uint32_t w; std::memcpy(&w, &f, 4); return w; };
  const Case cases[] = {
      {"another kind", mapping, 8, 3, 4096, 4096},
      {"mapping kind with camera size", cam, 8, 1, 4096, 4096},
      {"camera kind with mapping size", mapping, 8, 2, 4096, 4096},
      {"another size", mapping, 0, 48, 4096, 4096},
      {"another format", mapping, 4, 2, 4096, 4096},
      {"NaN corner", mapping, 28, asWord(nan), 4096, 4096},
      {"corner past 16 bits", mapping, 40, asWord(32768.0f), 4096, 4096},
      {"infinite distance", cam, 60, asWord(-inf), 4096, 4096},
      {"NaN rotation", cam, 28, asWord(nan), 4096, 4096},
      {"infinite pan", cam, 52, asWord(inf), 4096, 4096},
      {"NaN distance", cam, 60, asWord(nan), 4096, 4096},
      // Cameras the 3D view cannot draw from.
      {"zero rotation", EncodeLinkRecord(flat), 0, 64, 4096, 4096},
      {"rotation with a zero row", cam, 12, 0, 4096, 4096},
      {"zero distance", cam, 60, asWord(0.0f), 4096, 4096},
      {"negative distance", cam, 60, asWord(-50.0f), 4096, 4096},
      {"short block", mapping, 0, 44, 4096, 40},
      {"announced smaller than the record", mapping, 0, 44, 40, 4096},
      {"nothing at all", {}, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    InProcessDesk desk;
    Copy watcher(desk, {kFar});
    watcher.Tri(0).flags = TRI_SELECTED;
    watcher.link.ToggleWatch();
    std::vector<std::uint8_t> block = Block(c.record);
    if (c.offset || c.record.size()) std::memcpy(&block[c.offset], &c.word, 4);
    block.resize(c.blockSize);
    const float distance = watcher.w.viewport.distance;

    EXPECT_EQ(watcher.link.HandleLinkMessage(c.announcedSize, block), 0) << c.what;
    EXPECT_FLOAT_EQ(watcher.Corner(0, 2).t, 2) << c.what;
    EXPECT_EQ(watcher.w.viewport.distance, distance) << c.what;
    EXPECT_FALSE(watcher.w.document.history.CanUndo()) << c.what;
    EXPECT_TRUE(watcher.ui.texts().empty()) << c.what;
  }
}

TEST(InstanceLink, AMappingThatArrivesDuringTheWatchersVertexDragWaitsForTheDragToEnd) {
  InProcessDesk desk;
  const Corners sent{{{2, 3}, {5, 6}, {7, 8}}};
  Copy sender(desk, {sent}, 32);
  // The watcher's first triangle shares its corner (10, 10) with the second.
  Copy watcher(desk, {{{{10, 10}, {20, 10}, {10, 20}}}, {{{10, 10}, {4, 10}, {10, 4}}}}, 32);
  sender.Tri(0).flags = TRI_SELECTED;
  watcher.Tri(0).flags = TRI_SELECTED;
  watcher.link.ToggleWatch();
  Model& m = watcher.w.model;
  m.skins.push_back(MakeBlankSkin("s", 32, 32, GreyRampPalette()));
  m.currentSkinIndex = 0;
  watcher.w.editor.editMode = EditMode::Mapping;
  watcher.w.editor.cameraToggle = false;
  FakePaneHost host;
  SkinView view(watcher.w);
  view.SetHost(&host);
  view.Resize(64, 64);
  view.SetView(16, 16, 2);  // skin (s, t) lies at client (2s + 1, 2t + 1)

  view.MouseDown(ButtonEvent(MouseButton::Left, 21, 21, true));
  ASSERT_NE(dynamic_cast<const VertexDragTool*>(view.activeTool()), nullptr);
  const int grabSlot = watcher.Tri(0).mapIndex[0];
  sender.link.TransferMapping();

  // Nothing of the drag's own slot or of the mapping is touched yet.
  // (The five vertices and the drag's own.)
  EXPECT_TRUE(watcher.link.holdingMapping());
  EXPECT_EQ(m.MapVertexCount(), 6);
  EXPECT_EQ(watcher.Tri(0).mapIndex[0], grabSlot);
  EXPECT_EQ(m.mapVertices[static_cast<std::size_t>(grabSlot)].s, 10);
  view.MouseMove(ButtonEvent(MouseButton::Left, 28, 24, true));
  view.MouseUp(ButtonEvent(MouseButton::Left, 28, 24, false));

  // The drag is one step, the mapping taken after it another.
  EXPECT_FALSE(watcher.link.holdingMapping());
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(watcher.Corner(0, k).s, sent[static_cast<std::size_t>(k)].s);
    EXPECT_EQ(watcher.Corner(0, k).t, sent[static_cast<std::size_t>(k)].t);
  }
  EXPECT_EQ(watcher.Corner(1, 0).s, 10);
  EXPECT_EQ(watcher.w.document.history.UndoName(), "Transfer Mapping");
  ASSERT_TRUE(watcher.w.document.Undo());
  EXPECT_EQ(m.mapVertices[static_cast<std::size_t>(watcher.Tri(0).mapIndex[0])].s, 14);
  EXPECT_EQ(watcher.w.document.history.UndoName(), "Move Mapping Vertex");
  EXPECT_TRUE(watcher.ui.texts().empty());
}

TEST(InstanceLink, ABurstOfRefusedMappingsMakesOneComplaint) {
  // A Ui whose box lets more records in while it is up, as a modal box's
  // own event loop does.
  struct BusyUi : ScriptedUi {
    std::function<void()> whileShown;
    MsgAnswer Message(const std::string& text, MsgButtons buttons) override {
      if (auto arrive = std::exchange(whileShown, nullptr)) arrive();
      return ScriptedUi::Message(text, buttons);
    }
  };
  Workspace w;
  BusyUi ui;
  InstanceLink link(w, ui);  // no triangle selected: every mapping is refused
  std::vector<std::function<void()>> later;
  link.afterAnswer = [&](std::function<void()> job) { later.push_back(std::move(job)); };
  const auto block = Block(EncodeLinkRecord(MappingRecord{}));
  auto arrive = [&](int count) {
    for (int i = 0; i < count; ++i) EXPECT_EQ(link.HandleLinkMessage(kLinkBlockSize, block), 1);
  };

  arrive(56);
  ASSERT_EQ(later.size(), 1u);
  ui.whileShown = [&] { arrive(5); };
  auto job = std::move(later[0]);
  job();
  EXPECT_EQ(later.size(), 1u);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Watcher: Please only select 1 triange for this operation!"});

  // Once the box is closed, the next refusal is told again.
  arrive(1);
  EXPECT_EQ(later.size(), 2u);
}
