#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/menu_ops.h"
#include "shell/command_table.h"

// The command line's `do` runs the menu commands by their paths: every menu
// command that changes the document needs one, or a reason here why not.
TEST(MenuOps, EveryDocumentCommandOfTheMenusHasAPath) {
  const std::map<std::string, std::string> exceptions = {};
  std::set<std::string> seen;
  for (const Command& c : CommandTable()) {
    if (c.menu.empty() || c.stepName.empty()) continue;
    const std::string path = MenuPath(c.menu, c.label);
    seen.insert(path);
    if (exceptions.count(path)) {
      EXPECT_EQ(FindMenuOp(path), nullptr) << path << " has a path now: take it off the exceptions";
      continue;
    }
    EXPECT_NE(FindMenuOp(path), nullptr) << path;
  }
  for (const auto& [path, reason] : exceptions) EXPECT_EQ(seen.count(path), 1u) << path << ": " << reason;
  // And no path runs what the menus do not offer.
  for (const MenuOp& op : MenuOps()) EXPECT_EQ(seen.count(op.path), 1u) << op.path;
}
