#pragma once
// Plays the model's frames in the 3D view: which frame (and, interpolating,
// how far toward the next) the animation has reached at a given time. The
// front end's timer calls Advance; the player shows the frame and announces
// kFrameChanged. Frames shown by playing are a view of the model, not an
// edit of it: no undo step records them, and painting and mapping go on
// against whatever frame is shown.

#include <cstdint>

#include "render/viewport.h"

class Workspace;

class AnimationPlayer {
 public:
  static constexpr double kDefaultFps = 10;  // the rate the game runs models at
  static constexpr double kMinFps = 1;
  static constexpr double kMaxFps = 60;
  // Interpolated pictures come at most this often (about 60 a second).
  static constexpr int kBlendIntervalMs = 16;

  explicit AnimationPlayer(Workspace& workspace) : ws_(workspace) {}

  bool playing() const { return playing_; }
  double fps() const { return fps_; }
  bool interpolate() const { return interpolate_; }
  // The frames looped over: first and count; a count of 0 (or a range the
  // model lacks) is the whole model.
  int loopFirst() const { return loopFirst_; }
  int loopCount() const { return loopCount_; }

  // Starts at the frame shown when it lies in the loop, else at the loop's
  // first frame. Nothing with fewer than two frames to play.
  void Play(std::int64_t nowMs);
  // Stops on the frame shown; an in-between picture settles on that frame.
  void Pause();
  void Toggle(std::int64_t nowMs) { playing_ ? Pause() : Play(nowMs); }
  // Held to kMinFps..kMaxFps; a playing animation goes on from where it is.
  void SetFps(double fps, std::int64_t nowMs);
  void SetInterpolate(bool on, std::int64_t nowMs);
  // Plays (or, paused, shows) the range from its first frame; the whole
  // model goes on from the frame shown.
  void SetLoop(int first, int count, std::int64_t nowMs);

  // Shows what the animation has reached at nowMs. A frame the user picked
  // meanwhile becomes the new starting point. False when the picture stays
  // as it was (paused, or still the same frame and blend).
  bool Advance(std::int64_t nowMs);
  // Milliseconds from nowMs until the picture next changes (at least 1).
  int NextChangeMs(std::int64_t nowMs) const;

 private:
  struct Range {
    int first = 0;
    int count = 0;
  };
  Range LoopRange() const;
  double Position(std::int64_t nowMs) const;  // frames past the loop's first, unwrapped
  void Anchor(double position, std::int64_t nowMs);
  void Show(int frame, FrameBlend blend);

  Workspace& ws_;
  bool playing_ = false;
  double fps_ = kDefaultFps;
  bool interpolate_ = false;
  int loopFirst_ = 0;
  int loopCount_ = 0;
  double anchorPosition_ = 0;
  std::int64_t anchorMs_ = 0;
  int lastShown_ = -1;  // the frame the player last showed
};
