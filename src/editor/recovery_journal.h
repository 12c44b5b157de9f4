#pragma once
// The recovery journal: after a recovery copy is taken, every move of the
// undo history (a step recorded, undone or redone) is appended to a journal
// in the copy's folder, each as the step's recorded byte runs with a number
// and a checksum, written and flushed on a thread of its own within moments
// of the move. A restore puts the copy back and plays the journal on top:
// the document comes back as it was after the last move on disk, with those
// steps in its undo history. A record cut short by a kill is dropped with
// nothing before it lost.
//
// Moves are numbered from 1 for the run; a copy holds the number of the
// last move it includes, and the journal's records after it are played in
// order, stopping at a gap, at a reset (a change the steps cannot describe:
// the next copy takes over from there) or at a step that does not fit.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

class Document;
class UndoStep;

// Settle: the skin bar settled the list (see editor/settle_skins.h), which
// is no step but which the steps after it expect.
enum class JournalKind : std::uint8_t { Record = 1, Undo = 2, Redo = 3, Reset = 4, Settle = 5 };

struct JournalEntry {
  JournalKind kind = JournalKind::Reset;
  std::uint64_t number = 0;
  std::span<const std::uint8_t> step;  // within the parsed bytes; empty for a reset
};

// Whether a name in the copy folder belongs to the journal (the file or the
// one a restart is being written into).
bool IsJournalFile(const std::string& name);

// One record as the file holds it.
std::vector<std::uint8_t> JournalRecordBytes(JournalKind kind, std::uint64_t number,
                                             std::span<const std::uint8_t> step);
// The record of a step's move, written straight from the step.
std::vector<std::uint8_t> JournalRecordBytes(JournalKind kind, std::uint64_t number, const UndoStep& step);
// The records of a journal file in order, up to the first that is torn or
// damaged; the entries point into `bytes`.
std::vector<JournalEntry> ParseJournal(std::span<const std::uint8_t> bytes);

// Plays the entries numbered after `after`, without a gap, onto a document
// just restored from the copy that ends there; the steps join its history.
// Stops at a reset, a gap or a step that does not fit the document (the
// document is then as after the last one played). How many were played.
std::size_t PlayJournal(Document& document, const std::vector<JournalEntry>& entries, std::uint64_t after);

// Writes the journal on a thread of its own. The window thread only queues.
class RecoveryJournal {
 public:
  RecoveryJournal() = default;
  ~RecoveryJournal() { Close(); }
  RecoveryJournal(const RecoveryJournal&) = delete;
  RecoveryJournal& operator=(const RecoveryJournal&) = delete;

  // Starts an empty journal in the copy folder `folder` (which must be this
  // user's, see recovery_copy.h); 0, or the cause it could not.
  int Open(const std::string& folder);
  bool isOpen() const { return thread_.joinable(); }
  // Queues one record (JournalRecordBytes) numbered `number`.
  void Append(std::vector<std::uint8_t> record, std::uint64_t number);
  // A copy ending at move `number` is being written: what follows it is
  // kept aside, so that once the copy is on disk (CopyWritten) the journal
  // can start again holding only that; CopyFailed forgets it.
  void CopyStarted(std::uint64_t number);
  void CopyWritten(std::uint64_t number);
  void CopyFailed();
  // Waits until all that was queued is written and flushed.
  void Flush();
  // Stops the thread after writing what was queued, and closes the file.
  void Close();

  // The number of the last record flushed to disk (0: none).
  std::uint64_t durable() const;
  // The size of the journal file.
  std::uint64_t fileBytes() const;
  // The cause of a failed write since the last call, or 0. After a failure
  // nothing more is appended until a copy is written and the journal starts
  // again from it.
  int TakeError();

 private:
  struct Item {
    enum class What { Append, CopyStarted, CopyWritten, CopyFailed } what = What::Append;
    std::vector<std::uint8_t> record;
    std::uint64_t number = 0;
  };
  void Run();
  void WriteBatch(std::vector<std::uint8_t>& pending, std::uint64_t last);
  void Restart();

  mutable std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::vector<Item> queue_;
  bool stop_ = false;
  bool working_ = false;
  std::uint64_t durable_ = 0;
  std::uint64_t fileBytes_ = 0;
  int error_ = 0;
  std::thread thread_;

  // The thread's own.
  int folder_ = -1;
  int file_ = -1;
  bool failed_ = false;
  bool keeping_ = false;
  std::uint64_t keptAfter_ = 0;
  std::vector<Item> kept_;
};
