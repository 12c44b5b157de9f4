#include "shell/qt/qt_dialogs.h"

#include <algorithm>
#include <cstdlib>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/qt_sound.h"
#include "shell/qt/shortcuts_dialog.h"
#include "platform/qt/qt_ui.h"
#include "platform/synth_sound.h"
#include "shell/app.h"
#include "editor/model_stats.h"
#include "shell/preferences.h"
#include "shell/qt/toolbar_icons.h"

QString IntroEntryLabel(int entry) {
  if (entry == kIntroRandom) return "Random";
  if (entry == kIntroCustom) return "Custom...";
  return IntroSoundLabel(entry);
}

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// An edit with its "..." button on one row.
QWidget* PathRow(QLineEdit* edit, QPushButton* button) {
  auto* row = new QWidget;
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  h->addWidget(edit, 1);
  // Narrow, but never narrower than its text ("Browse..." must show whole).
  button->setFixedWidth(std::max(32, button->fontMetrics().horizontalAdvance(button->text()) + 16));
  h->addWidget(button);
  return row;
}

}  // namespace

std::optional<Preferences> QtPreferencesDialog::Ask(App& app, const Preferences& initial) {
  QDialog dialog(parent_);
  dialog.setObjectName("Preferences");
  dialog.setWindowTitle("Preferences");
  auto* v = new QVBoxLayout(&dialog);

  auto* scanGroup = new QGroupBox("Directory scan prompt (no internal skins)");
  auto* scanLayout = new QHBoxLayout(scanGroup);
  auto* scanButtons = new QButtonGroup(&dialog);
  const char* scanLabels[3] = {"Auto yes", "Auto no", "Prompt"};
  for (int i = 0; i < 3; ++i) {
    auto* r = new QRadioButton(scanLabels[i]);
    scanButtons->addButton(r, i);
    scanLayout->addWidget(r);
  }
  if (auto* b = scanButtons->button(initial.dirScanPrompt)) b->setChecked(true);
  v->addWidget(scanGroup);

  auto* form = new QFormLayout;
  auto* paletteEdit = new QLineEdit(Q(initial.palettePath));
  auto* paletteButton = new QPushButton("...");
  auto* phongEdit = new QLineEdit(Q(initial.phongPath));
  auto* phongButton = new QPushButton("Browse...");
  auto* envEdit = new QLineEdit(Q(initial.envPath));
  auto* envButton = new QPushButton("Browse...");
  phongEdit->setObjectName("PhongPath");
  envEdit->setObjectName("EnvPath");
  // An empty path is a choice too: no palette file, no folder to scan.
  paletteEdit->setPlaceholderText("None: the base folder's pics/colormap.pcx");
  phongEdit->setPlaceholderText("None");
  envEdit->setPlaceholderText("None");
  form->addRow("Default Colormap with Palette:", PathRow(paletteEdit, paletteButton));
  form->addRow("Default Phong Map Folder:", PathRow(phongEdit, phongButton));
  form->addRow("Default Environment Map Folder:", PathRow(envEdit, envButton));
  v->addLayout(form);

  auto* introGroup = new QGroupBox("Intro Settings");
  auto* introForm = new QFormLayout(introGroup);
  auto* introList = new QComboBox;
  introList->setObjectName("IntroList");
  for (int i = 0; i <= kIntroCustom; ++i) introList->addItem(IntroEntryLabel(i));
  introList->setCurrentIndex(initial.introNumber >= 0 && initial.introNumber <= kIntroCustom ? initial.introNumber
                                                                                             : kIntroRandom);
  auto* wavEdit = new QLineEdit(Q(initial.introWav));
  auto* wavButton = new QPushButton("...");
  introForm->addRow(introList);
  introForm->addRow("Custom Intro .WAV:", PathRow(wavEdit, wavButton));
  v->addWidget(introGroup);

  auto* skipIntro = new QCheckBox("Skip intro");
  auto* quickExit = new QCheckBox("Quick exit");
  auto* palOnTop = new QCheckBox("Palette on Top");
  auto* customCursors = new QCheckBox("Use custom mouse cursors");
  skipIntro->setChecked(initial.skipIntro);
  quickExit->setChecked(initial.quickExit);
  palOnTop->setChecked(initial.palOnTop);
  customCursors->setChecked(initial.customCursors);
  auto* dither = new QCheckBox("Dither true-colour pictures into the palette");
  dither->setObjectName("Dither");
  dither->setChecked(initial.dither);
  for (QCheckBox* c : {skipIntro, quickExit, palOnTop, customCursors, dither}) v->addWidget(c);

  auto* undoGroup = new QGroupBox("Undo");
  auto* undoForm = new QFormLayout(undoGroup);
  auto* ctrlZUndoes = new QCheckBox("Ctrl+Z undoes");
  ctrlZUndoes->setObjectName("CtrlZUndoes");
  ctrlZUndoes->setChecked(initial.ctrlZUndoes);
  auto* undoMemory = new QSpinBox;
  undoMemory->setObjectName("UndoMemory");
  undoMemory->setRange(1, kUndoMemoryMaxMiB);
  undoMemory->setSuffix(" MiB");
  undoMemory->setValue(initial.undoMemoryMiB);
  undoForm->addRow(ctrlZUndoes);
  undoForm->addRow("History memory:", undoMemory);
  auto* recoveryMinutes = new QSpinBox;
  recoveryMinutes->setObjectName("RecoveryMinutes");
  recoveryMinutes->setRange(0, kRecoveryMinutesMax);
  recoveryMinutes->setSuffix(" min");
  recoveryMinutes->setSpecialValueText("Off");
  recoveryMinutes->setValue(initial.recoveryMinutes);
  recoveryMinutes->setToolTip(
      "Every finished step is kept for recovery as it happens. A recovery copy that could not be written "
      "is tried again after this long, or after 50 more undo steps.");
  undoForm->addRow("Retry a failed recovery copy after:", recoveryMinutes);
  v->addWidget(undoGroup);

  auto* drawingForm = new QFormLayout;
  auto* renderThreads = new QSpinBox;
  renderThreads->setObjectName("RenderThreads");
  renderThreads->setRange(0, kRenderThreadsMax);
  renderThreads->setSpecialValueText("One per core");
  renderThreads->setValue(initial.renderThreads);
  drawingForm->addRow("3D view drawing threads:", renderThreads);
  auto* fullResolution = new QCheckBox("Full resolution on high-density screens");
  fullResolution->setObjectName("FullResolution");
  fullResolution->setChecked(initial.fullResolution);
  drawingForm->addRow(fullResolution);
  auto* imageEditor = new QLineEdit(Q(initial.imageEditor));
  imageEditor->setObjectName("ImageEditor");
  imageEditor->setPlaceholderText("The desktop's default");
  drawingForm->addRow("Edit skins externally with:", imageEditor);
  auto* shortcuts = new QPushButton("Shortcuts...");
  shortcuts->setObjectName("Shortcuts");
  drawingForm->addRow("Keyboard:", shortcuts);
  QObject::connect(shortcuts, &QPushButton::clicked, [&] { ShowShortcutsDialog(&dialog, app); });
  v->addLayout(drawingForm);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  v->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto enableWav = [=](int entry) {
    wavEdit->setEnabled(entry == kIntroCustom);
    wavButton->setEnabled(entry == kIntroCustom);
  };
  enableWav(introList->currentIndex());

  QObject::connect(paletteButton, &QPushButton::clicked, [&] {
    if (auto p = BrowsePalettePath(app)) paletteEdit->setText(Q(*p));
  });
  QObject::connect(phongButton, &QPushButton::clicked, [&] {
    if (auto p = BrowsePhongFolder(app)) phongEdit->setText(Q(*p));
  });
  QObject::connect(envButton, &QPushButton::clicked, [&] {
    if (auto p = BrowseEnvFolder(app)) envEdit->setText(Q(*p));
  });
  QObject::connect(wavButton, &QPushButton::clicked, [&] {
    if (auto p = BrowseIntroWav(app)) wavEdit->setText(Q(*p));
  });

  // The preview: the chosen sound loops for 15 seconds or until the dialog
  // closes.
  QtSound sound;
  QTimer previewTimer;
  previewTimer.setSingleShot(true);
  QObject::connect(&previewTimer, &QTimer::timeout, [&] { sound.Stop(); });
  QObject::connect(introList, QOverload<int>::of(&QComboBox::activated), [&](int entry) {
    enableWav(entry);
    sound.Stop();
    const int what = IntroPreviewSound(entry, wavEdit->text().toStdString(), std::rand());
    if (what == kPlayCustomWav) {
      sound.PlayFileLooping(wavEdit->text().toStdString());
    } else if (what >= 0) {
      for (int i = 0; i < kNumBuiltInSounds; ++i)
        if (kIntroSoundResources[static_cast<std::size_t>(i)] == what) sound.PlayBuiltInLooping(i);
    }
    previewTimer.start(kIntroPreviewMs);
  });

  const int result = dialog.exec();
  previewTimer.stop();
  sound.Stop();
  if (result != QDialog::Accepted) return std::nullopt;

  Preferences out = initial;
  out.dirScanPrompt = scanButtons->checkedId() >= 0 ? scanButtons->checkedId() : initial.dirScanPrompt;
  out.palettePath = paletteEdit->text().toStdString();
  out.phongPath = phongEdit->text().toStdString();
  out.envPath = envEdit->text().toStdString();
  out.introNumber = introList->currentIndex();
  out.introWav = wavEdit->text().toStdString();
  out.skipIntro = skipIntro->isChecked();
  out.quickExit = quickExit->isChecked();
  out.palOnTop = palOnTop->isChecked();
  out.customCursors = customCursors->isChecked();
  out.ctrlZUndoes = ctrlZUndoes->isChecked();
  out.dither = dither->isChecked();
  out.undoMemoryMiB = undoMemory->value();
  out.recoveryMinutes = recoveryMinutes->value();
  out.renderThreads = renderThreads->value();
  out.fullResolution = fullResolution->isChecked();
  out.imageEditor = imageEditor->text().trimmed().toStdString();
  return out;
}

