#pragma once
// Two (or more) copies' ends of the link inside one test: the watcher is
// kept on a shared desk, blocks are handed straight to its handler.

#include <vector>

#include "platform/link_transport.h"

struct InProcessDesk {
  LinkTransport* watcher = nullptr;
  LinkTransport::Handler handler;
  std::vector<std::uint32_t> sentSizes;  // every block size sent, in order
};

class InProcessTransport : public LinkTransport {
 public:
  explicit InProcessTransport(InProcessDesk& desk) : desk_(desk) {}
  ~InProcessTransport() override { StopListening(); }

  bool WatcherPresent() override { return desk_.watcher && desk_.watcher != this; }
  bool Listen(Handler handler) override {
    if (desk_.watcher) return false;
    desk_.watcher = this;
    desk_.handler = std::move(handler);
    return true;
  }
  void StopListening() override {
    if (desk_.watcher != this) return;
    desk_.watcher = nullptr;
    desk_.handler = nullptr;
  }
  std::optional<int> Send(std::uint32_t blockSize, std::span<const std::uint8_t> record) override {
    if (!desk_.watcher || record.size() > blockSize) return std::nullopt;
    std::vector<std::uint8_t> block(blockSize, 0);
    std::copy(record.begin(), record.end(), block.begin());
    desk_.sentSizes.push_back(blockSize);
    return desk_.handler(blockSize, block);
  }

 private:
  InProcessDesk& desk_;
};
