#include "shell/qt/shortcuts_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/shortcut_keys.h"

namespace {

QString KeysText(const App& app, const Command& c) {
  QStringList keys;
  for (const std::string& key : CommandKeys(app, c)) keys << QString::fromStdString(key);
  return keys.join(", ");
}

}  // namespace

void ShowShortcutsDialog(QWidget* parent, App& app) {
  QDialog dialog(parent);
  dialog.setObjectName("ShortcutsDialog");
  dialog.setWindowTitle("Shortcuts");
  auto* v = new QVBoxLayout(&dialog);
  const std::vector<Command>& table = CommandTable();
  auto* list = new QTableWidget(static_cast<int>(table.size()), 2);
  list->setObjectName("ShortcutList");
  list->setHorizontalHeaderLabels({"Command", "Keys"});
  list->verticalHeader()->hide();
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  const auto fill = [&] {
    for (int row = 0; row < static_cast<int>(table.size()); ++row) {
      const Command& c = table[static_cast<std::size_t>(row)];
      list->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(c.name)));
      auto* keys = new QTableWidgetItem(KeysText(app, c));
      if (app.shortcutKeys.contains(c.name)) {
        QFont bold = keys->font();
        bold.setBold(true);
        keys->setFont(bold);
      }
      list->setItem(row, 1, keys);
    }
  };
  fill();
  v->addWidget(list);

  auto* row = new QHBoxLayout;
  auto* edit = new QKeySequenceEdit;
  edit->setObjectName("KeyEdit");
  auto* set = new QPushButton("&Set");
  auto* none = new QPushButton("&No Key");
  auto* reset = new QPushButton("&Default");
  row->addWidget(edit, 1);
  row->addWidget(set);
  row->addWidget(none);
  row->addWidget(reset);
  v->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  v->addWidget(buttons);

  const auto chosen = [&]() -> const Command* {
    const int r = list->currentRow();
    return r >= 0 && r < static_cast<int>(table.size()) ? &table[static_cast<std::size_t>(r)] : nullptr;
  };
  const auto apply = [&](const std::vector<std::string>& keys) {
    const Command* c = chosen();
    if (!c) return;
    const std::string refused = SetCommandKeys(app, c->name, keys);
    if (!refused.empty()) QMessageBox::warning(&dialog, "Shortcuts", QString::fromStdString(refused));
    const int r = list->currentRow();
    fill();
    list->selectRow(r);
  };
  QObject::connect(set, &QPushButton::clicked, [&] {
    const QKeySequence typed = edit->keySequence();
    if (typed.isEmpty()) return;
    // One chord a command: the first one typed.
    const QKeySequence key(typed[0]);
    apply({key.toString(QKeySequence::PortableText).toStdString()});
  });
  QObject::connect(none, &QPushButton::clicked, [&] { apply({}); });
  QObject::connect(reset, &QPushButton::clicked, [&] {
    if (const Command* c = chosen()) ResetCommandKeys(app, c->name);
    const int r = list->currentRow();
    fill();
    list->selectRow(r);
  });
  dialog.resize(560, 520);
  dialog.exec();
}
