#pragma once
// The program's registered window messages ("VRK-Refresh", "VRK-BarAdjust")
// between its windows. Post queues a message for later; Send handles it at
// once. The GUI drains the queue from its event loop (the wake-up callback
// schedules that); tests drain it by hand.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

struct WndMessage {
  std::string name;  // "VRK-Refresh", ...
  std::int64_t wParam = 0;
  std::int64_t lParam = 0;
};

class MessageQueue {
 public:
  using Handler = std::function<void(const WndMessage&)>;

  void SetHandler(Handler handler) { handler_ = std::move(handler); }
  void SetWakeup(std::function<void()> wakeup) { wakeup_ = std::move(wakeup); }

  void Post(WndMessage message);
  void Send(const WndMessage& message);

  // Handles the oldest queued message; false when none was queued.
  bool DrainOne();
  void Drain();
  std::size_t pending() const { return queue_.size(); }
  const std::deque<WndMessage>& queued() const { return queue_; }

 private:
  Handler handler_;
  std::function<void()> wakeup_;
  std::deque<WndMessage> queue_;
};
