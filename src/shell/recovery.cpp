#include "shell/recovery.h"

#include <algorithm>
#include <filesystem>
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
  fs::remove_all(aside, ec);
  fs::rename(copy, aside, ec);
  if (ec) fs::remove_all(copy, ec);
}

struct Candidate {
  fs::path folder;
  std::time_t written = 0;
};

}  // namespace

void CrashRecovery::SetRoot(const std::string& root, int pid) {
  writer_.Wait();
  root_ = root;
  pid_ = pid;
  folder_ = root.empty() ? std::string() : root + "/" + kCopyPrefix + std::to_string(pid);
  copyExists_ = false;
}

void CrashRecovery::SetIntervalMinutes(int minutes) {
  intervalMs_ = std::int64_t{std::clamp(minutes, 0, kRecoveryMinutesMax)} * 60 * 1000;
}

bool CrashRecovery::Poll(const Document& document, std::int64_t nowMs) {
  if (folder_.empty() || closed_ || document.history.open() || writer_.busy()) return false;
  const UndoHistory& h = document.history;
  if (!HasUnsavedWork(document)) {
    if (copyExists_) Discard();
    clockStart_ = -1;
    stepsAtCopy_ = h.stepsRecorded();
    return false;
  }
  if (clockStart_ < 0) clockStart_ = nowMs;
  if (copyExists_ && copied_ == Key{h.stepsRecorded(), h.position(), h.size(), h.meshEdits()}) return false;
  const bool bySteps = h.stepsRecorded() - stepsAtCopy_ >= kRecoveryEverySteps;
  const bool byTime = intervalMs_ > 0 && nowMs - clockStart_ >= intervalMs_;
  if (!bySteps && !byTime) return false;
  return Start(document, nowMs);
}

bool CrashRecovery::WriteNow(const Document& document, std::int64_t nowMs) {
  if (folder_.empty() || closed_ || document.history.open() || !HasUnsavedWork(document)) return false;
  writer_.Wait();
  return Start(document, nowMs);
}

bool CrashRecovery::Start(const Document& document, std::int64_t nowMs) {
  const UndoHistory& h = document.history;
  if (!writer_.Start(folder_, TakeRecoverySnapshot(document), kProgramVersion, std::time(nullptr), pid_)) return false;
  copyExists_ = true;
  copied_ = Key{h.stepsRecorded(), h.position(), h.size(), h.meshEdits()};
  stepsAtCopy_ = h.stepsRecorded();
  clockStart_ = nowMs;
  return true;
}

void CrashRecovery::AfterSave(const Document& document) {
  if (!HasUnsavedWork(document)) Discard();
}

void CrashRecovery::Discard() {
  writer_.Wait();
  if (!folder_.empty()) RemoveRecoveryCopy(folder_);
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

bool OfferRecovery(App& app) {
  CrashRecovery& recovery = app.recovery;
  if (recovery.root().empty()) return false;
  std::error_code ec;
  std::vector<Candidate> candidates;
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(recovery.root(), ec))
    if (entry.is_directory(ec)) entries.push_back(entry.path());
  for (const fs::path& folder : entries) {
    const int pid = PidOfCopy(folder.filename().string());
    // A folder under this run's own id was left by an earlier process that
    // had the same id.
    if (pid == 0 || (pid != CurrentProcessId() && !ProcessGone(pid))) continue;
    std::string why;
    std::optional<RecoveryIndex> index = ReadRecoveryIndex(folder.string(), &why);
    if (index) {
      candidates.push_back({folder, index->written});
    } else if (!fs::exists(folder / kRecoveryIndexName, ec)) {
      // Its first copy was never finished: there is nothing to offer.
      fs::remove_all(folder, ec);
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
    std::optional<RecoverySnapshot> snapshot = ReadRecoveryCopy(c.folder.string(), &why);
    if (!snapshot || !RestoreRecoverySnapshot(app.document, *snapshot, &why)) {
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
