#pragma once
// How two running copies of the program reach each other: in one desktop
// session at most one copy watches, and any other copy can send it one
// record, padded to a fixed block size, and wait for its one-word answer.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class LinkTransport {
 public:
  // The watcher's side of one message: the block size the sender announced
  // and the bytes of the block that actually arrived (never more than that
  // size); answers the one-word result.
  using Handler = std::function<int(std::uint32_t announcedSize, std::span<const std::uint8_t> block)>;

  virtual ~LinkTransport() = default;

  // Whether another copy watches in this session.
  virtual bool WatcherPresent() = 0;
  // Makes this copy the session's watcher and hands every message sent to it
  // to `handler`; false when another copy watches or the place could not be
  // taken.
  virtual bool Listen(Handler handler) = 0;
  // This copy watches no more.
  virtual void StopListening() = 0;
  // Puts `record` at the start of a zeroed block of `blockSize` bytes, sends
  // the block with its size to the watcher and waits for its answer; nothing
  // when no watcher answered.
  virtual std::optional<int> Send(std::uint32_t blockSize, std::span<const std::uint8_t> record) = 0;
};
