#include "editor/animation_player.h"

#include <algorithm>
#include <cmath>

#include "editor/workspace.h"

AnimationPlayer::Range AnimationPlayer::LoopRange() const {
  const int frames = static_cast<int>(ws_.model.frames.size());
  if (loopCount_ > 0 && loopFirst_ >= 0 && loopFirst_ + loopCount_ <= frames) return {loopFirst_, loopCount_};
  return {0, frames};
}

double AnimationPlayer::Position(std::int64_t nowMs) const {
  return anchorPosition_ + static_cast<double>(nowMs - anchorMs_) * fps_ / 1000.0;
}

void AnimationPlayer::Anchor(double position, std::int64_t nowMs) {
  anchorPosition_ = position;
  anchorMs_ = nowMs;
}

void AnimationPlayer::Play(std::int64_t nowMs) {
  const Range range = LoopRange();
  if (range.count < 2) return;
  const int shown = ws_.model.currentFrameIndex;
  const bool inside = shown >= range.first && shown < range.first + range.count;
  Anchor(inside ? shown - range.first : 0, nowMs);
  playing_ = true;
  lastShown_ = -1;  // the first Advance shows the starting frame whatever it is
  Advance(nowMs);
}

void AnimationPlayer::Pause() {
  playing_ = false;
  if (ws_.viewport.blend.amount == 0) return;
  ws_.viewport.blend = {};
  ws_.document.changes.Announce(kFrameChanged);
}

void AnimationPlayer::SetFps(double fps, std::int64_t nowMs) {
  if (!(fps >= kMinFps)) fps = kMinFps;  // also a NaN
  fps = std::min(fps, kMaxFps);
  if (playing_) Anchor(Position(nowMs), nowMs);
  fps_ = fps;
}

void AnimationPlayer::SetInterpolate(bool on, std::int64_t nowMs) {
  interpolate_ = on;
  if (playing_)
    Advance(nowMs);
  else
    Pause();  // a paused picture is a whole frame either way
}

void AnimationPlayer::SetLoop(int first, int count, std::int64_t nowMs) {
  loopFirst_ = first;
  loopCount_ = count;
  const Range range = LoopRange();
  if (range.count < 1) return;
  // A chosen animation starts from its beginning; the whole model goes on
  // from the frame shown.
  const int shown = ws_.model.currentFrameIndex;
  const bool inside = shown >= range.first && shown < range.first + range.count;
  const int start = range.count < static_cast<int>(ws_.model.frames.size()) || !inside ? range.first : shown;
  if (playing_) {
    Anchor(start - range.first, nowMs);
    lastShown_ = -1;
    Advance(nowMs);
  } else if (start != shown || !ws_.model.CurrentFrame()) {
    Show(start, {});
  }
}

bool AnimationPlayer::Advance(std::int64_t nowMs) {
  if (!playing_) return false;
  const Range range = LoopRange();
  if (range.count < 2) {
    Pause();
    return false;
  }
  const int shown = ws_.model.currentFrameIndex;
  if (lastShown_ >= 0 && shown != lastShown_)
    Anchor(shown >= range.first && shown < range.first + range.count ? shown - range.first : 0, nowMs);

  double position = std::fmod(Position(nowMs), static_cast<double>(range.count));
  if (position < 0) position += range.count;  // a clock that went back
  const int step = std::min(static_cast<int>(position), range.count - 1);
  const int frame = range.first + step;
  FrameBlend blend;
  if (interpolate_ && position > step) blend = {range.first + (step + 1) % range.count, static_cast<float>(position - step)};
  const FrameBlend& was = ws_.viewport.blend;
  if (frame == shown && frame == lastShown_ && blend.toFrame == was.toFrame && blend.amount == was.amount) return false;
  Show(frame, blend);
  return true;
}

int AnimationPlayer::NextChangeMs(std::int64_t nowMs) const {
  if (interpolate_) return kBlendIntervalMs;
  const double position = Position(nowMs);
  const double untilNext = (std::floor(position) + 1 - position) * 1000.0 / fps_;
  return std::max(1, static_cast<int>(std::ceil(untilNext)));
}

void AnimationPlayer::Show(int frame, FrameBlend blend) {
  Model& m = ws_.model;
  if (frame < 0 || static_cast<std::size_t>(frame) >= m.frames.size()) return;
  const bool another = frame != m.currentFrameIndex || !m.CurrentFrame();
  m.currentFrameIndex = static_cast<std::int16_t>(frame);
  if (another) m.ComputeFaceNormals();
  ws_.viewport.blend = blend;
  lastShown_ = frame;
  ws_.document.changes.Announce(kFrameChanged);
}
