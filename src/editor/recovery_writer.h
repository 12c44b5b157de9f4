#pragma once
// Writes recovery copies on a worker thread, one at a time, so the disk
// never holds up the user: the caller takes the snapshot between actions and
// hands it over; the thread is joined before the next write and at the end.

#include <atomic>
#include <ctime>
#include <string>
#include <thread>

#include "editor/recovery_copy.h"

class RecoveryWriter {
 public:
  RecoveryWriter() = default;
  ~RecoveryWriter() { Wait(); }
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  // Starts writing `snapshot` into `folder`; false, and nothing started,
  // while the last write still runs.
  bool Start(const std::string& folder, RecoverySnapshot snapshot, const std::string& programVersion,
             std::time_t written, int pid);
  bool busy() const { return thread_.joinable() && !done_.load(); }
  // Waits for a write under way; the result of the last write (0 or an errno).
  int Wait();
  // Copies finished since the writer was made, successful or not.
  int finished() const { return finished_.load(); }

 private:
  std::thread thread_;
  std::atomic<bool> done_{true};
  std::atomic<int> finished_{0};
  int result_ = 0;  // written by the worker, read after the join
};
