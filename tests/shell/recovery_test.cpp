#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "editor/document_bytes.h"
#include "editor/recovery_copy.h"
#include "editor/settle_skins.h"
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
    std::uint8_t& texel = app->model.CurrentSkin()->pixels[0];
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
    EXPECT_EQ(FilesIn(d.Copy()), 1u + 1u + 1u + 1u + 2u) << "lock, index, journal, model and one file per skin";

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
      {"corner naming a vertex past the last", mesh([](Model& m) { m.triangles[1].vertexIndex[2] = m.VertexCount(); })},
      {"corner naming a mapping vertex past the last",
       mesh([](Model& m) { m.triangles[0].mapIndex[0] = m.MapVertexCount(); })},
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

// The copy comes with the first unsaved step, whatever the interval; the
// steps after it go to its journal, and a new copy follows only when the
// journal cannot describe what happened.
TEST(Recovery, ACopyComesWithTheFirstUnsavedStepAndTheJournalCarriesTheRest) {
  for (int minutes : {0, 2}) {
    Desk d;
    d.app->recovery.SetIntervalMinutes(minutes);
    EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0)) << "nothing unsaved";
    d.Step();
    EXPECT_TRUE(d.app->recovery.Poll(d.app->document, 1)) << minutes;
    ASSERT_EQ(d.app->recovery.writer().Wait(), 0);
    d.Steps(60);
    ASSERT_TRUE(d.app->document.Undo());
    EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 10 * 60 * 1000)) << "the journal keeps up";
    d.app->recovery.journal().Flush();
    EXPECT_EQ(d.app->recovery.journal().durable(), d.app->recovery.moves());
    d.app->document.history.Clear();  // what another model does
    EXPECT_TRUE(d.app->recovery.Poll(d.app->document, 10 * 60 * 1000)) << "the journal stopped at the reset";
    d.app->recovery.writer().Wait();
  }

  Desk d;
  d.Steps(49);
  {
    DocumentStep stroke(d.app->document, "Stroke", STEP_CURRENT_SKIN);
    d.app->model.CurrentSkin()->pixels[5] ^= 1;
    EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0)) << "never inside a step";
  }
  EXPECT_TRUE(d.app->recovery.Poll(d.app->document, 0));
  d.app->recovery.writer().Wait();
  EXPECT_FALSE(d.app->recovery.Poll(d.app->document, 0)) << "nothing new since the copy";
  d.ui.QueueFile(d.base + "/models/quad.pcx");
  ASSERT_TRUE(SaveSkin(*d.app, *d.app->model.CurrentSkin()));
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
  ASSERT_GE(expected->document.history.stepsRecorded(), 1u);
  expected->RefreshAll();  // as the start does once the work is back

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

namespace {

// A child playing the scripted run, killed `ms` milliseconds after its first
// edit; the lines it said by then. Reaped before returning.
std::vector<std::string> RunScriptChildFor(const std::string& state, const std::string& work, int edits, int ms) {
  int out[2];
  if (::pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string args[] = {RECOVERY_CHILD, state, work, std::to_string(edits), "script"};
  char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), args[4].data(), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, RECOVERY_CHILD, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    return {};
  }
  // The moment counts from the first edit, however slowly the child started.
  std::vector<std::string> lines;
  FILE* said = ::fdopen(out[0], "r");
  char line[256];
  if (std::fgets(line, sizeof line, said)) lines.emplace_back(line);
  ::usleep(static_cast<useconds_t>(ms) * 1000);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  while (std::fgets(line, sizeof line, said)) lines.emplace_back(line);
  std::fclose(said);
  return lines;
}

// The state as the skin bar leaves it once shown: a restore is followed by
// that at start, and the run may have been killed between a step and it.
State SettledOf(App& app) {
  SettleSkins(app.model);
  return Of(app);
}

struct Said {
  int edit = -1;
  std::uint64_t moves = 0, durable = 0;
  std::size_t position = 0;
};

}  // namespace

