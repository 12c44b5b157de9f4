#pragma once
// Two (or more) copies' ends of the link inside one test: titles claimed on
// a shared desk, blocks handed straight to the listening end's handler.

#include <map>
#include <vector>

#include "platform/link_transport.h"

struct InProcessDesk {
  struct Listener {
    LinkTransport* owner = nullptr;
    LinkTransport::Handler handler;
  };
  std::map<std::string, Listener> titles;
  std::vector<std::uint32_t> sentSizes;  // every block size sent, in order
};

class InProcessTransport : public LinkTransport {
 public:
  explicit InProcessTransport(InProcessDesk& desk) : desk_(desk) {}
  ~InProcessTransport() override { StopListening(); }

  Found FindWindow(const std::string& title) override {
    const auto it = desk_.titles.find(title);
    if (it == desk_.titles.end()) return Found::None;
    return it->second.owner == this ? Found::ThisCopy : Found::OtherCopy;
  }
  bool Listen(const std::string& title, Handler handler) override {
    if (desk_.titles.count(title)) return false;
    desk_.titles[title] = {this, std::move(handler)};
    return true;
  }
  void StopListening() override {
    std::erase_if(desk_.titles, [this](const auto& entry) { return entry.second.owner == this; });
  }
  std::optional<int> Send(const std::string& title, std::uint32_t blockSize,
                          std::span<const std::uint8_t> record) override {
    const auto it = desk_.titles.find(title);
    if (it == desk_.titles.end() || record.size() > blockSize) return std::nullopt;
    std::vector<std::uint8_t> block(blockSize, 0);
    std::copy(record.begin(), record.end(), block.begin());
    desk_.sentSizes.push_back(blockSize);
    return it->second.handler(blockSize, block);
  }

 private:
  InProcessDesk& desk_;
};
