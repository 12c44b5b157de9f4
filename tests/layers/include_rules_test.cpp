#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "layers/include_rules.h"

TEST(IncludeRules, JudgesEachKindOfInclude) {
  struct Case {
    const char* file;
    const char* line;
    bool problem;
  };
  const Case cases[] = {
      {"render/mode.cpp", "#include \"shell/app.h\"", true},
      {"editor/view.cpp", "#include \"link/watcher.h\"", true},
      {"image/pcx.cpp", "  #  include \"model/model.h\"  // spaced", true},
      {"shell/qt/wnd.cpp", "#include \"cli/cli.h\"", true},  // qt/ belongs to its layer
      {"model/md2.cpp", "#include <QString>", true},
      {"render/mode.cpp", "#include \"platform/qt/qt_ui.h\"", true},
      {"shell/app.cpp", "#include \"render/rasterizer.h\"", false},
      {"link/send.cpp", "#include \"editor/view.h\"", false},
      {"render/fill.cpp", "#include \"render/rasterizer.h\"", false},
      {"render/fill.cpp", "#include \"rasterizer_span.h\"", false},
      {"main.cpp", "#include \"cli/cli.h\"", false},
      {"main.cpp", "#include \"shell/qt/editor_session.h\"", false},
      {"main.cpp", "#include <QApplication>", true},
      {"platform/qt/ui.cpp", "#include <QWidget>", false},
      {"shell/qt/wnd.cpp", "#include \"platform/qt/qt_ui.h\"", false},
      {"model/md2.cpp", "#include <vector>", false},
      {"model/md2.cpp", "// #include \"shell/app.h\"", false},
      {"image/pcx.cpp", "#include \"platform/ui.h\"", true},
      {"model/md2_load.h", "#include \"platform/show_file_error.h\"", true},
      {"model/md2_load.h", "#include \"platform/file_error.h\"", false},
      {"render/mode.cpp", "#include \"platform/ui.h\"", false},
      {"cli/cmd_model.cpp", "#include \"shell/app.h\"", true},
      {"cli/cmd_model.cpp", "#include \"editor/workspace.h\"", false},
  };
  for (const Case& c : cases) {
    const std::string problem = IncludeProblem(c.file, c.line);
    EXPECT_EQ(!problem.empty(), c.problem) << c.file << ": " << c.line << " -> " << problem;
    if (c.problem) {
      EXPECT_EQ(problem.rfind(c.file, 0), 0u) << problem;
    }
  }
}

TEST(IncludeRules, SourceTreeKeepsThem) {
  const std::filesystem::path src = std::filesystem::path(SKINTOOL_SOURCE_DIR) / "src";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    ++files;
    const std::string file = entry.path().lexically_relative(src).generic_string();
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) {
      const std::string problem = IncludeProblem(file, line);
      if (!problem.empty()) ADD_FAILURE() << problem;
    }
  }
  EXPECT_GT(files, 100);
}
