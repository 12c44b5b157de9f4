#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "editor/byte_io.h"
#include "editor/document.h"
#include "editor/recovery_copy.h"
#include "editor/recovery_journal.h"
#include "image/new_skin.h"
#include "support/model_bytes.h"
#include "support/test_support.h"

namespace {

// Two skins and a mapping without triangles (a model without frames holds
// none that the journal's player would accept).
void Start(Document& d) {
  d.model.SetMapVertexCount(4);
  for (std::uint8_t fill : {10, 20}) {
    auto s = MakeBlankSkin(fill == 10 ? "a" : "b", 32, 16, GreyRampPalette());
    FillSkin(*s, fill);
    d.model.skins.push_back(std::move(s));
  }
  d.model.currentSkinIndex = 1;
}

void Paint(Document& d, std::size_t texel, std::uint8_t colour) {
  DocumentStep step(d, "Pencil Stroke", STEP_CURRENT_SKIN);
  d.model.CurrentSkin()->pixels[texel] = colour;
}

// Tells every move to a journal, numbered as the program numbers them.
struct Teller : HistoryListener {
  RecoveryJournal journal;
  std::uint64_t moves = 0;
  void StepMoved(const UndoStep& step, Move move) override {
    ++moves;
    const JournalKind kind = move == Move::Record ? JournalKind::Record
                             : move == Move::Undo ? JournalKind::Undo
                                                  : JournalKind::Redo;
    journal.Append(JournalRecordBytes(kind, moves, step), moves);
  }
  void HistoryReset() override {
    ++moves;
    journal.Append(JournalRecordBytes(JournalKind::Reset, moves, std::span<const std::uint8_t>()), moves);
  }
};

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// A copy taken after two strokes, then undo past the copy, redo, a new
// stroke, a mapping edit and a new skin: played onto the copy, the journal
// gives the document and an undo history that walks back the same way.
TEST(RecoveryJournal, PlaysEveryMoveOntoTheCopyAndUndoWalksBackTheSameWay) {
  TempDir dir;
  const std::string folder = dir.File("copy");
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  Document live, copy;
  Start(live);
  Paint(live, 1, 100);
  Paint(live, 2, 101);
  Start(copy);
  Paint(copy, 1, 100);
  Paint(copy, 2, 101);
  copy.history.Clear();

  Teller teller;
  ASSERT_EQ(teller.journal.Open(folder), 0);
  live.history.SetListener(&teller);
  ASSERT_TRUE(live.Undo());
  ASSERT_TRUE(live.Undo());
  ASSERT_TRUE(live.Redo());
  Paint(live, 3, 102);
  {
    DocumentStep step(live, "Move Vertex", STEP_MESH);
    live.model.mapVertices[2].s = 17;
  }
  {
    DocumentStep step(live, "New Skin", STEP_SKINS);
    live.model.skins.push_back(MakeBlankSkin("c", 8, 8, GreyRampPalette()));
    live.model.currentSkinIndex = 2;
  }
  Paint(live, 4, 103);
  teller.journal.Flush();
  EXPECT_EQ(teller.journal.durable(), teller.moves);
  live.history.SetListener(nullptr);
  teller.journal.Close();

  const std::vector<std::uint8_t> bytes = FileBytes(folder + "/" + kRecoveryJournalName);
  const std::vector<JournalEntry> entries = ParseJournal(bytes);
  ASSERT_EQ(entries.size(), teller.moves);
  EXPECT_EQ(PlayJournal(copy, entries, 0), entries.size());
  EXPECT_EQ(ModelBytes(copy.model), ModelBytes(live.model));
  int undone = 0;
  while (live.Undo()) {
    ASSERT_TRUE(copy.Undo()) << undone;
    EXPECT_EQ(ModelBytes(copy.model), ModelBytes(live.model)) << undone;
    ++undone;
  }
  EXPECT_EQ(undone, 5) << "the stroke undone before the copy came back into the history";
}

// Playing stops at the first record that cannot be trusted, keeping all
// before it.
TEST(RecoveryJournal, PlayingStopsAtATornDamagedMissingOrResetRecord) {
  std::vector<std::uint8_t> file = {'S', 'T', 'J', 'R', 'N', 'L', '0', '1'};
  std::vector<std::size_t> ends;
  for (std::uint8_t i = 0; i < 4; ++i) {
    Document d;
    Start(d);
    for (std::uint8_t j = 0; j < i; ++j) Paint(d, j, static_cast<std::uint8_t>(50 + j));
    struct Catch : HistoryListener {
      std::vector<std::uint8_t> record;
      std::uint64_t number = 0;
      void StepMoved(const UndoStep& step, Move) override { record = JournalRecordBytes(JournalKind::Record, number, step); }
      void HistoryReset() override {}
    } c;
    c.number = i + 1u;
    d.history.SetListener(&c);
    Paint(d, i, static_cast<std::uint8_t>(50 + i));
    d.history.SetListener(nullptr);
    file.insert(file.end(), c.record.begin(), c.record.end());
    ends.push_back(file.size());
  }
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    std::uint64_t after;
    std::size_t played;
  };
  const std::vector<std::uint8_t> reset = JournalRecordBytes(JournalKind::Reset, 3, std::span<const std::uint8_t>());
  const Case cases[] = {
      {"whole", [](auto&) {}, 0, 4},
      {"the last record cut short", [](auto& f) { f.pop_back(); }, 0, 3},
      {"a byte of the second changed", [&](auto& f) { f[ends[0] + 30] ^= 1; }, 0, 1},
      {"played after the copy's move", [](auto&) {}, 2, 2},
      {"the first after the copy missing", [](auto&) {}, 5, 0},
      {"a reset in third place",
       [&](auto& f) {
         f.resize(ends[1]);
         f.insert(f.end(), reset.begin(), reset.end());
       },
       0, 2},
      {"not a journal", [](auto& f) { f[0] = 'X'; }, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> damaged = file;
    c.damage(damaged);
    Document d;
    Start(d);
    for (std::uint8_t j = 0; j < c.after && j < 4; ++j) Paint(d, j, static_cast<std::uint8_t>(50 + j));
    d.history.Clear();
    EXPECT_EQ(PlayJournal(d, ParseJournal(damaged), c.after), c.played) << c.what;
    Document expected;
    Start(expected);
    for (std::size_t j = 0; j < std::min<std::size_t>(4, c.after + c.played); ++j)
      Paint(expected, j, static_cast<std::uint8_t>(50 + j));
    EXPECT_EQ(ModelBytes(d.model), ModelBytes(expected.model)) << c.what;
  }
}

// A step read back from any damage is refused or plays within the model:
// bytes flipped and lengths cut, under the sanitizers.
TEST(RecoveryJournal, AStepReadFromDamagedBytesIsRefusedOrPlaysSafely) {
  Document d;
  Start(d);
  {
    DocumentStep step(d, "Duplicate", STEP_SKINS | STEP_MESH);
    auto s = MakeBlankSkin("c", 8, 4, GreyRampPalette());
    d.model.skins.insert(d.model.skins.begin(), std::move(s));
    d.model.currentSkinIndex = 0;
    d.model.mapVertices[1].t = 9;
  }
  ASSERT_TRUE(d.Undo());
  ByteWriter out;
  d.history.SetListener(nullptr);
  struct Catch : HistoryListener {
    ByteWriter* out;
    void StepMoved(const UndoStep& step, Move) override { step.Write(*out); }
    void HistoryReset() override {}
  } c;
  c.out = &out;
  d.history.SetListener(&c);
  ASSERT_TRUE(d.Redo());
  d.history.SetListener(nullptr);
  ASSERT_TRUE(d.Undo());
  const std::vector<std::uint8_t> good = out.bytes;
  ASSERT_NE(UndoStep::Read(good), nullptr);
  std::size_t refused = 0, tried = 0;
  // Every byte of the fixed fields, and a spread over the rest.
  for (std::size_t i = 0; i < good.size(); i += i < 128 ? 1 : 37) {
    ++tried;
    for (int cut : {0, 1}) {
      std::vector<std::uint8_t> bad = good;
      if (cut)
        bad.resize(i);
      else
        bad[i] ^= 0x41;
      std::unique_ptr<UndoStep> step = UndoStep::Read(bad);
      if (!step) {
        ++refused;
        continue;
      }
      Document scratch;
      Start(scratch);
      const std::vector<JournalEntry> entries = {{JournalKind::Record, 1, bad}};
      if (PlayJournal(scratch, entries, 0) != 1) continue;
      for (const auto& skin : scratch.model.skins)
        EXPECT_EQ(skin->pixels.size(), static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height));
    }
  }
  EXPECT_GT(refused, tried);
}