std::optional<SnapshotChoice> QtSnapshotDialog::Ask(const SnapshotChoice& initial) {
  QDialog dialog(parent_);
  dialog.setWindowTitle("Snapshots");
  auto* grid = new QGridLayout(&dialog);
  auto* current = new QRadioButton("Current");
  auto* custom = new QRadioButton("Custom:");
  current->setObjectName("SnapshotCurrent");
  custom->setObjectName("SnapshotCustom");
  auto* width = new QSpinBox;
  auto* height = new QSpinBox;
  width->setObjectName("SnapshotWidth");
  height->setObjectName("SnapshotHeight");
  // Any whole number may be typed; the command says when it is out of range.
  for (QSpinBox* box : {width, height}) box->setRange(0, 99999);
  width->setValue(initial.customWidth);
  height->setValue(initial.customHeight);
  (initial.sizeChoice == 1 ? custom : current)->setChecked(true);
  grid->addWidget(current, 0, 0);
  grid->addWidget(custom, 1, 0);
  grid->addWidget(new QLabel("Width"), 1, 1);
  grid->addWidget(width, 1, 2);
  grid->addWidget(new QLabel("Height"), 1, 3);
  grid->addWidget(height, 1, 4);
  auto enable = [=] {
    width->setEnabled(!current->isChecked());
    height->setEnabled(!current->isChecked());
  };
  enable();
  QObject::connect(current, &QRadioButton::toggled, &dialog, enable);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  grid->addWidget(buttons, 2, 0, 1, 5);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  SnapshotChoice out;
  out.sizeChoice = custom->isChecked() ? 1 : 0;
  out.customWidth = width->value();
  out.customHeight = height->value();
  return out;
}

