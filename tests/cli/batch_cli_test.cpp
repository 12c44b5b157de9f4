#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include "cli/cli_run.h"
#include "cli/demo_mesh.h"
#include "image/image_files.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

class BatchCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    base_ = dir_->File("baseq2");
    ASSERT_EQ(Cli({"demo", base_}).code, 0);
    demo_ = base_ + "/models/demo/tris.md2";
  }
  static void TearDownTestSuite() { delete dir_; }
  static TempDir* dir_;
  static std::string base_, demo_;
};
TempDir* BatchCli::dir_ = nullptr;
std::string BatchCli::base_, BatchCli::demo_;

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST_F(BatchCli, OneFailingInputLeavesTheOthersDoneAndExitsOne) {
  TempDir work;
  const std::string in = work.File("models"), out = work.File("out");
  fs::create_directories(in + "/sub");
  fs::copy_file(demo_, in + "/a.md2");
  WriteBytes(in + "/b.md2", {'I', 'D', 'P', '2', 1, 2});
  fs::copy_file(demo_, in + "/sub/c.md2");
  WriteBytes(in + "/notes.txt", {'x'});  // not the verb's kind: not an input
  CliRun r = Cli({"render", in, "--recursive", "--out-dir", out, "--size", "32x32", "-j", "2", "--base", base_});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            in + "/a.md2: ok\n  Rendered \"Textured\" 32x32 to " + out + "/a.png\n" +  //
                in + "/b.md2: failed\n" +                                              //
                in + "/sub/c.md2: ok\n  Rendered \"Textured\" 32x32 to " + out + "/sub/c.png\n" +
                "3 files: 2 ok, 1 failed\n");
  EXPECT_NE(r.err.find(in + "/b.md2"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(out + "/a.png") && fs::exists(out + "/sub/c.png"));
  EXPECT_FALSE(fs::exists(out + "/b.png"));
  // Several inputs of a writing verb need the folder to write into.
  EXPECT_NE(Cli({"info", in + "/a.md2", in + "/b.md2", "--base", base_}).out.find("2 files: 1 ok, 1 failed"),
            std::string::npos);
  EXPECT_EQ(Cli({"resave", in + "/a.md2", in + "/sub/c.md2", out + "/x.md2"}).code, 2);
}

TEST_F(BatchCli, RunsAtOnceGiveWhatOneAtATimeGives) {
  TempDir work;
  std::vector<std::string> models;
  for (const char* name : {"m1.md2", "m2.md2", "m3.md2", "m4.md2"}) {
    models.push_back(work.File(name));
    fs::copy_file(demo_, models.back());
  }
  for (const std::string verb : {"render", "check", "resave", "layout"}) {
    std::map<std::string, CliRun> runs;
    for (const char* jobs : {"1", "2"}) {
      std::vector<std::string> args = {verb};
      args.insert(args.end(), models.begin(), models.end());
      const std::string out = work.File(verb + "-j" + jobs);
      args.insert(args.end(), {"--out-dir", out, "-j", jobs, "--base", base_});
      if (verb == "render") args.insert(args.end(), {"--size", "64x48", "--mode", "2"});
      CliRun r = Cli(args);
      EXPECT_EQ(r.code, 0) << verb << r.err;
      r.out = std::regex_replace(r.out, std::regex("-j" + std::string(jobs)), "-jN");
      runs[jobs] = r;
    }
    EXPECT_EQ(runs["1"].out, runs["2"].out) << verb;
    EXPECT_EQ(runs["1"].err, runs["2"].err) << verb;
    for (const auto& entry : fs::directory_iterator(work.File(verb + "-j1")))
      EXPECT_EQ(ReadBytes(entry.path().string()),
                ReadBytes(work.File(verb + "-j2/") + entry.path().filename().string()))
          << entry.path();
  }
}

