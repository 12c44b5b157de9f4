#include "shell/recovery.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>
#include <vector>

#include "editor/document.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/process_id.h"
#include "platform/profile.h"
#include "platform/profile_keys.h"
#include "platform/ui.h"
#include "platform/version.h"
#include "shell/app.h"

namespace fs = std::filesystem;

namespace {

constexpr char kCopyPrefix[] = "recovery-";
constexpr char kSetAsidePrefix[] = "damaged-";

// The pid a copy folder's name carries; 0 when the name is not one.
int PidOfCopy(const std::string& name) {
  const std::string prefix = kCopyPrefix;
  if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size() || name.size() > prefix.size() + 9)
    return 0;
  int pid = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    pid = pid * 10 + (name[i] - '0');
  }
  return pid;
}

// A damaged copy is kept for whoever wants to look at it by hand, but never
// offered again.
void SetAside(const fs::path& copy) {
  std::error_code ec;
  const fs::path aside = copy.parent_path() / (kSetAsidePrefix + copy.filename().string());
  RemoveRecoveryCopy(aside.string());
  fs::rename(copy, aside, ec);
  if (ec) RemoveRecoveryCopy(copy.string());
}

// Only folders this user made as copy folders are looked into; a link or
// another user's folder of the same name is left where it is, untouched.
bool OwnCopyFolder(const fs::path& folder) {
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & 07777) == 0700;
}

struct Candidate {
  fs::path folder;
  std::time_t written = 0;
};

}  // namespace

CrashRecovery::~CrashRecovery() {
  if (history_) history_->SetListener(nullptr);
  writer_.Wait();
  journal_.Close();
  Unlock();
}

void CrashRecovery::Attach(UndoHistory& history) {
  if (history_) history_->SetListener(nullptr);
  history_ = &history;
  history.SetListener(this);
}

void CrashRecovery::StepMoved(const UndoStep& step, Move move) {
  ++moves_;
  if (!journalOn_) return;
  const JournalKind kind = move == Move::Record ? JournalKind::Record
                           : move == Move::Undo ? JournalKind::Undo
                                                : JournalKind::Redo;
  journal_.Append(JournalRecordBytes(kind, moves_, step), moves_);
}

void CrashRecovery::SkinsSettled() {
  ++moves_;
  if (journalOn_) journal_.Append(JournalRecordBytes(JournalKind::Settle, moves_, std::span<const std::uint8_t>()), moves_);
}

void CrashRecovery::HistoryReset() {
  ++moves_;
  broken_ = true;
  if (journalOn_) journal_.Append(JournalRecordBytes(JournalKind::Reset, moves_, std::span<const std::uint8_t>()), moves_);
}

void CrashRecovery::Unlock() {
  if (lockFd_ >= 0) ::close(lockFd_);
  lockFd_ = -1;
}

void CrashRecovery::SetRoot(const std::string& root, int pid) {
  writer_.Wait();
  journal_.Close();
  journalOn_ = false;
  broken_ = true;
  retryWait_ = false;
  Unlock();
  writePending_ = false;
  root_ = root;
  pid_ = pid;
  folder_ = root.empty() ? std::string() : root + "/" + kCopyPrefix + std::to_string(pid);
  copyExists_ = false;
}

void CrashRecovery::SetIntervalMinutes(int minutes) {
  intervalMs_ = std::int64_t{std::clamp(minutes, 0, kRecoveryMinutesMax)} * 60 * 1000;
}

void CrashRecovery::NoteResult(int cause) {
  if (cause == 0) return;
  if (failureCause_ == 0) failureCause_ = cause;
  // What is on disk is not this state: the next due copy must not be
  // skipped as a repeat of it.
  copied_ = Key{static_cast<std::size_t>(-1), 0, 0, 0};
  broken_ = true;
  retryWait_ = true;
}

void CrashRecovery::CheckFinishedWrite() {
  NoteResult(journal_.TakeError());
  if (!writePending_ || writer_.busy()) return;
  writePending_ = false;
  const int cause = writer_.Wait();
  if (cause == 0) {
    journal_.CopyWritten(copyMove_);
  } else {
    journal_.CopyFailed();
    NoteResult(cause);
  }
}

std::optional<std::string> CrashRecovery::TakeFailureMessage() {
  CheckFinishedWrite();
  if (failureCause_ == 0 || failureReported_) return std::nullopt;
  failureReported_ = true;
  return kRecoveryWriteFailedText + CauseText(failureCause_) + "\n" + folder_;
}

bool CrashRecovery::Poll(const Document& document, std::int64_t nowMs) {
  if (folder_.empty() || closed_ || document.history.open() || writer_.busy()) return false;
  CheckFinishedWrite();
  const UndoHistory& h = document.history;
  if (!HasUnsavedWork(document)) {
    if (copyExists_) Discard();
    clockStart_ = -1;
    stepsAtCopy_ = h.stepsRecorded();
    return false;
  }
  if (clockStart_ < 0) clockStart_ = nowMs;
  const bool journalFull = journalOn_ && journal_.fileBytes() > kJournalRestartBytes;
  if (copyExists_ && !broken_ && !journalFull) return false;  // the journal keeps up
  if (retryWait_) {
    if (copyExists_ && copied_ == Key{h.stepsRecorded(), h.position(), h.size(), h.meshEdits()}) return false;
    const bool bySteps = h.stepsRecorded() - stepsAtCopy_ >= kRecoveryEverySteps;
    const bool byTime = intervalMs_ > 0 && nowMs - clockStart_ >= intervalMs_;
    if (!bySteps && !byTime) return false;
  }
  return Start(document, nowMs);
}

