#include "platform/thread_pool.h"

int ThreadPool::CoreCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores < 1 ? 1 : static_cast<int>(cores);
}

ThreadPool::ThreadPool(int threads) : threads_(threads < 1 ? CoreCount() : threads) {
  workers_.reserve(static_cast<std::size_t>(threads_ - 1));
  for (int i = 1; i < threads_; ++i) workers_.emplace_back([this] { Work(); });
}

ThreadPool::~ThreadPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : workers_) t.join();
}

// Pieces are handed out one at a time under the lock: a job is a handful of
// pieces, each far longer than taking the lock.
void ThreadPool::TakePieces(std::unique_lock<std::mutex>& lock) {
  while (piece_ && next_ < count_) {
    const int i = next_++;
    const std::function<void(int)>& piece = *piece_;
    lock.unlock();
    std::exception_ptr thrown;
    try {
      piece(i);
    } catch (...) {
      thrown = std::current_exception();
    }
    lock.lock();
    if (thrown && !failure_) failure_ = thrown;
    if (++done_ == count_) finished_.notify_all();
  }
}

void ThreadPool::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  std::uint64_t seen = generation_;
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
    if (stopping_) return;
    seen = generation_;
    TakePieces(lock);
  }
}

void ThreadPool::Run(int count, const std::function<void(int)>& piece) {
  if (count < 1) return;
  if (workers_.empty() || count == 1) {
    for (int i = 0; i < count; ++i) piece(i);
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  piece_ = &piece;
  count_ = count;
  next_ = 0;
  done_ = 0;
  failure_ = nullptr;
  ++generation_;
  wake_.notify_all();
  TakePieces(lock);
  finished_.wait(lock, [&] { return done_ == count_; });
  piece_ = nullptr;
  std::exception_ptr failure = failure_;
  failure_ = nullptr;
  lock.unlock();
  if (failure) std::rethrow_exception(failure);
}
