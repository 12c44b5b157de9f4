#include <gtest/gtest.h>

#include <cstring>

#include "editor/model_view.h"
#include "editor/workspace.h"
#include "link/instance_link.h"
#include "link/in_process_transport.h"
#include "support/scripted_ui.h"

namespace {

MouseEvent Event(MouseButton b, int x, int y, bool shift, bool down) {
  MouseEvent e;
  e.button = b;
  e.x = x;
  e.y = y;
  e.shift = shift;
  e.leftDown = down && b == MouseButton::Left;
  e.rightDown = down && b == MouseButton::Right;
  e.middleDown = down && b == MouseButton::Middle;
  return e;
}

}  // namespace

TEST(CameraFollow, EveryCameraDragOfTheSenderMovesTheWatchersCameraButALightDragDoesNot) {
  struct Case {
    const char* what;
    MouseButton button;
    bool shift;
    bool follows;
  };
  const Case cases[] = {{"orbit", MouseButton::Left, false, true},
                        {"field of view", MouseButton::Left, true, true},
                        {"pan", MouseButton::Right, false, true},
                        {"zoom", MouseButton::Middle, false, true},
                        {"light", MouseButton::Right, true, false}};
  for (const Case& c : cases) {
    InProcessDesk desk;
    ScriptedUi ui;
    Workspace senderSpace, watcherSpace;
    InProcessTransport senderEnd(desk), watcherEnd(desk);
    InstanceLink sender(senderSpace, ui), watcher(watcherSpace, ui);
    sender.transport = &senderEnd;
    watcher.transport = &watcherEnd;
    senderSpace.cameraDragged = [&] { sender.SendCameraToWatcher(); };
    watcher.ToggleWatch();
    sender.ToggleSyncCameras();
    desk.sentSizes.clear();
    watcherSpace.viewport.distance = 33;

    senderSpace.editor.cameraToggle = true;
    ModelView view(senderSpace);
    view.Resize(200, 200);
    view.MouseDown(Event(c.button, 100, 120, c.shift, true));
    view.MouseMove(Event(c.button, 130, 140, c.shift, true));
    view.MouseUp(Event(c.button, 130, 140, c.shift, false));

    EXPECT_EQ(desk.sentSizes.size(), c.follows ? 1u : 0u) << c.what;
    const Viewport& s = senderSpace.viewport;
    const Viewport& w = watcherSpace.viewport;
    if (c.follows) {
      EXPECT_EQ(std::memcmp(&w.rotation, &s.rotation, sizeof s.rotation), 0) << c.what;
      EXPECT_EQ(std::memcmp(w.pan, s.pan, sizeof s.pan), 0) << c.what;
      EXPECT_EQ(w.distance, s.distance) << c.what;
    } else {
      EXPECT_EQ(w.distance, 33.0f) << c.what;
    }
  }
}
