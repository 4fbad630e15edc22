#include "graph/FamilyPlotsDialog.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

FamilySettingsData Family;

void ResetFamilySettings() {
  Family = FamilySettingsData{};
}

// ---------------------------------------------------------------------------------------------
// The assignment of a constant in the worksheet text

namespace {

bool IsNameChar(char16_t c) {
  return rt::IsLetter(c) || rt::IsDigit(c);
}

// The 1-based position where the statement after the one starting at `from` starts: after the
// next ":" or line end. A comment ("'" to the end of its line) holds no statement start.
long NextStatement(const rt::Text& text, long from) {
  const long length = rt::Len(text);
  for (long k = from; k <= length; ++k) {
    const char16_t c = rt::CharAt(text, k);
    if (c == u'\'') {
      while (k <= length && rt::CharAt(text, k) != u'\r' && rt::CharAt(text, k) != u'\n') ++k;
      --k;  // the line end is read next
      continue;
    }
    if (c == u':' || c == u'\n') return k + 1;
    if (c == u'\r') return rt::CharAt(text, k + 1) == u'\n' ? k + 2 : k + 1;
  }
  return length + 1;
}

}  // namespace

AssignmentMatch FindAssignment(const rt::Text& text, const rt::Text& id,
                               const rt::Text& numberPattern) {
  AssignmentMatch match;
  if (id.empty()) return match;
  const long length = rt::Len(text);
  for (long start = 1; start <= length; start = NextStatement(text, start)) {
    long j = start;
    while (rt::CharAt(text, j) == u' ' || rt::CharAt(text, j) == u'\t') ++j;
    const long pos = j;
    rt::Text candidate;
    while (IsNameChar(rt::CharAt(text, j))) candidate += rt::CharAt(text, j++);
    if (candidate != id) continue;
    while (rt::CharAt(text, j) == u' ') {
      candidate += u' ';
      ++j;
    }
    if (rt::CharAt(text, j) != u'=') continue;
    candidate += u'=';
    ++j;
    while (rt::CharAt(text, j) == u' ') {
      candidate += u' ';
      ++j;
    }
    rt::Text number;
    for (char16_t n = rt::CharAt(text, j); n != 0 && (n == u'-' || rt::CharIs(n, numberPattern));
         n = rt::CharAt(text, ++j)) {
      number += n;
    }
    match.found = true;
    match.pos = pos;
    match.span = candidate + number;
    match.numberText = number;
    return match;
  }
  return match;
}

rt::Text RewriteAssignment(const rt::Text& text, long pos, const rt::Text& span,
                           const rt::Text& assignment) {
  const long length = rt::Len(text);
  const long before = std::clamp<long>(pos - 1, 0, length);
  const long after = std::max<long>(0, length - before - rt::Len(span));
  return rt::Left(text, before) + assignment + rt::Right(text, after);
}

rt::Text AssignmentText(const rt::Text& id, double value) {
  // Members closer than 15 significant digits are still different numbers: each is written so
  // that Execute reads the value the run lists for it.
  return id + u"=" + rt::RoundTripText(value);
}

bool RangeValuesFinite(const rt::Text& start, const rt::Text& end, int divisions) {
  if (!rt::IsNumeric(start) || !rt::IsNumeric(end) || divisions < 1) return true;
  // The values as the runs compute them.
  const double first = rt::Val(start);
  const double step = (rt::Val(end) - first) / divisions;
  if (!std::isfinite(step)) return false;
  for (int i = 0; i <= divisions; ++i) {
    if (!std::isfinite(first + i * step)) return false;
  }
  return true;
}

rt::Text FamilyTotalOf(const rt::Text& typed) {
  if (typed.empty() || !rt::IsNumeric(typed) || rt::Val(typed) < 1.0) return u"5";
  return typed;
}

int16_t FamilyCountOf(const rt::Text& total) {
  int16_t count = 0;
  if (!rt::ToInt16(rt::Val(total), count) || count < 2) count = 5;
  return count;
}

int FamilyMembersOf(const rt::Text& total) {
  return std::min<int>(FamilyCountOf(total), kMaxFamilyMembers);
}

// ---------------------------------------------------------------------------------------------
// The set-up window

namespace {

QPointer<FamilyPlotsDialog> g_family;

// Where the window is placed, in twips from the screen's top-left corner.
constexpr int kLoadLeftTwips = 1500;
constexpr int kLoadTopTwips = 1000;

rt::Text Typed(const QLineEdit* box) {
  return ui::FromQString(box->text());
}

QLineEdit* AddBox(QGridLayout* grid, QWidget* parent, int row, const char* name,
                  const QString& label) {
  auto* caption = new QLabel(label, parent);
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  grid->addWidget(box, row, 0);
  grid->addWidget(caption, row, 1);
  return box;
}

}  // namespace

