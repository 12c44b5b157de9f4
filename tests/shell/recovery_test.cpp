#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "editor/document_bytes.h"
#include "editor/recovery_copy.h"
#include "editor/skin_fingerprint.h"
#include "image/new_skin.h"
#include "platform/process_id.h"
#include "platform/profile.h"
#include "shell/quit.h"
#include "shell/recovery.h"
#include "shell/recovery_session.h"
#include "shell/skin_commands.h"
#include "shell/startup.h"
#include "support/model_bytes.h"
#include "support/scripted_ui.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// What a restore must give back, gathered apart from the copy's own code.
struct State {
  std::vector<std::uint8_t> model;
  std::vector<std::uint8_t> md2Image;
  std::string file;
  std::vector<bool> modified;
  bool operator==(const State&) const = default;
};

State Of(const App& app) {
  State s{ModelBytes(app.model), app.document.md2Image, app.document.currentFile, {}};
  for (const auto& skin : app.model.skins) s.modified.push_back(SkinChanged(*skin));
  return s;
}

// The quad model loaded into an App whose copies go below state/.
struct Desk {
  TempDir dir;
  ScriptedUi ui;
  MemoryProfile profile;
  std::string base = dir.path() + "/base";
  std::string state = dir.path() + "/state";
  std::string model = recovery_session::WriteQuadModel(base);
  std::unique_ptr<App> app = Fresh();

  Desk() {
    EXPECT_EQ(app->LoadMd2(model), 1);
    app->document.currentFile = model;
  }
  std::unique_ptr<App> Fresh() {
    profile.WriteInt("Preferences", "DirScan_Prompt", 1);
    auto a = std::make_unique<App>(ui, profile);
    a->baseFolder = base;
    a->recovery.SetRoot(state, CurrentProcessId());
    return a;
  }
  // One undo step that changes one texel of the current skin.
  void Step() {
    DocumentStep step(app->document, "Paint", STEP_CURRENT_SKIN);
    std::uint8_t& texel = app->model.currentSkin->pixels[0];
    texel = static_cast<std::uint8_t>(texel + 1);
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) Step();
  }
  std::string Copy() const { return app->recovery.folder(); }
};

int DeadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return static_cast<int>(child);
}

std::size_t FilesIn(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

}  // namespace

TEST(Recovery, RestoresStrokesAndMeshEditsExactlyAsUnsavedWork) {
  Desk d;
  auto extra = MakeBlankSkin("/elsewhere/extra.pcx", 32, 32, GreyRampPalette());
  extra->flags |= SKIN_EXTERNAL;
  AppendSkin(*d.app, std::move(extra));
  d.app->model.skins[1]->modified = false;  // a skin the edits leave alone
  d.app->model.currentSkinIndex = 0;
  d.app->model.currentSkin = d.app->model.skins[0].get();
  recovery_session::PlayEdits(*d.app, 0, 30);
  // Selection and a hidden face are part of what must come back.
  ASSERT_NE(d.app->model.triangles[0].flags & TRI_HIDDEN, 0u);
  ASSERT_FALSE(d.app->document.MeshChanged());  // neither is saved with the model
  recovery_session::Run(*d.app, "&Unhide All\tShift+H");
  recovery_session::Run(*d.app, "Flip Selected Faces");
  recovery_session::Run(*d.app, "&Hide Selected Faces\tCtrl+H");

  for (int round = 0; round < 2; ++round) {
    if (round == 1) recovery_session::PlayEdits(*d.app, 30, 5);  // a later copy replaces the first whole
    const State before = Of(*d.app);
    ASSERT_TRUE(d.app->recovery.WriteNow(d.app->document, 0));
    ASSERT_EQ(d.app->recovery.writer().Wait(), 0);
    EXPECT_EQ(FilesIn(d.Copy()), 1u + 1u + 1u + 2u) << "lock, index, model and one file per skin";

    auto restored = d.Fresh();
    std::string why;
    auto snapshot = ReadRecoveryCopy(d.Copy(), &why);
    ASSERT_TRUE(snapshot) << why;
    ASSERT_TRUE(RestoreRecoverySnapshot(restored->document, *snapshot, &why)) << why;
    EXPECT_EQ(Of(*restored), before);
    EXPECT_EQ(MeshBytes(restored->model), MeshBytes(d.app->model));
    EXPECT_EQ(before.modified, (std::vector<bool>{true, false}));
    EXPECT_TRUE(restored->document.MeshChanged());
    EXPECT_FALSE(restored->document.history.CanUndo());
  }
}

