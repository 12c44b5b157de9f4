#pragma once
// How two running copies of the program reach each other: a copy is found
// by a window title it claims, and a message carries one record, padded to a
// fixed block size, while the sender waits for the one-word answer.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

class LinkTransport {
 public:
  // The watcher's side of one message: the size the sender announced and
  // the bytes of the block that actually arrived (never more than that
  // size); answers the one-word result.
  using Handler = std::function<int(std::uint32_t wParam, std::span<const std::uint8_t> block)>;

  enum class Found { None, ThisCopy, OtherCopy };

  virtual ~LinkTransport() = default;

  // Which copy, if any, holds `title`.
  virtual Found FindWindow(const std::string& title) = 0;
  // Claims `title` for this copy and hands every message sent to it to
  // `handler`; false when another copy holds the title or it could not be
  // claimed.
  virtual bool Listen(const std::string& title, Handler handler) = 0;
  // Gives up every title this copy claimed.
  virtual void StopListening() = 0;
  // Puts `record` at the start of a zeroed block of `blockSize` bytes, sends
  // the block with its size to the copy holding `title` and waits for its
  // answer; nothing when no copy answered.
  virtual std::optional<int> Send(const std::string& title, std::uint32_t blockSize,
                                  std::span<const std::uint8_t> record) = 0;
};
