#include "platform/state_folder.h"

#include <cstdlib>

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

}  // namespace

std::string StateFolder() {
  if (std::string own = Env("SKINTOOL_STATE_DIR"); !own.empty()) return own;
  // The base directory rules ignore a relative value.
  if (std::string xdg = Env("XDG_STATE_HOME"); !xdg.empty() && xdg[0] == '/') return xdg + "/skintool";
  if (std::string home = Env("HOME"); !home.empty()) return home + "/.local/state/skintool";
  return {};
}