TEST(Recovery, ADamagedCopyIsRefusedWithAReason) {
  struct Case {
    const char* name;
    std::function<void(const std::string& folder)> damage;
  };
  auto edit = [](const std::string& path, const std::function<void(std::vector<std::uint8_t>&)>& change) {
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    change(bytes);
    WriteBytes(path, bytes);
  };
  auto replaceInIndex = [edit](const std::string& from, const std::string& to) {
    return [edit, from, to](const std::string& folder) {
      edit(folder + "/index.txt", [&](std::vector<std::uint8_t>& b) {
        std::string text(b.begin(), b.end());
        text.replace(text.find(from), from.size(), to);
        b.assign(text.begin(), text.end());
      });
    };
  };
  const Case cases[] = {
      {"index missing", [](const std::string& f) { fs::remove(f + "/index.txt"); }},
      {"index cut short",
       [edit](const std::string& f) { edit(f + "/index.txt", [](auto& b) { b.resize(b.size() / 2); }); }},
      {"index of another format", replaceInIndex("format 1", "format 2")},
      {"index naming a file outside", replaceInIndex("file model-1.bin", "file ../model-1.bin")},
      {"skin file missing", [](const std::string& f) { fs::remove(f + "/skin-1-0.bin"); }},
      {"skin file longer",
       [edit](const std::string& f) { edit(f + "/skin-1-0.bin", [](auto& b) { b.push_back(0); }); }},
      {"model file with a changed byte",
       [edit](const std::string& f) { edit(f + "/model-1.bin", [](auto& b) { b[b.size() / 2] ^= 1; }); }},
  };
  Desk d;
  recovery_session::PlayEdits(*d.app, 0, 3);
  const RecoverySnapshot snapshot = TakeRecoverySnapshot(d.app->document);
  for (const Case& c : cases) {
    const std::string folder = d.dir.File(c.name);
    ASSERT_EQ(WriteRecoveryCopy(folder, snapshot, "1", 0, 1), 0);
    c.damage(folder);
    std::string why;
    EXPECT_FALSE(ReadRecoveryCopy(folder, &why)) << c.name;
    EXPECT_FALSE(why.empty()) << c.name;
  }
}

TEST(Recovery, ContentsThatDoNotHoldUpLeaveTheDocumentAsItWas) {
  struct Case {
    const char* name;
    std::function<void(RecoverySnapshot&)> damage;
  };
  auto mesh = [](const std::function<void(Model&)>& change) {
    return [change](RecoverySnapshot& s) {
      Model m;
      ASSERT_TRUE(SetMeshBytes(m, s.mesh));
      change(m);
      s.mesh = MeshBytes(m);
    };
  };
  const Case cases[] = {
      {"corner naming a vertex past the last", mesh([](Model& m) { m.triangles[1].vertexIndex[2] = m.numVertices; })},
      {"corner naming a mapping vertex past the last",
       mesh([](Model& m) { m.triangles[0].mapIndex[0] = m.numMapVertices; })},
      {"mesh cut short", [](RecoverySnapshot& s) { s.mesh.pop_back(); }},
      {"MD2 cut short", [](RecoverySnapshot& s) { s.md2Image.resize(40); }},
      {"skin one pixel short", [](RecoverySnapshot& s) { s.skins[0].pixels.pop_back(); }},
      {"stored pixels of another size", [](RecoverySnapshot& s) { s.skins[0].storedPixels.push_back(0); }},
      {"current skin past the last", [](RecoverySnapshot& s) { s.currentSkinIndex = 1; }},
      {"current frame past the last", [](RecoverySnapshot& s) { s.currentFrameIndex = 1; }},
  };
  Desk d;
  recovery_session::PlayEdits(*d.app, 0, 3);
  const RecoverySnapshot good = TakeRecoverySnapshot(d.app->document);
  recovery_session::PlayEdits(*d.app, 3, 2);
  const State before = Of(*d.app);
  for (const Case& c : cases) {
    RecoverySnapshot bad = good;
    c.damage(bad);
    std::string why;
    EXPECT_FALSE(RestoreRecoverySnapshot(d.app->document, bad, &why)) << c.name;
    EXPECT_FALSE(why.empty()) << c.name;
    EXPECT_EQ(Of(*d.app), before) << c.name;
    EXPECT_TRUE(d.app->document.history.CanUndo()) << c.name;
  }
}

