#include "editor/animations.h"

#include <cctype>
#include <set>

namespace {

struct FrameName {
  std::string stem;
  std::string digits;  // the trailing number as written; empty without one
  long number = -1;
};

FrameName Split(const std::string& name) {
  std::size_t end = name.size();
  while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
  FrameName f{name.substr(0, end), name.substr(end), -1};
  // Past nine digits the number means nothing as a count of frames: keep the
  // last nine, enough to see it go on or start again.
  const std::string tail = f.digits.size() > 9 ? f.digits.substr(f.digits.size() - 9) : f.digits;
  if (!tail.empty()) f.number = std::stol(tail);
  return f;
}

bool Continues(const FrameName& previous, const FrameName& next) {
  if (next.stem != previous.stem) return false;
  if (next.number < 0 || previous.number < 0) return next.number < 0 && previous.number < 0;
  if (next.number == previous.number + 1) return true;
  // A skipped frame is still the same animation; a restart or a new hundred
  // (the game numbers pain1, pain2, ... as pain101.., pain201..) is not.
  return next.number > previous.number && next.number / 100 == previous.number / 100;
}

}  // namespace

std::vector<Animation> FindAnimations(const std::vector<std::string>& frameNames) {
  std::vector<Animation> animations;
  std::vector<FrameName> heads;  // the first frame's split name of each animation
  FrameName previous;
  for (std::size_t i = 0; i < frameNames.size(); ++i) {
    const FrameName name = Split(frameNames[i]);
    if (i > 0 && Continues(previous, name)) {
      ++animations.back().count;
    } else {
      animations.push_back({name.stem.empty() ? frameNames[i] : name.stem, static_cast<int>(i), 1});
      heads.push_back(name);
    }
    previous = name;
  }
  // A stem the game split into hundreds gets each hundred's digit back
  // (pain1, pain2, pain3), so the runs can be told apart.
  std::multiset<std::string> stems;
  for (const FrameName& head : heads) stems.insert(head.stem);
  for (std::size_t a = 0; a < animations.size(); ++a) {
    const FrameName& head = heads[a];
    if (head.stem.empty() || stems.count(head.stem) < 2 || head.digits.size() < 3 || head.number < 100) continue;
    animations[a].name = head.stem + std::to_string(head.number / 100);
  }
  return animations;
}

std::string AnimationLabel(const Animation& animation) {
  return animation.name + " (" + std::to_string(animation.first) + "-" + std::to_string(animation.last()) + ")";
}
