#include "editor/recovery_writer.h"

#include <utility>

bool RecoveryWriter::Start(const std::string& folder, RecoverySnapshot snapshot, const std::string& programVersion,
                           std::time_t written, int pid) {
  if (busy()) return false;
  Wait();
  done_ = false;
  thread_ = std::thread([this, folder, snapshot = std::move(snapshot), programVersion, written, pid] {
    result_ = WriteRecoveryCopy(folder, snapshot, programVersion, written, pid);
    ++finished_;
    done_ = true;
  });
  return true;
}

int RecoveryWriter::Wait() {
  if (thread_.joinable()) thread_.join();
  return result_;
}
