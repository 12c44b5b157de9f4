#include "editor/recovery_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "editor/byte_io.h"
#include "editor/document.h"
#include "editor/document_bytes.h"
#include "editor/recovery_copy.h"
#include "editor/settle_skins.h"
#include "editor/undo_step.h"
#include "platform/files.h"

namespace {

constexpr char kFileMagic[8] = {'S', 'T', 'J', 'R', 'N', 'L', '0', '1'};
constexpr char kRecordMagic[4] = {'S', 'J', 'R', 'C'};
constexpr char kRestartName[] = ".new-journal";

int WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  std::size_t put = 0;
  while (put < size) {
    const ssize_t n = ::write(fd, data + put, size - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    put += static_cast<std::size_t>(n);
  }
  return 0;
}

int FlushFile(int fd) {
  while (::fdatasync(fd) != 0)
    if (errno != EINTR) return errno;
  return 0;
}

// Opens a new journal file `name` below the folder: this user's, 0600, never
// through a link; -1 and the cause otherwise.
int CreateJournalFile(int folder, const char* name, int flags, int& cause) {
  const int fd = ::openat(folder, name, O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | flags, 0600);
  if (fd < 0) {
    cause = errno == ELOOP ? kCauseUntrustedLink : errno;
    return -1;
  }
  cause = ::fchmod(fd, 0600) != 0 ? errno : RecoveryFileCause(fd);
  if (cause == 0) cause = WriteAll(fd, reinterpret_cast<const std::uint8_t*>(kFileMagic), sizeof kFileMagic);
  if (cause != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Whether playing `step` one way would leave a mesh whose every index
// names something that exists: a journal is read from disk, and the
// renderer trusts the mesh it is given.
bool MeshStaysWhole(const UndoStep& step, const Model& model, bool forward) {
  const ByteDiff& diff = step.meshDiff();
  if (diff.empty()) return true;
  std::vector<std::uint8_t> bytes = MeshBytes(model);
  if (forward ? !diff.MatchesBefore(bytes) : !diff.MatchesAfter(bytes)) return false;
  if (forward)
    diff.ApplyForward(bytes);
  else
    diff.ApplyBackward(bytes);
  auto mesh = std::make_unique<Model>();
  return SetMeshBytes(*mesh, bytes) && RecoveryMeshHoldsUp(*mesh, model.frames.size());
}

}  // namespace

bool IsJournalFile(const std::string& name) { return name == kRecoveryJournalName || name == kRestartName; }

namespace {

// Head, the body with its length before it, then the checksum of all that.
template <class Body>
std::vector<std::uint8_t> Record(JournalKind kind, std::uint64_t number, const Body& body) {
  ByteWriter out;
  out.Raw(kRecordMagic, sizeof kRecordMagic);
  out.Put(static_cast<std::uint8_t>(kind));
  out.Put(number);
  const std::size_t lengthAt = out.bytes.size();
  out.Put(std::uint64_t{0});
  body(out);
  const std::uint64_t length = out.bytes.size() - lengthAt - sizeof length;
  std::memcpy(out.bytes.data() + lengthAt, &length, sizeof length);
  out.Put(Fnv1a(out.bytes));
  return std::move(out.bytes);
}

}  // namespace

std::vector<std::uint8_t> JournalRecordBytes(JournalKind kind, std::uint64_t number,
                                             std::span<const std::uint8_t> step) {
  return Record(kind, number, [&](ByteWriter& out) { out.Raw(step.data(), step.size()); });
}

std::vector<std::uint8_t> JournalRecordBytes(JournalKind kind, std::uint64_t number, const UndoStep& step) {
  return Record(kind, number, [&](ByteWriter& out) { step.Write(out); });
}

std::vector<JournalEntry> ParseJournal(std::span<const std::uint8_t> bytes) {
  std::vector<JournalEntry> entries;
  if (bytes.size() < sizeof kFileMagic || std::memcmp(bytes.data(), kFileMagic, sizeof kFileMagic) != 0)
    return entries;
  std::size_t at = sizeof kFileMagic;
  constexpr std::size_t kHead = sizeof kRecordMagic + 1 + 8 + 8;
  while (bytes.size() - at >= kHead + 8) {
    const std::span<const std::uint8_t> rest = bytes.subspan(at);
    if (std::memcmp(rest.data(), kRecordMagic, sizeof kRecordMagic) != 0) break;
    ByteReader in(rest.subspan(sizeof kRecordMagic));
    std::uint8_t kind = 0;
    std::uint64_t number = 0, length = 0, checksum = 0;
    in.Get(kind);
    in.Get(number);
    in.Get(length);
    if (length > rest.size() - kHead - 8) break;  // cut short
    const std::size_t body = kHead + static_cast<std::size_t>(length);
    std::memcpy(&checksum, rest.data() + body, sizeof checksum);
    if (Fnv1a(rest.first(body)) != checksum) break;
    if (kind < static_cast<std::uint8_t>(JournalKind::Record) || kind > static_cast<std::uint8_t>(JournalKind::Settle))
      break;
    entries.push_back({static_cast<JournalKind>(kind), number, rest.subspan(kHead, static_cast<std::size_t>(length))});
    at += body + 8;
  }
  return entries;
}

std::size_t PlayJournal(Document& document, const std::vector<JournalEntry>& entries, std::uint64_t after) {
  std::size_t played = 0;
  std::uint64_t next = after + 1;
  for (const JournalEntry& e : entries) {
    if (e.number <= after) continue;
    if (e.number != next || e.kind == JournalKind::Reset) break;
    if (e.kind == JournalKind::Settle) {
      if (!e.step.empty()) break;
      SettleSkins(document.model);
      ++played;
      ++next;
      continue;
    }
    std::unique_ptr<UndoStep> step = UndoStep::Read(e.step);
    if (!step || !MeshStaysWhole(*step, document.model, e.kind != JournalKind::Undo)) break;
    UndoHistory& history = document.history;
    const bool fits = e.kind == JournalKind::Record ? history.PlayRecorded(std::move(step), document.model)
                      : e.kind == JournalKind::Undo ? history.PlayUndo(std::move(step), document.model)
                                                    : history.PlayRedo(std::move(step), document.model);
    if (!fits) break;
    ++played;
    ++next;
  }
  return played;
}

int RecoveryJournal::Open(const std::string& folder) {
  Close();
  int cause = 0;
  folder_ = OpenRecoveryFolder(folder, cause);
  if (folder_ < 0) return cause;
  ::unlinkat(folder_, kRestartName, 0);
  file_ = CreateJournalFile(folder_, kRecoveryJournalName, O_TRUNC, cause);
  if (file_ >= 0) cause = FlushFile(file_);
  if (cause != 0) {
    if (file_ >= 0) ::close(file_);
    ::close(folder_);
    file_ = folder_ = -1;
    return cause;
  }
  ::fsync(folder_);
  failed_ = keeping_ = false;
  kept_.clear();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = false;
    durable_ = 0;
    fileBytes_ = sizeof kFileMagic;
    error_ = 0;
    queue_.clear();
  }
  thread_ = std::thread(&RecoveryJournal::Run, this);
  return 0;
}

void RecoveryJournal::Append(std::vector<std::uint8_t> record, std::uint64_t number) {
  if (!isOpen()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back({Item::What::Append, std::move(record), number});
  }
  wake_.notify_one();
}

void RecoveryJournal::CopyStarted(std::uint64_t number) {
  if (!isOpen()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back({Item::What::CopyStarted, {}, number});
  }
  wake_.notify_one();
}

void RecoveryJournal::CopyWritten(std::uint64_t number) {
  if (!isOpen()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back({Item::What::CopyWritten, {}, number});
  }
  wake_.notify_one();
}

void RecoveryJournal::CopyFailed() {
  if (!isOpen()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back({Item::What::CopyFailed, {}, 0});
  }
  wake_.notify_one();
}

void RecoveryJournal::Flush() {
  if (!isOpen()) return;
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !working_; });
}

