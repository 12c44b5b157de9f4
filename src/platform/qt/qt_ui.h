#pragma once
// The Ui answered by real Qt dialogs.

#include <QString>
#include <QStringList>

#include "platform/ui.h"
#include "platform/version.h"  // kAppTitle: the dialogs' title bar text, the main window's title

class QWidget;

class QtUi : public Ui {
 public:
  explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MsgAnswer Message(const std::string& text, MsgButtons buttons = MsgButtons::Ok) override;
  std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> BrowseFolder(const std::string& title) override;

 private:
  QWidget* parent_;
};

// "Name|*.a;*.b|Name2|*.c||" as Qt's name filters ("Name (*.a *.b)"), one per
// pair; a name that already ends in its patterns in brackets is kept as is.
QStringList ConvertFileFilter(const std::string& filter);
