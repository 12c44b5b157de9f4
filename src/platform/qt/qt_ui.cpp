#include "platform/qt/qt_ui.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

QStringList ConvertFileFilter(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    if (name.isEmpty()) break;  // the closing "||"
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    patterns = patterns.simplified();
    // Qt reads the patterns from the last brackets of the name; a name such
    // as "Mesh Skin (*.pcx)" already carries them.
    const QString bracketed = '(' + patterns + ')';
    if (name.endsWith(bracketed))
      out << name;
    else
      out << name + ' ' + bracketed;
  }
  return out;
}

MsgAnswer QtUi::Message(const std::string& text, MsgButtons buttons) {
  QMessageBox box(parent_);
  box.setWindowTitle(kAppTitle);
  box.setText(QString::fromStdString(text));
  switch (buttons) {
    case MsgButtons::Ok:
      box.setIcon(QMessageBox::Information);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MsgButtons::YesNo:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case MsgButtons::YesNoCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  const int r = box.exec();
  switch (r) {
    case QMessageBox::Yes:
      return MsgAnswer::Yes;
    case QMessageBox::No:
      return MsgAnswer::No;
    case QMessageBox::Ok:
      return MsgAnswer::Ok;
    default:
      // Closing a Yes/No box is a No, as Escape is.
      return buttons == MsgButtons::YesNo ? MsgAnswer::No
             : buttons == MsgButtons::Ok  ? MsgAnswer::Ok
                                          : MsgAnswer::Cancel;
  }
}

std::optional<FileDialogResult> QtUi::FileDialog(const FileDialogRequest& request) {
  const QStringList filters = ConvertFileFilter(request.filter);
  QFileDialog dialog(parent_, QString::fromStdString(request.title.empty()
                                                         ? (request.save ? "Save As" : "Open")
                                                         : request.title));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save || !request.fileMustExist ? QFileDialog::AnyFile
                                                            : QFileDialog::ExistingFile);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  const int index = request.filterIndex;
  if (index >= 1 && index <= filters.size()) dialog.selectNameFilter(filters[index - 1]);
  if (!request.initialFolder.empty() && QDir(QString::fromStdString(request.initialFolder)).exists())
    dialog.setDirectory(QString::fromStdString(request.initialFolder));
  // A wildcard initial name ("*.md2") only describes the filter; a real name
  // is offered for editing.
  const QString initial = QString::fromStdString(request.initialName);
  if (!initial.isEmpty() && !initial.contains('*') && !initial.contains('?')) dialog.selectFile(initial);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  FileDialogResult result;
  result.path = chosen.front().toStdString();
  const qsizetype picked = filters.indexOf(dialog.selectedNameFilter());
  result.filterIndex = picked >= 0 ? static_cast<int>(picked) + 1 : 1;
  return result;
}

std::optional<std::string> QtUi::BrowseFolder(const std::string& title) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}