void RecoveryJournal::Close() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  if (file_ >= 0) ::close(file_);
  if (folder_ >= 0) ::close(folder_);
  file_ = folder_ = -1;
  kept_.clear();
}

std::uint64_t RecoveryJournal::durable() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return durable_;
}

std::uint64_t RecoveryJournal::fileBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fileBytes_;
}

int RecoveryJournal::TakeError() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(error_, 0);
}

void RecoveryJournal::Run() {
  for (;;) {
    std::vector<Item> items;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (queue_.empty()) break;  // stopping, all written
      items.swap(queue_);
      working_ = true;
    }
    // Everything queued so far goes out in one write and one flush.
    std::vector<std::uint8_t> pending;
    std::uint64_t last = 0;
    for (Item& item : items) {
      switch (item.what) {
        case Item::What::Append:
          if (!failed_) {
            pending.insert(pending.end(), item.record.begin(), item.record.end());
            last = item.number;
          }
          if (keeping_ && item.number > keptAfter_) kept_.push_back(std::move(item));
          break;
        case Item::What::CopyStarted:
          keeping_ = true;
          keptAfter_ = item.number;
          kept_.clear();
          break;
        case Item::What::CopyWritten:
          WriteBatch(pending, last);
          if (keeping_ && keptAfter_ == item.number) Restart();
          keeping_ = false;
          kept_.clear();
          break;
        case Item::What::CopyFailed:
          keeping_ = false;
          kept_.clear();
          break;
      }
    }
    WriteBatch(pending, last);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      working_ = false;
    }
    idle_.notify_all();
  }
}

void RecoveryJournal::WriteBatch(std::vector<std::uint8_t>& pending, std::uint64_t last) {
  if (pending.empty() || failed_) {
    pending.clear();
    return;
  }
  int cause = WriteAll(file_, pending.data(), pending.size());
  if (cause == 0) cause = FlushFile(file_);
  std::lock_guard<std::mutex> lock(mutex_);
  if (cause != 0) {
    // What follows a torn record would never be read: nothing more goes
    // in until the journal starts again from a copy.
    failed_ = true;
    error_ = cause;
  } else {
    durable_ = last;
    fileBytes_ += pending.size();
  }
  pending.clear();
}

void RecoveryJournal::Restart() {
  ::unlinkat(folder_, kRestartName, 0);
  int cause = 0;
  const int fd = CreateJournalFile(folder_, kRestartName, O_EXCL, cause);
  std::uint64_t size = sizeof kFileMagic;
  for (const Item& item : kept_) {
    if (cause != 0) break;
    cause = WriteAll(fd, item.record.data(), item.record.size());
    size += item.record.size();
  }
  if (cause == 0) cause = FlushFile(fd);
  if (cause == 0 && ::renameat(folder_, kRestartName, folder_, kRecoveryJournalName) != 0) cause = errno;
  if (cause != 0) {
    // The old journal still goes on from the copy before; it stays.
    if (fd >= 0) ::close(fd);
    ::unlinkat(folder_, kRestartName, 0);
    std::lock_guard<std::mutex> lock(mutex_);
    error_ = cause;
    return;
  }
  ::fsync(folder_);
  ::close(file_);
  file_ = fd;
  failed_ = false;
  std::lock_guard<std::mutex> lock(mutex_);
  fileBytes_ = size;
  if (!kept_.empty()) durable_ = kept_.back().number;
}