// A reader for what the program writes: objects, arrays, strings, numbers
// and true/false, as plain text values; throws on anything else.
struct Json {
  std::string text;  // a scalar's value, a string's decoded text
  std::vector<Json> items;
  std::map<std::string, Json> fields;
};
struct JsonReader {
  const std::string& s;
  std::size_t at = 0;
  char Next() {
    while (at < s.size() && std::isspace(static_cast<unsigned char>(s[at]))) ++at;
    if (at >= s.size()) throw std::runtime_error("cut short");
    return s[at];
  }
  void Expect(char c) {
    if (Next() != c) throw std::runtime_error(std::string("expected ") + c + " at " + std::to_string(at));
    ++at;
  }
  std::string String() {
    Expect('"');
    std::string out;
    for (char c; (c = s.at(at++)) != '"';) {
      if (static_cast<unsigned char>(c) < 0x20) throw std::runtime_error("raw control character");
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = s.at(at++);
      const std::map<char, char> simple = {{'"', '"'},  {'\\', '\\'}, {'/', '/'},  {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'},  {'b', '\b'}, {'f', '\f'}};
      if (simple.count(e)) {
        out += simple.at(e);
      } else if (e == 'u') {
        const unsigned code = std::stoul(s.substr(at, 4), nullptr, 16);
        at += 4;
        if (code < 0x80)
          out += static_cast<char>(code);
        else if (code == 0xFFFD)
          out += "\xEF\xBF\xBD";
        else
          throw std::runtime_error("unexpected escape");
      } else {
        throw std::runtime_error("bad escape");
      }
    }
    return out;
  }
  Json Value() {
    Json v;
    const char c = Next();
    if (c == '"') {
      v.text = String();
    } else if (c == '{' || c == '[') {
      ++at;
      const char close = c == '{' ? '}' : ']';
      while (Next() != close) {
        if (c == '{') {
          std::string key = String();
          Expect(':');
          v.fields[key] = Value();
        } else {
          v.items.push_back(Value());
        }
        if (Next() == ',') ++at;
      }
      ++at;
    } else {
      const std::size_t end = s.find_first_of(",}] \n", at);
      v.text = s.substr(at, end - at);
      at = end;
      if (!std::regex_match(v.text, std::regex("-?\\d+|true|false"))) throw std::runtime_error("bad value " + v.text);
    }
    return v;
  }
};

TEST_F(BatchCli, InfoJsonHoldsTheFactsOfThePlainText) {
  TempDir work;
  // A name JSON must escape, with a byte that is not UTF-8.
  const std::string model = work.File("we\"ird\\\x01\xff.md2");
  fs::copy_file(demo_, model);
  CliRun plain = Cli({"info", model, "--base", base_});
  CliRun json = Cli({"info", model, "--base", base_, "--json"});
  ASSERT_EQ(json.code, 0) << json.err;
  JsonReader reader{json.out};
  const Json info = reader.Value();
  EXPECT_EQ(info.fields.at("file").text, work.File("we\"ird\\\x01\xEF\xBF\xBD.md2"));
  const std::pair<const char*, const char*> rows[] = {
      {"Vertices", "vertices"},    {"Mapping Verts", "mappingVertices"}, {"Triangles", "triangles"},
      {"Frames", "frames"},        {"Linked Skins", "linkedSkins"},      {"External Skins", "externalSkins"},
      {"Skin Width", "skinWidth"}, {"Skin Height", "skinHeight"},        {"Wasted Space", "wastedSpace"}};
  for (const auto& [row, key] : rows) {
    std::smatch m;
    ASSERT_TRUE(std::regex_search(plain.out, m, std::regex(std::string("\n?") + row + ": (\\d+)%?\n"))) << row;
    EXPECT_EQ(info.fields.at(key).text, m[1].str()) << key;
  }
  ASSERT_EQ(info.fields.at("skins").items.size(), 1u);
  const Json& skin = info.fields.at("skins").items[0];
  EXPECT_NE(plain.out.find("Skins:\n  " + skin.fields.at("name").text + "\n"), std::string::npos) << plain.out;
  EXPECT_EQ(skin.fields.at("external").text, "false");
  EXPECT_EQ(skin.fields.at("temporary").text, "false");

  // Several models: one object a line on stdout, the report on stderr.
  CliRun two = Cli({"info", model, demo_, "--json", "--base", base_});
  std::istringstream lines(two.out);
  std::vector<std::string> files;
  for (std::string line; std::getline(lines, line);) {
    JsonReader each{line};
    files.push_back(each.Value().fields.at("file").text);
  }
  EXPECT_EQ(files, (std::vector<std::string>{info.fields.at("file").text, demo_}));
  EXPECT_NE(two.err.find("2 files: 2 ok"), std::string::npos);
}

TEST_F(BatchCli, BashCompletionOffersEveryVerbTheHelpLists) {
  const std::string script =
      ReadText((fs::path(SKINTOOL_TEST_DATA).parent_path().parent_path() / "tools/skintool.bash-completion").string());
  std::smatch m;
  ASSERT_TRUE(std::regex_search(script, m, std::regex("verbs=\"([^\"]*)\"")));
  std::set<std::string> offered;
  std::istringstream words(m[1].str());
  for (std::string w; words >> w;) offered.insert(w);
  std::set<std::string> listed;
  std::istringstream help(Cli({"--help"}).out);
  for (std::string line; std::getline(help, line) && line.rfind("exit codes", 0) != 0;)
    if (std::regex_search(line, m, std::regex("^  ([a-z]+) "))) listed.insert(m[1].str());
  EXPECT_EQ(offered, listed);
}

// The demo creature scaled and moved, so its size and place tell nothing.
std::string PlacedDemo(const std::string& path, float scale, std::array<float, 3> offset) {
  DemoMesh mesh = BuildDemoMesh();
  for (auto& frame : mesh.frames)
    for (auto& p : frame.positions)
      for (int a = 0; a < 3; ++a) p[a] = p[a] * scale + offset[a];
  WriteBytes(path, EncodeDemoMd2(mesh, "models/demo/skin.pcx"));
  return path;
}

TEST_F(BatchCli, DefaultFramingKeepsModelsOfAnySizeAndPlaceInsideThePicture) {
  const struct {
    float scale;
    std::array<float, 3> offset;
    const char* view;
    const char* size;
  } cases[] = {
      {0.02f, {0, 0, 0}, "front", "160x120"},       {40.0f, {0, 0, 0}, "front", "160x120"},
      {1.0f, {900, -700, 400}, "front", "160x120"}, {0.2f, {-50, 30, -500}, "left", "90x200"},
      {5.0f, {0, 0, 3000}, "top", "203x77"},
  };
  for (const auto& c : cases) {
    const std::string model = PlacedDemo(base_ + "/models/demo/placed.md2", c.scale, c.offset);
    const std::string out = dir_->File("placed.bmp");
    CliRun r = Cli({"render", model, out, "--no-guide", "--view", c.view, "--size", c.size});
    ASSERT_EQ(r.code, 0) << r.err;
    ScriptedUi ui;
    auto picture = Shown(ui, LoadSkinImage(out));
    ASSERT_TRUE(picture);
    const int w = picture->width, h = picture->height;
    const std::uint8_t background = picture->pixels[0];
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (picture->pixels[static_cast<std::size_t>(y * w + x)] != background) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    const std::string what = std::to_string(c.scale) + " " + c.view;
    // Off every edge, and filling the picture one way or the other.
    EXPECT_GT(left, 0) << what;
    EXPECT_GT(top, 0) << what;
    EXPECT_LT(right, w - 1) << what;
    EXPECT_LT(bottom, h - 1) << what;
    EXPECT_TRUE(right - left > w * 3 / 4 || bottom - top > h * 3 / 4)
        << what << ": " << left << ".." << right << " x " << top << ".." << bottom;
  }
}

}  // namespace
