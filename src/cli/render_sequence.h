#pragma once
// `render`'s picture sequences: a run of frames and a turntable, each
// picture named from an output pattern such as "out%03d.png".

#include <optional>
#include <string>

#include "render/camera_math.h"

struct FrameRange {
  int first = 0;
  int last = 0;
};

// "A-B" (A <= B) or a single frame "A"; nothing for any other text.
std::optional<FrameRange> ParseFrameRange(const std::string& text);

// The pattern with its one number field ("%d", "%03d", "%5d"; "%%" is a
// percent sign) filled with `number`; nothing when the pattern holds no
// such field, more than one, or any other '%'.
std::optional<std::string> PatternName(const std::string& pattern, int number);

// The camera turned `index` steps of a full turn in `steps` about the
// world's vertical axis, from `start`; quarter turns come out exact.
Mat3 TurntableRotation(const Mat3& start, int index, int steps);
