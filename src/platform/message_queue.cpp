#include "platform/message_queue.h"

void MessageQueue::Post(WndMessage message) {
  queue_.push_back(std::move(message));
  if (wakeup_) wakeup_();
}

void MessageQueue::Send(const WndMessage& message) {
  if (handler_) handler_(message);
}

bool MessageQueue::DrainOne() {
  if (queue_.empty()) return false;
  WndMessage m = std::move(queue_.front());
  queue_.pop_front();
  if (handler_) handler_(m);
  return true;
}

void MessageQueue::Drain() {
  // A handler may post more; a bound keeps a refresh loop from hanging.
  for (int i = 0; i < 10000 && DrainOne(); ++i) {
  }
}
