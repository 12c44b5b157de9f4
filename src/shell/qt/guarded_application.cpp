#include "shell/qt/guarded_application.h"

#include <new>

#include <QMessageBox>

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
  tellUser = [](const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(text));
  };
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    if (tellUser) tellUser(kOutOfMemoryText);
    return true;
  }
}
