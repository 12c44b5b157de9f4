#pragma once
// Crash recovery: while the document holds unsaved work, a copy of it is
// kept in the user's state folder, and removed once the work is saved or
// the user quits. The copy is taken as soon as work is unsaved; after it,
// every undo step closed, undone or redone goes to its journal (see
// editor/recovery_journal.h) within moments, so a run that dies loses no
// finished step. A new copy takes over when the journal cannot go on (a
// save, another model, a failed write) or has grown large. At the next
// start a copy left by a run that died is offered back with its journal
// played, the journal's steps in the undo history.
//
// Each run keeps its copy in a folder of its own, named after its process
// id, so two running copies of the program never touch each other's copy;
// only copies whose process is gone are offered. A run holds a lock in its
// folder while it lives, so a process that was killed counts as gone at
// once, even while its entry lingers unreaped.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "editor/recovery_journal.h"
#include "editor/recovery_writer.h"
#include "editor/undo_history.h"
#include "platform/profile_keys.h"

class App;
class Document;

inline constexpr char kRestoreQuestionStart[] = "Restore the unsaved work of ";
inline constexpr char kRestoreFailedText[] = "The unsaved work could not be restored: ";
inline constexpr char kRecoveryWriteFailedText[] = "The unsaved work could not be copied for recovery: ";
inline constexpr char kRestoreNoMemoryText[] = "there is not enough memory to hold it";
// A copy that could not be written is tried again after the interval, or
// after this many undo steps, whichever comes first.
inline constexpr std::size_t kRecoveryEverySteps = 50;
// A journal larger than this is folded into a new copy.
inline constexpr std::uint64_t kJournalRestartBytes = std::uint64_t{64} << 20;
// How often the window asks whether a copy is due.
inline constexpr int kRecoveryPollMs = 1000;

class CrashRecovery : public HistoryListener {
 public:
  CrashRecovery() = default;
  ~CrashRecovery() override;
  CrashRecovery(const CrashRecovery&) = delete;
  CrashRecovery& operator=(const CrashRecovery&) = delete;

  // Copies go below `root` (the state folder), keyed by `pid`; an empty
  // root takes no copies at all.
  void SetRoot(const std::string& root, int pid);
  const std::string& root() const { return root_; }
  // This run's copy folder; empty without a root.
  const std::string& folder() const { return folder_; }
  // How long to wait before trying a failed copy again; 0: only after
  // kRecoveryEverySteps steps.
  void SetIntervalMinutes(int minutes);
  // The history whose moves the journal follows (the document's).
  void Attach(UndoHistory& history);

  // Asked between user actions, never inside one: starts writing a copy
  // when the document has unsaved work and no copy with a journal going on
  // from it holds it (none yet, or the journal had to stop or grew large);
  // a copy that failed waits for the interval or kRecoveryEverySteps steps.
  // Removes the copy once nothing is unsaved. True when a write started.
  bool Poll(const Document& document, std::int64_t nowMs);
  // Starts a copy now when there is unsaved work (after a restore).
  bool WriteNow(const Document& document, std::int64_t nowMs);
  // After a save: the copy goes when it left nothing unsaved.
  void AfterSave(const Document& document);
  // Removes this run's copy.
  void Discard();
  // At quit, after the user's answers: removes the copy and takes no more.
  void Close();

  RecoveryWriter& writer() { return writer_; }
  RecoveryJournal& journal() { return journal_; }
  // History moves told so far (the journal's record numbers).
  std::uint64_t moves() const { return moves_; }

  // The skin bar settled the list (see editor/settle_skins.h).
  void SkinsSettled();
  void StepMoved(const UndoStep& step, Move move) override;
  void HistoryReset() override;

  // The message about a copy that could not be written (the folder and the
  // cause), given once per run, at the first failure; nothing otherwise.
  // A failed copy is tried again when the next one is due.
  std::optional<std::string> TakeFailureMessage();

 private:
  struct Key {
    std::size_t recorded = 0, position = 0, size = 0, meshEdits = 0;
    bool operator==(const Key&) const = default;
  };
  bool Start(const Document& document, std::int64_t nowMs);
  void NoteResult(int cause);
  void CheckFinishedWrite();
  void Unlock();

  std::string root_;
  std::string folder_;
  int pid_ = 0;
  std::int64_t intervalMs_ = std::int64_t{kRecoveryMinutesSetting.def} * 60 * 1000;
  bool closed_ = false;
  bool copyExists_ = false;
  Key copied_;
  std::size_t stepsAtCopy_ = 0;
  std::int64_t clockStart_ = -1;  // since when the interval counts; -1 while nothing is unsaved
  RecoveryWriter writer_;
  int lockFd_ = -1;
  bool writePending_ = false;  // a write whose result nobody has looked at
  int failureCause_ = 0;
  bool failureReported_ = false;
  UndoHistory* history_ = nullptr;
  RecoveryJournal journal_;
  std::uint64_t moves_ = 0;
  bool journalOn_ = false;    // the journal is open and goes on from a copy
  bool broken_ = true;        // no copy with a journal holds the present: a new copy is due
  bool retryWait_ = false;    // the last copy failed: the next waits until due
  std::uint64_t copyMove_ = 0;  // the move the copy being written ends at
};

// The moment a copy was written, in the user's local form.
std::string RecoveryDateText(std::time_t written);

// Poll, then the message of a failed copy, once per run.
bool PollRecovery(App& app, std::int64_t nowMs);

// At start: offers each copy a run that died left behind, newest first
// ("Restore the unsaved work of <date>?"). Yes puts it back as unsaved work
// and stops; No removes it. A copy that turns out damaged is named in a
// message, set aside and the document left as it was. True when work was
// restored.
bool OfferRecovery(App& app);