std::optional<MapFrom3DViewOptions> QtMappingDialogs::AskMapFrom3DView() {
  QDialog dialog(parent_);
  dialog.setWindowTitle("Map from 3D View");
  auto* v = new QVBoxLayout(&dialog);
  auto* projectionBox = new QGroupBox("Projection:");
  auto* projectionLayout = new QVBoxLayout(projectionBox);
  auto* perspective = new QRadioButton("Perspective");
  auto* parallel = new QRadioButton("Parallel");
  perspective->setChecked(true);
  projectionLayout->addWidget(perspective);
  projectionLayout->addWidget(parallel);
  v->addWidget(projectionBox);
  auto* noBackfaces = new QCheckBox("No Backfaces");
  auto* flip = new QCheckBox("Flip");
  auto* mirror = new QCheckBox("Mirror");
  for (QCheckBox* c : {noBackfaces, flip, mirror}) v->addWidget(c);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  v->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  MapFrom3DViewOptions out;
  out.projection = parallel->isChecked() ? 1 : 0;
  out.noBackfaces = noBackfaces->isChecked();
  out.flip = flip->isChecked();
  out.mirror = mirror->isChecked();
  return out;
}

std::optional<ResizeSkinsDialog> QtSkinDialogs::AskResizeSkins(const ResizeSkinsDialog& initial) {
  QDialog dialog(parent_);
  dialog.setWindowTitle("Resize Skins");
  auto* v = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  auto* width = new QLineEdit(QString::number(initial.width));
  auto* height = new QLineEdit(QString::number(initial.height));
  // Numbers only, as the fields always were.
  width->setValidator(new QIntValidator(0, 99999, width));
  height->setValidator(new QIntValidator(0, 99999, height));
  form->addRow("Width", width);
  form->addRow("Height", height);
  v->addLayout(form);
  auto* enforce = new QCheckBox("Enforce Limits");
  enforce->setChecked(initial.enforceLimits);
  v->addWidget(enforce);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  v->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  ResizeSkinsDialog out;
  out.width = width->text().toInt();
  out.height = height->text().toInt();
  out.enforceLimits = enforce->isChecked();
  return out;
}

