#pragma once
// A fixed set of worker threads that share out numbered pieces of one job:
// the bands of a picture, the rows of a conversion. The calling thread works
// too, so a pool of one thread is the caller alone and starts no thread.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ThreadPool {
 public:
  // `threads` counts the caller; below 1 means one per core.
  explicit ThreadPool(int threads);
  ~ThreadPool();
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;

  int Threads() const { return threads_; }

  // Calls piece(i) once for every i in 0..count-1, spread over the threads,
  // and returns when all have returned. The first exception thrown by a
  // piece is thrown again here once the others are done. Not re-entrant:
  // one job at a time, from one thread at a time.
  void Run(int count, const std::function<void(int)>& piece);

  // One per core, at least 1.
  static int CoreCount();

 private:
  void Work();
  void TakePieces(std::unique_lock<std::mutex>& lock);

  int threads_ = 1;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  // The job under way, guarded by mutex_.
  const std::function<void(int)>* piece_ = nullptr;
  int count_ = 0;
  int next_ = 0;
  int done_ = 0;
  std::uint64_t generation_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;
};
