// The dialogs of the curved and boxed projections and of Pack Islands.

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "shell/qt/qt_dialogs.h"

namespace {

bool Run(QDialog& dialog, QVBoxLayout* layout) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

std::optional<ProjectionOptions> QtMappingDialogs::AskProjection(ProjectionShape shape) {
  QDialog dialog(parent_);
  dialog.setWindowTitle(ProjectionName(shape));
  auto* v = new QVBoxLayout(&dialog);
  auto* axisBox = new QGroupBox(shape == ProjectionShape::Box ? "Box square to:" : "Axis:");
  auto* axisLayout = new QHBoxLayout(axisBox);
  const struct {
    const char* label;
    ProjectionAxis axis;
  } axes[] = {{"3D View", ProjectionAxis::View}, {"X", ProjectionAxis::X}, {"Y", ProjectionAxis::Y},
              {"Z", ProjectionAxis::Z}};
  QRadioButton* buttons[4];
  for (int i = 0; i < 4; ++i) {
    buttons[i] = new QRadioButton(axes[i].label);
    axisLayout->addWidget(buttons[i]);
  }
  buttons[0]->setChecked(true);
  v->addWidget(axisBox);
  QCheckBox* noBackfaces = nullptr;
  if (shape == ProjectionShape::Box) {
    noBackfaces = new QCheckBox("No Backfaces");
    v->addWidget(noBackfaces);
  }
  if (!Run(dialog, v)) return std::nullopt;
  ProjectionOptions out;
  out.shape = shape;
  for (int i = 0; i < 4; ++i)
    if (buttons[i]->isChecked()) out.axis = axes[i].axis;
  out.noBackfaces = noBackfaces && noBackfaces->isChecked();
  return out;
}

std::optional<PackIslandsOptions> QtMappingDialogs::AskPackIslands() {
  QDialog dialog(parent_);
  dialog.setWindowTitle("Pack Islands");
  auto* v = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  auto* margin = new QSpinBox;
  margin->setRange(0, kMaxPackMargin);
  margin->setValue(PackIslandsOptions{}.margin);
  margin->setSuffix(" texels");
  form->addRow("Margin:", margin);
  v->addLayout(form);
  auto* turn = new QCheckBox("Rotate islands for a tighter fit");
  v->addWidget(turn);
  if (!Run(dialog, v)) return std::nullopt;
  PackIslandsOptions out;
  out.margin = margin->value();
  out.turn = turn->isChecked();
  return out;
}