std::optional<CompanionOffset> QtCompanionOffsetDialog::Ask(const CompanionOffset& initial) {
  QDialog dialog(parent_);
  dialog.setWindowTitle("Offset Companion Model");
  auto* v = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  QLineEdit* edits[3] = {new QLineEdit(Q(FormatOffset(initial.x))), new QLineEdit(Q(FormatOffset(initial.y))),
                         new QLineEdit(Q(FormatOffset(initial.z)))};
  form->addRow("X offset", edits[0]);
  form->addRow("Y offset", edits[1]);
  form->addRow("Z offset", edits[2]);
  v->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  v->addWidget(buttons);
  float values[3] = {initial.x, initial.y, initial.z};
  QObject::connect(buttons, &QDialogButtonBox::accepted, [&] {
    for (int i = 0; i < 3; ++i) {
      bool ok = false;
      const float f = edits[i]->text().trimmed().toFloat(&ok);
      if (!ok) {
        // The dialog stays open on the field that is not a number.
        QMessageBox::information(&dialog, kAppTitle, "Please enter a number.");
        edits[i]->setFocus();
        edits[i]->selectAll();
        return;
      }
      values[i] = f;
    }
    dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return CompanionOffset{values[0], values[1], values[2]};
}

void ShowAboutBox(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle("About VRK");
  auto* h = new QHBoxLayout(&dialog);
  auto* picture = new QLabel;
  picture->setPixmap(AppIconPixmap(64));
  h->addWidget(picture, 0, Qt::AlignTop);
  auto* v = new QVBoxLayout;
  v->addWidget(new QLabel(QString("<b>%1</b>").arg(kAppTitle)));
  v->addWidget(new QLabel("An editor for the skins and texture mapping of MD2 models."));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  v->addWidget(buttons);
  h->addLayout(v);
  dialog.exec();
}

void ShowModelStatsBox(QWidget* parent, const App& app) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Model Stats");
  auto* v = new QVBoxLayout(&dialog);
  auto* title = new QLabel(QString("Pellmar's Skin Tool -  Version %1").arg(kProgramVersion));
  title->setAlignment(Qt::AlignHCenter);
  v->addWidget(title);
  const std::vector<ModelStatRow> rows = ModelStatRows(app.model);
  auto* table = new QTableWidget(static_cast<int>(rows.size()), 3);
  table->setHorizontalHeaderLabels({"Data", "Current", "Limit"});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setColumnWidth(0, 115);
  table->setColumnWidth(1, 80);
  table->setColumnWidth(2, 85);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const ModelStatRow& row = rows[static_cast<std::size_t>(r)];
    table->setItem(r, 0, new QTableWidgetItem(Q(row.data)));
    auto* current = new QTableWidgetItem(Q(row.current));
    current->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(r, 1, current);
    auto* limit = new QTableWidgetItem(Q(row.limit));
    limit->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(r, 2, limit);
  }
  table->setMinimumWidth(115 + 80 + 85 + 4);
  table->setMinimumHeight(table->verticalHeader()->defaultSectionSize() * (static_cast<int>(rows.size()) + 1) + 4);
  v->addWidget(table);
  // No buttons: the close box and Escape close it.
  dialog.exec();
}