bool CrashRecovery::WriteNow(const Document& document, std::int64_t nowMs) {
  if (folder_.empty() || closed_ || document.history.open() || !HasUnsavedWork(document)) return false;
  writer_.Wait();
  return Start(document, nowMs);
}

bool CrashRecovery::Start(const Document& document, std::int64_t nowMs) {
  const UndoHistory& h = document.history;
  CheckFinishedWrite();
  // Either way the copy counts as tried: a failed one is tried again when
  // the next is due, not at every poll.
  stepsAtCopy_ = h.stepsRecorded();
  clockStart_ = nowMs;
  int cause = 0;
  if (lockFd_ < 0) lockFd_ = LockRecoveryCopy(folder_, &cause);
  if (lockFd_ < 0) {
    NoteResult(cause);
    return false;
  }
  if (!journalOn_) {
    cause = journal_.Open(folder_);
    journalOn_ = cause == 0;
  }
  RecoverySnapshot snapshot = TakeRecoverySnapshot(document);
  snapshot.journalAfter = moves_;
  if (!writer_.Start(folder_, std::move(snapshot), kProgramVersion, std::time(nullptr), pid_)) return false;
  journal_.CopyStarted(moves_);
  copyMove_ = moves_;
  broken_ = !journalOn_;
  retryWait_ = false;
  // Without a journal the copy alone stands: the failure is said once and
  // the journal tried again with the next copy that is due.
  NoteResult(cause);
  writePending_ = true;
  copyExists_ = true;
  copied_ = Key{h.stepsRecorded(), h.position(), h.size(), h.meshEdits()};
  return true;
}

void CrashRecovery::AfterSave(const Document& document) {
  // What the copy says is unsaved no longer is: a new copy takes over.
  broken_ = true;
  if (!HasUnsavedWork(document)) Discard();
}

void CrashRecovery::Discard() {
  CheckFinishedWrite();
  writer_.Wait();
  CheckFinishedWrite();
  journal_.Close();
  journalOn_ = false;
  broken_ = true;
  if (!folder_.empty() && lockFd_ >= 0) RemoveRecoveryCopy(folder_);
  Unlock();
  copyExists_ = false;
}

void CrashRecovery::Close() {
  Discard();
  closed_ = true;
}

std::string RecoveryDateText(std::time_t written) {
  std::tm local{};
  if (!localtime_r(&written, &local)) return std::to_string(static_cast<long long>(written));
  char text[128];
  // %c follows the user's locale (the window front end takes it from the
  // environment at start).
  const std::size_t n = std::strftime(text, sizeof text, "%c", &local);
  return n ? std::string(text, n) : std::to_string(static_cast<long long>(written));
}

bool PollRecovery(App& app, std::int64_t nowMs) {
  const bool started = app.recovery.Poll(app.document, nowMs);
  if (std::optional<std::string> failure = app.recovery.TakeFailureMessage()) app.ui.Message(*failure);
  return started;
}

bool OfferRecovery(App& app) {
  CrashRecovery& recovery = app.recovery;
  if (recovery.root().empty()) return false;
  std::error_code ec;
  std::vector<Candidate> candidates;
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(recovery.root(), ec))
    if (OwnCopyFolder(entry.path())) entries.push_back(entry.path());
  for (const fs::path& folder : entries) {
    const int pid = PidOfCopy(folder.filename().string());
    if (pid == 0) continue;
    // The lock says whether its program still runs; a process id can linger
    // (a killed process not yet reaped) or come back for another program.
    // Without a lock file the id is all there is to go by, and a folder
    // under this run's own id was left by an earlier process that had it.
    const std::optional<bool> inUse = RecoveryCopyInUse(folder.string());
    if (inUse ? *inUse : (pid != CurrentProcessId() && !ProcessGone(pid))) continue;
    std::string why;
    std::optional<RecoveryIndex> index = ReadRecoveryIndex(folder.string(), &why);
    if (index) {
      // The work is as late as the journal's last record, not the copy.
      std::time_t written = index->written;
      struct stat journal {};
      if (::lstat((folder / kRecoveryJournalName).c_str(), &journal) == 0 && S_ISREG(journal.st_mode) &&
          journal.st_mtime > written)
        written = journal.st_mtime;
      candidates.push_back({folder, written});
    } else if (!fs::exists(folder / kRecoveryIndexName, ec)) {
      // Its first copy was never finished: there is nothing to offer.
      RemoveRecoveryCopy(folder.string());
    } else {
      app.ui.Message(kRestoreFailedText + why);
      SetAside(folder);
    }
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.written > b.written; });

  for (const Candidate& c : candidates) {
    const std::string question = kRestoreQuestionStart + RecoveryDateText(c.written) + "?";
    if (app.ui.Message(question, MsgButtons::YesNo) != MsgAnswer::Yes) {
      RemoveRecoveryCopy(c.folder.string());
      continue;
    }
    std::string why;
    bool restored = false;
    try {
      std::optional<RecoverySnapshot> snapshot = ReadRecoveryCopy(c.folder.string(), &why);
      restored = snapshot && RestoreRecoverySnapshot(app.document, *snapshot, &why);
    } catch (const std::bad_alloc&) {
      why = kRestoreNoMemoryText;
    }
    if (!restored) {
      app.ui.Message(kRestoreFailedText + why);
      SetAside(c.folder);
      continue;
    }
    if (!app.document.currentFile.empty()) app.profile.Write(kCurFileSetting, app.document.currentFile);
    app.RebuildPaintTable();
    app.RebuildShadeRamps();
    // The old copy goes only once this run holds its own.
    recovery.WriteNow(app.document, NowMs());
    if (recovery.writer().Wait() == 0 && c.folder != fs::path(recovery.folder())) RemoveRecoveryCopy(c.folder.string());
    return true;
  }
  return false;
}