TEST(Recovery, ACopyFollowsFiftyStepsOrTheIntervalOnlyWhileWorkIsUnsaved) {
  struct Case {
    const char* name;
    int minutes;
    int steps;
    std::int64_t at;  // ms after the first unsaved step was seen
    bool copied;
  };
  const Case cases[] = {
      {"49 steps within the interval", 2, 49, 1000, false},
      {"50 steps", 2, 50, 1000, true},
      {"one step, interval not yet over", 2, 1, 119999, false},
      {"one step, interval over", 2, 1, 120000, true},
      {"no timed copies", 0, 49, 100000000, false},
  };
  for (const Case& c : cases) {
    Desk d;
    d.app->recovery.SetIntervalMinutes(c.minutes);
    d.Step();
    EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0)) << c.name;
    d.Steps(c.steps - 1);
    EXPECT_EQ(d.app->recovery.Poll(d.app->document, c.at), c.copied) << c.name;
    d.app->recovery.writer().Wait();
    EXPECT_EQ(fs::exists(d.Copy() + "/index.txt"), c.copied) << c.name;
  }

  Desk d;
  d.Steps(49);
  {
    DocumentStep stroke(d.app->document, "Stroke", STEP_CURRENT_SKIN);
    d.app->model.currentSkin->pixels[5] ^= 1;
    EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0)) << "never inside a step";
  }
  EXPECT_TRUE(d.app->recovery.Poll(d.app->document, 0));
  d.app->recovery.writer().Wait();
  EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0)) << "nothing new since the copy";
  d.ui.QueueFile(d.base + "/models/quad.pcx");
  ASSERT_TRUE(SaveSkin(*d.app, *d.app->model.currentSkin));
  EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0));
  EXPECT_FALSE(fs::exists(d.Copy())) << "saved: nothing left to recover";

  d.Steps(50);
  ASSERT_TRUE(d.app->recovery.Poll(d.app->document, 0));
  d.ui.QueueAnswer(MsgAnswer::Yes);  // quit
  d.ui.QueueAnswer(MsgAnswer::No);   // and leave the skin unsaved
  ASSERT_TRUE(ConfirmQuit(*d.app));
  EXPECT_FALSE(fs::exists(d.Copy())) << "the user answered for the unsaved work";
  d.Steps(50);
  EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0)) << "no copies after quitting";
}

TEST(Recovery, StartOffersTheCopiesOfEndedRunsNewestFirst) {
  Desk d;
  recovery_session::PlayEdits(*d.app, 0, 5);
  const RecoverySnapshot older = TakeRecoverySnapshot(d.app->document);
  const State olderState = Of(*d.app);
  recovery_session::PlayEdits(*d.app, 5, 5);
  const RecoverySnapshot newer = TakeRecoverySnapshot(d.app->document);
  const int olderPid = DeadPid(), newerPid = DeadPid();
  const std::time_t olderTime = 1700000000;  // 14 November 2023
  const std::string olderCopy = d.state + "/recovery-" + std::to_string(olderPid);
  const std::string newerCopy = d.state + "/recovery-" + std::to_string(newerPid);
  const std::string liveCopy = d.state + "/recovery-" + std::to_string(::getppid());
  ASSERT_EQ(WriteRecoveryCopy(olderCopy, older, "1", olderTime, olderPid), 0);
  ASSERT_EQ(WriteRecoveryCopy(newerCopy, newer, "1", olderTime + 3600, newerPid), 0);
  ASSERT_EQ(WriteRecoveryCopy(liveCopy, newer, "1", olderTime + 7200, ::getppid()), 0);

  auto app = d.Fresh();
  d.ui.Clear();
  d.ui.QueueAnswer(MsgAnswer::No);
  d.ui.QueueAnswer(MsgAnswer::Yes);
  ASSERT_TRUE(OfferRecovery(*app));
  const std::vector<std::string> texts = d.ui.texts();
  ASSERT_EQ(texts.size(), 2u) << "the running copy's work is not offered";
  EXPECT_EQ(texts[1], "Restore the unsaved work of " + RecoveryDateText(olderTime) + "?");
  EXPECT_NE(texts[1].find("2023"), std::string::npos);
  EXPECT_EQ(d.ui.shown()[1].buttons, MsgButtons::YesNo);
  EXPECT_EQ(Of(*app), olderState);
  EXPECT_FALSE(fs::exists(newerCopy)) << "No discards";
  EXPECT_FALSE(fs::exists(olderCopy)) << "restored work lives on in this run's copy";
  EXPECT_TRUE(fs::exists(app->recovery.folder() + "/index.txt"));
  EXPECT_TRUE(fs::exists(liveCopy));
}

