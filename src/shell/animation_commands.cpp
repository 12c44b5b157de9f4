#include "shell/animation_commands.h"

#include <functional>
#include <utility>

#include "editor/animations.h"
#include "platform/clock.h"
#include "shell/app.h"
#include "shell/list_bars.h"

namespace {

const std::vector<std::string> kAnimation{"&Views", "&Animation"};

std::vector<Animation> ModelAnimations(const Model& model) {
  std::vector<std::string> names;
  names.reserve(model.frames.size());
  for (const auto& frame : model.frames) names.push_back(frame->name);
  return FindAnimations(names);
}

// The player's choices are the Animations list's selection too.
void Reselect(App& app) {
  FillAnimationBar(app, app.listBars.animations);
  ++app.listBars.version;
}

Command Make(std::string label, std::string key, std::function<void(App&)> run) {
  Command c;
  c.menu = kAnimation;
  c.label = std::move(label);
  c.key = std::move(key);
  c.run = std::move(run);
  return c;
}

}  // namespace

std::vector<Command> AnimationCommands() {
  std::vector<Command> commands;
  Command play = Make("&Play\tP", "P", [](App& a) { a.player.Toggle(NowMs()); });
  play.enabled = [](const App& a) { return a.model.frames.size() > 1; };
  play.dynamicLabel = [](const App& a) { return std::string(a.player.playing() ? "&Pause\tP" : "&Play\tP"); };
  commands.push_back(std::move(play));

  Command interpolate =
      Make("&Interpolate Frames", "", [](App& a) { a.player.SetInterpolate(!a.player.interpolate(), NowMs()); });
  interpolate.checked = [](const App& a) { return a.player.interpolate(); };
  commands.push_back(std::move(interpolate));

  Command whole = Make("Loop &Whole Model", "", [](App& a) { SelectAnimationEntry(a, 0); });
  whole.checked = [](const App& a) { return a.player.loopCount() == 0; };
  whole.separatorBefore = true;
  commands.push_back(std::move(whole));
  return commands;
}

void FillAnimationBar(App& app, ListBar& bar) {
  bar = {};
  bar.items.push_back(kAllFramesEntry);
  bar.selection = 0;
  AnimationPlayer& player = app.player;
  for (const Animation& animation : ModelAnimations(app.model)) {
    if (animation.first == player.loopFirst() && animation.count == player.loopCount())
      bar.selection = static_cast<int>(bar.items.size());
    bar.items.push_back(AnimationLabel(animation));
  }
  // Another model came without the animation looped over: the whole model
  // plays, as the list says.
  if (bar.selection == 0 && player.loopCount() > 0) player.SetLoop(0, 0, NowMs());
}

void SelectAnimationEntry(App& app, int index) {
  if (index < 0) return;
  if (index == 0) {
    app.player.SetLoop(0, 0, NowMs());
  } else {
    const std::vector<Animation> animations = ModelAnimations(app.model);
    if (static_cast<std::size_t>(index) > animations.size()) return;
    const Animation& chosen = animations[static_cast<std::size_t>(index) - 1];
    app.player.SetLoop(chosen.first, chosen.count, NowMs());
  }
  app.listBars.frames.selection = app.model.currentFrameIndex;
  Reselect(app);
}

void SetAnimationSpeed(App& app, double fps) { app.player.SetFps(fps, NowMs()); }

bool AdvanceAnimation(App& app, std::int64_t nowMs) {
  if (!app.player.Advance(nowMs)) return false;
  app.listBars.frames.selection = app.model.currentFrameIndex;
  return true;
}