// Killed at random moments of a scripted run of strokes, selections, mapping
// commands, undo and redo, the next start brings back the document as it was
// after an edit the child had finished (never older than what its copy and
// journal had on disk), and Undo walks back through the journal's steps.
TEST(RecoveryAfterKill, AJournalledRunKilledAtRandomComesBackAfterItsLastFinishedStep) {
  constexpr int kEdits = 90;
  constexpr int kRuns = 50;
  TempDir dir;
  const std::string work = dir.File("work");
  // What the document is after each edit, played here.
  std::vector<State> after;
  {
    Desk d;
    d.app->baseFolder = work;
    ASSERT_EQ(d.app->LoadMd2(recovery_session::WriteQuadModel(work)), 1);
    d.app->document.currentFile = work + "/models/quad.md2";
    for (int i = 0; i < kEdits; ++i) {
      recovery_session::PlayScript(*d.app, i, 1);
      after.push_back(SettledOf(*d.app));
    }
  }
  std::mt19937 random(20261207);
  int restoredRuns = 0, journalRuns = 0;
  for (int run = 0; run < kRuns; ++run) {
    const std::string state = dir.File("state-" + std::to_string(run));
    const std::vector<std::string> lines =
        RunScriptChildFor(state, work, kEdits, static_cast<int>(random() % 250));
    std::vector<Said> said;
    for (const std::string& line : lines) {
      Said s;
      unsigned long long moves = 0, durable = 0;
      if (std::sscanf(line.c_str(), "%d %llu %llu %zu", &s.edit, &moves, &durable, &s.position) == 4) {
        s.moves = moves;
        s.durable = durable;
        said.push_back(s);
      }
    }
    // The copy on disk, if its index was written, and the move it ends at.
    std::string copy;
    std::uint64_t copyEnds = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(state, ec))
      if (entry.path().filename().string().rfind("recovery-", 0) == 0) copy = entry.path().string();
    std::optional<RecoveryIndex> index = copy.empty() ? std::nullopt : ReadRecoveryIndex(copy);
    if (index && index->journalAfter) copyEnds = *index->journalAfter;

    Desk d;
    d.app->recovery.SetRoot(state, CurrentProcessId());
    d.ui.Clear();
    d.ui.QueueAnswer(MsgAnswer::Yes);
    const bool restored = OfferRecovery(*d.app);
    ASSERT_EQ(restored, index.has_value()) << "run " << run;
    if (!restored) continue;
    ++restoredRuns;
    // Edits whose moves were on disk must be back; the one under way when
    // the kill came may be too.
    const std::uint64_t onDisk = std::max(copyEnds, said.empty() ? 0 : said.back().durable);
    int lowest = -1;
    for (const Said& s : said)
      if (s.moves <= onDisk) lowest = s.edit;
    const int highest = said.empty() ? kEdits - 1 : std::min(said.back().edit + 1, kEdits - 1);
    ASSERT_GE(lowest, 0) << "run " << run << ": a copy without a finished edit";
    const State now = SettledOf(*d.app);
    int k = -1;
    for (int e = highest; e >= lowest && k < 0; --e)
      if (after[static_cast<std::size_t>(e)] == now) k = e;
    ASSERT_GE(k, 0) << "run " << run << ": restored no state between edits " << lowest << " and " << highest;
    if (static_cast<std::uint64_t>(said[static_cast<std::size_t>(lowest)].moves) > copyEnds) ++journalRuns;

    // Undo walks back the way the run itself would have.
    auto reference = d.Fresh();
    reference->baseFolder = work;
    ASSERT_EQ(reference->LoadMd2(work + "/models/quad.md2"), 1);
    reference->document.currentFile = work + "/models/quad.md2";
    for (int e = 0; e <= k; ++e) {
      recovery_session::PlayScript(*reference, e, 1);
      SettleSkins(reference->model);
    }
    std::size_t atCopy = 0;
    for (const Said& s : said)
      if (s.moves == copyEnds) atCopy = s.position;
    const std::size_t referencePosition = reference->document.history.position();
    std::size_t undone = 0;
    while (d.app->document.Undo()) {
      ASSERT_TRUE(reference->document.Undo()) << "run " << run;
      ASSERT_EQ(SettledOf(*d.app), SettledOf(*reference)) << "run " << run << ", undo " << undone + 1;
      ++undone;
    }
    // Every step since the copy can be undone, whatever came before it.
    EXPECT_GE(undone + atCopy, referencePosition) << "run " << run;
  }
  // The moments were spread: most runs restored something, and some of it
  // came from the journal rather than the copy alone.
  EXPECT_GE(restoredRuns, kRuns / 2);
  EXPECT_GE(journalRuns, 1);
}
