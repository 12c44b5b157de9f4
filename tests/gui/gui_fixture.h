#pragma once
// A real editor window over scripted answers: a base folder with the demo
// creature, a profile in memory, the offscreen Qt platform.

#include <memory>
#include <string>

#include <QApplication>

#include "platform/profile.h"
#include "support/scripted_ui.h"
#include "shell/qt/editor_session.h"
#include "support/test_support.h"

// The one QApplication of the suite, on the offscreen platform.
QApplication& TestApp();

struct GuiFixture {
  GuiFixture();
  ~GuiFixture();

  // An external skin file of the model's size under the base folder; its
  // pixels all `fill`.
  std::string WriteSkinFile(const std::string& name, int fill, int width = 256, int height = 256);
  // Start-up with `commandLine` (as typed after the program name); the
  // window is shown and every posted message handled.
  bool Start(const std::string& commandLine);
  // Lets Qt deliver what is pending and drains the program's own queue.
  void Pump();

  FolderGuard folderGuard;
  TempDir dir;
  std::string base;
  std::string model;  // the demo creature's tris.md2
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<EditorSession> session;
};
