#include <gtest/gtest.h>

#include <cstring>

#include "editor/model_view.h"
#include "editor/workspace.h"
#include "link/instance_link.h"
#include "link/in_process_transport.h"
#include "support/fake_pane_host.h"
#include "support/scripted_ui.h"

namespace {


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
    view.MouseDown(ButtonEvent(c.button, 100, 120, true, c.shift));
    view.MouseMove(ButtonEvent(c.button, 130, 140, true, c.shift));
    view.MouseUp(ButtonEvent(c.button, 130, 140, false, c.shift));

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
