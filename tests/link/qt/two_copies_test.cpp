// Two processes, each with its own model and link, talking through the real
// transport: one watches, the other sends a triangle's mapping and its
// camera, and the watcher's model and camera change.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/workspace.h"
#include "link/instance_link.h"
#include "platform/headless_ui.h"
#include "platform/qt/qt_link_transport.h"
#include "support/test_support.h"

namespace {

// One selected triangle with its corners at `base`, `base` + (10, 0) and
// `base` + (0, 10) on a 64 x 64 skin.
void OneSelectedTriangle(Workspace& ws, float base) {
  Model& m = ws.model;
  m.skinWidth = m.skinHeight = 64;
  m.SetTriangleCount(1);
  m.SetVertexCount(3);
  Triangle& t = m.triangles[0];
  t.flags = TRI_SELECTED;
  const MapVertex corners[3] = {{base, base}, {base + 10, base}, {base, base + 10}};
  for (int k = 0; k < 3; ++k) {
    t.vertexIndex[k] = static_cast<std::int16_t>(k);
    t.cornerMap[k] = corners[k];
  }
  m.WeldMapVertices(0);
}

// The watcher: takes two messages (mapping, then camera), then writes what
// it holds to `report` and ends.
[[noreturn]] void RunWatcher(const std::string& report, const LinkPlace& place) {
  int argc = 1;
  char arg0[] = "watcher";
  char* argv[] = {arg0, nullptr};
  QCoreApplication app(argc, argv);
  std::ostringstream quiet;
  HeadlessUi ui(quiet);
  Workspace ws;
  OneSelectedTriangle(ws, 1);
  InstanceLink link(ws, ui);
  QtLinkTransport transport(place);
  link.transport = &transport;
  std::string title = "watcher";
  link.windowTitle = [&] { return title; };
  link.setWindowTitle = [&](const std::string& t) { title = t; };
  link.redrawModelViewNow = [&] { QTimer::singleShot(0, &app, &QCoreApplication::quit); };
  link.ToggleWatch();
  if (!link.watching()) _exit(3);
  app.exec();
  std::ofstream out(report);
  const Triangle& t = ws.model.triangles[0];
  for (int k = 0; k < 3; ++k) out << t.cornerMap[k].s << ' ' << t.cornerMap[k].t << ' ';
  out << ws.viewport.distance << '\n';
  out.close();
  _exit(0);
}

}  // namespace

TEST(TwoCopies, AWatcherInAnotherProcessTakesTheMappingAndTheCamera) {
  TempDir dir;
  ::chmod(dir.path().c_str(), 0700);  // the link lives only in a folder of ours alone
  const std::string report = dir.File("watcher.txt");
  const LinkPlace place{dir.path(), "two-copies"};
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) RunWatcher(report, place);

  std::ostringstream messages;
  HeadlessUi ui(messages);
  Workspace ws;
  OneSelectedTriangle(ws, 20);
  InstanceLink link(ws, ui);
  QtLinkTransport transport(place);
  link.transport = &transport;
  for (int tries = 0; tries < 1000 && !transport.WatcherPresent(); ++tries)
    ::usleep(10000);
  link.TransferMapping();
  ws.viewport.distance = 123.5f;
  link.ToggleSyncCameras();
  link.SendCameraToWatcher();

  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << messages.str();
  std::ifstream in(report);
  float values[7] = {};
  for (float& v : values) in >> v;
  EXPECT_EQ(values[0], 20.0f);
  EXPECT_EQ(values[1], 20.0f);
  EXPECT_EQ(values[2], 30.0f);
  EXPECT_EQ(values[5], 30.0f);
  EXPECT_EQ(values[6], 123.5f);
  EXPECT_EQ(messages.str(), "");
}
