#include "graph/DotSpacingDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "platform/ui/QtUiServices.h"
#include "platform/ui/QtWidgetKit.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"

namespace gr {

namespace {

QPointer<DotSpacingDialog> g_window;

// Where the window stands once it is topmost (twips).
constexpr int kLeftTwips = 4000;
constexpr int kTopTwips = 2000;

}  // namespace

bool DotSpacingOf(const rt::Text& text, int16_t& spacing) {
  spacing = 0;
  if (!rt::IsNumeric(text)) return false;
  // -2.5 gives 3: the integer part is taken first (rounded down), then its magnitude.
  const double whole = std::fabs(rt::Int(rt::Val(text)));
  if (!(whole <= kMaxDotSpacing)) return false;
  spacing = static_cast<int16_t>(whole);
  return true;
}

DotSpacingDialog::DotSpacingDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmDotSpacing"));
  setWindowTitle(QStringLiteral("Dot Spacing"));
  auto* layout = new QVBoxLayout(this);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  layout->addWidget(Text1);
  auto* buttons = new QHBoxLayout();
  cmdSave = new QPushButton(QStringLiteral("Save"), this);
  cmdDiscard = new QPushButton(QStringLiteral("Discard"), this);
  cmdSave->setObjectName(QStringLiteral("cmdSave"));
  cmdDiscard->setObjectName(QStringLiteral("cmdDiscard"));
  cmdSave->setAutoDefault(false);
  cmdDiscard->setAutoDefault(false);
  buttons->addWidget(cmdSave);
  buttons->addWidget(cmdDiscard);
  layout->addLayout(buttons);

  connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
  connect(cmdDiscard, &QPushButton::clicked, this, [this] { cmdDiscard_Click(); });
  g_window = this;
}

DotSpacingDialog::~DotSpacingDialog() = default;

DotSpacingDialog* DotSpacingDialog::Instance() {
  return g_window.data();
}

void DotSpacingDialog::Form_Load() {
  ui::Ui().MakeTopmostAtOrigin(static_cast<ui::WindowHandle>(static_cast<QWidget*>(this)));
  move(kLeftTwips / ui::kTwipsPerPixel, kTopTwips / ui::kTwipsPerPixel);
  entry_.clear();
  Text1->clear();
}

void DotSpacingDialog::Text1_Change() {
  entry_ = ui::FromQString(Text1->text());
}

void DotSpacingDialog::cmdSave_Click() {
  int16_t spacing = 0;
  const bool accepted = DotSpacingOf(entry_, spacing);
  ms::CurveWork.DotSpacing = spacing;
  ms::CurveWork.DotSpacingOn = accepted ? -1 : 0;
  hide();
}

void DotSpacingDialog::cmdDiscard_Click() {
  ms::CurveWork.DotSpacingOn = ms::CurveWork.DotSpacing >= 1 ? -1 : 0;
  entry_.clear();
  hide();
}

void ShowDotSpacingModal(QWidget* parent) {
  auto* window = new DotSpacingDialog(parent);
  window->Form_Load();
  window->exec();
  delete window;
}

}  // namespace gr
