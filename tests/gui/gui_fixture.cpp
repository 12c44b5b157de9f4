#include "gui/gui_fixture.h"

#include <filesystem>

#include "cli/demo_images.h"
#include "cli/demo_mesh.h"
#include "image/image_files.h"
#include "image/new_skin.h"
#include "shell/qt/guarded_application.h"
#include "shell/qt/main_wnd.h"

QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new GuardedApplication(argc, argv);
  return *app;
}

GuiFixture::GuiFixture() {
  TestApp();
  base = dir.path() + "/baseq2";
  std::filesystem::create_directories(base + "/models/demo");
  const DemoMesh mesh = BuildDemoMesh();
  Skin skin = PaintDemoSkin(mesh, DemoPalette());
  model = base + "/models/demo/tris.md2";
  WriteBytes(model, EncodeDemoMd2(mesh, "models/demo/skin.pcx"));
  WriteBytes(base + "/models/demo/skin.pcx", EncodePcx(skin));
  profile.WriteString("Project", "BaseDir", base);
  profile.WriteInt("Preferences", "Skip Intro", 1);
}

GuiFixture::~GuiFixture() { session.reset(); }

std::string GuiFixture::WriteSkinFile(const std::string& name, int fill, int width, int height) {
  auto s = MakeBlankSkin(name, width, height, GreyRampPalette());
  FillSkin(*s, static_cast<std::uint8_t>(fill));
  const std::string path = base + "/" + name;
  WriteBytes(path, EncodePcx(*s));
  return path;
}

bool GuiFixture::Start(const std::string& commandLine) {
  session = std::make_unique<EditorSession>(ui, profile);
  StartupOptions options;
  options.commandLine = commandLine;
  if (!session->Start(options, 900, 640)) return false;
  session->mainWnd().show();
  Pump();
  return true;
}

void GuiFixture::Pump() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    if (session) session->mainWnd().SettleChanges();
  }
}
