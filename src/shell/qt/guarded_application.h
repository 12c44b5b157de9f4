#pragma once
// The program's QApplication. An event handler that runs out of memory (a
// stroke or drag on a huge skin, say) ends with a message instead of ending
// the program with all unsaved work; what the handler changed before that is
// in its undo step, and the recovery copy still follows.

#include <functional>
#include <string>

#include <QApplication>

inline constexpr char kOutOfMemoryText[] = "There is not enough memory to finish this action.";

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the message; a message box unless replaced (tests).
  std::function<void(const std::string&)> tellUser;
};