FamilyPlotsDialog::FamilyPlotsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmFamilyPlots"));
  setWindowTitle(QStringLiteral("Family of Curves"));
  auto* top = new QVBoxLayout(this);

  Frame1 = new QGroupBox(QStringLiteral("Enter Constant ID to Vary && Its Numerical Range"), this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(Frame1);
  txtConstIDCurv = AddBox(grid, Frame1, 0, "txtConstIDCurv", QStringLiteral("Const ID"));
  txtStartCurv = AddBox(grid, Frame1, 1, "txtStartCurv", QStringLiteral("Start Numerical"));
  txtEndCurv = AddBox(grid, Frame1, 2, "txtEndCurv", QStringLiteral("End Numerical"));
  txtTotalCtCurv = AddBox(grid, Frame1, 3, "txtTotalCtCurv", QStringLiteral("Total set of Curves"));
  top->addWidget(Frame1);

  auto* buttons = new QHBoxLayout();
  cmdEnter = new QPushButton(QStringLiteral("Previous Set"), this);
  cmdSave = new QPushButton(QStringLiteral("Save"), this);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdEnter->setObjectName(QStringLiteral("cmdEnter"));
  cmdSave->setObjectName(QStringLiteral("cmdSave"));
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  for (QPushButton* b : {cmdEnter, cmdSave, cmdCancel}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  top->addLayout(buttons);

  connect(txtConstIDCurv, &QLineEdit::textChanged, this,
          [this] { Family.FamilyConstID = Typed(txtConstIDCurv); });
  connect(txtStartCurv, &QLineEdit::textChanged, this,
          [this] { Family.RangeStart = Typed(txtStartCurv); });
  connect(txtEndCurv, &QLineEdit::textChanged, this,
          [this] { Family.RangeEnd = Typed(txtEndCurv); });
  connect(txtTotalCtCurv, &QLineEdit::textChanged, this,
          [this] { Family.FamilyTotal = FamilyTotalOf(Typed(txtTotalCtCurv)); });
  connect(cmdEnter, &QPushButton::clicked, this, [this] { cmdEnter_Click(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  g_family = this;
}

FamilyPlotsDialog::~FamilyPlotsDialog() = default;

FamilyPlotsDialog* FamilyPlotsDialog::Instance() {
  return g_family.data();
}

FamilyPlotsDialog& FamilyPlotsDialog::Load() {
  if (g_family.isNull()) {
    auto* window = new FamilyPlotsDialog(GraphWindow::Instance());
    window->Form_Load();
  }
  return *g_family;
}

void FamilyPlotsDialog::Form_Load() {
  ui::Ui().MakeTopmostAtOrigin(static_cast<ui::WindowHandle>(static_cast<QWidget*>(this)));
  move(TwipsToPixels(kLoadLeftTwips), TwipsToPixels(kLoadTopTwips));
  cmdCancel->setEnabled(true);
  ms::RunFlags.StopFamily = 0;
  ms::RunFlags.Replot = 0;
}

void FamilyPlotsDialog::cmdEnter_Click() {
  // Each box's change handler runs as the text is put back; the copies are taken first.
  const FamilySettingsData previous = Family;
  txtConstIDCurv->setText(ui::ToQString(previous.FamilyConstID));
  txtStartCurv->setText(ui::ToQString(previous.RangeStart));
  txtEndCurv->setText(ui::ToQString(previous.RangeEnd));
  txtTotalCtCurv->setText(ui::ToQString(previous.FamilyTotal));
}

void FamilyPlotsDialog::cmdSave_Click() {
  // A range whose members are not all finite numbers is refused before a run could write them
  // into the worksheet.
  if (!RangeValuesFinite(Family.RangeStart, Family.RangeEnd,
                         FamilyMembersOf(Family.FamilyTotal) - 1)) {
    ui::Ui().MsgBox(kRangeTooWide, ui::kOkOnly, ws::kAppTitle);
    return;
  }
  if (GraphWindow* graph = GraphWindow::Instance()) {
    graph->Animation().OfferFamilyRun(true);
    graph->cmdReturn->setEnabled(true);
  }
  hide();
}

void FamilyPlotsDialog::cmdCancel_Click() {
  if (GraphWindow* graph = GraphWindow::Instance()) {
    graph->Animation().OfferFamilyRun(false);
    graph->cmdReturn->setEnabled(true);
  }
  ms::RunFlags.StopFamily = -1;
  hide();
}

void FamilyPlotsDialog::ShowModal(std::function<void()> afterClose) {
  if (isVisible()) return;
  afterClose_ = std::move(afterClose);
  setWindowModality(Qt::ApplicationModal);
  show();
}

void FamilyPlotsDialog::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (event->spontaneous()) return;
  // The modal session ends: the caller's steps after the window closed run now, once.
  std::function<void()> after = std::move(afterClose_);
  afterClose_ = nullptr;
  setWindowModality(Qt::NonModal);
  if (after) after();
}

}  // namespace gr