TEST(Recovery, StartSetsADamagedCopyAsideAndKeepsTheDocument) {
  Desk d;
  recovery_session::PlayEdits(*d.app, 0, 2);
  const int pid = DeadPid();
  const std::string copy = d.state + "/recovery-" + std::to_string(pid);
  ASSERT_EQ(WriteRecoveryCopy(copy, TakeRecoverySnapshot(d.app->document), "1", 0, pid), 0);
  std::vector<std::uint8_t> model = ReadBytes(copy + "/model-1.bin");
  model[20] ^= 0xFF;
  WriteBytes(copy + "/model-1.bin", model);

  const State before = Of(*d.app);
  d.ui.Clear();
  d.ui.QueueAnswer(MsgAnswer::Yes);
  EXPECT_FALSE(OfferRecovery(*d.app));
  ASSERT_EQ(d.ui.texts().size(), 2u);
  EXPECT_EQ(d.ui.texts()[1].rfind("The unsaved work could not be restored: ", 0), 0u) << d.ui.texts()[1];
  EXPECT_EQ(Of(*d.app), before);
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_TRUE(fs::exists(d.state + "/damaged-recovery-" + std::to_string(pid) + "/model-1.bin"));
}

// The program is killed outright after its copy is written; the next start,
// at once, gets back exactly what it had painted.
TEST(RecoveryAfterKill, TheNextStartRestoresWhatTheKilledProcessPainted) {
  Desk d;
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const std::string work = d.dir.File("child");
  std::string args[] = {RECOVERY_CHILD, d.state, work, "200"};
  char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, RECOVERY_CHILD, &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  FILE* said = ::fdopen(out[0], "r");
  int played = 0;
  const bool copied = std::fscanf(said, "copied %d", &played) == 1;
  std::fclose(said);
  ::kill(child, SIGKILL);
  // Dead but not reaped: its process id still names an entry, as after a
  // kill whose parent has not looked yet.
  siginfo_t ended{};
  ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT), 0);
  struct Reap {
    pid_t pid;
    ~Reap() { ::waitpid(pid, nullptr, 0); }
  } reap{child};
  ASSERT_TRUE(copied) << "the child ended without a copy";
  ASSERT_TRUE(ended.si_code == CLD_KILLED && ended.si_status == SIGKILL);

  // The same model and edits played here give what the copy must hold.
  auto expected = d.Fresh();
  expected->baseFolder = work;
  ASSERT_EQ(expected->LoadMd2(work + "/models/quad.md2"), 1);
  expected->document.currentFile = work + "/models/quad.md2";
  recovery_session::PlayEdits(*expected, 0, played);
  ASSERT_GE(expected->document.history.stepsRecorded(), kRecoveryEverySteps);

  // The next start restores the work in place of the last model.
  auto next = d.Fresh();
  d.profile.WriteString("Project", "BaseDir", d.base);
  d.profile.WriteString("Project", "CurFile", d.model);
  d.ui.Clear();
  d.ui.QueueAnswer(MsgAnswer::Yes);
  ASSERT_TRUE(RunModelStartup(*next, StartupOptions{}));
  EXPECT_EQ(d.ui.texts().size(), 1u);
  EXPECT_EQ(Of(*next), Of(*expected));
  EXPECT_EQ(d.profile.GetString("Project", "CurFile", ""), work + "/models/quad.md2");
  EXPECT_EQ(next->document.MeshChanged(), expected->document.MeshChanged());
  EXPECT_EQ(next->model.skins[0]->pixels, expected->model.skins[0]->pixels);
  EXPECT_FALSE(fs::exists(d.state + "/recovery-" + std::to_string(child)));
}
