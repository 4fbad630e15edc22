#include "help/HelpPage.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

#include "help/HelpText.h"
#include "platform/ui/QtWidgetKit.h"
#include "platform/ui/UiServices.h"

namespace ms {
namespace {

std::array<QPointer<HelpPage>, help::kHelpPageCount> g_pages;

// Page width in pixels; long lines wrap inside it.
constexpr int kPageWidth = 600;

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* MakeLabel(std::u16string_view stored, QWidget* parent) {
  QLabel* label = ui::MakeLabel(parent, QString(), ToQString(help::LabelText(stored)));
  label->setWordWrap(true);
  return label;
}

// Lines indented by six blanks hold statements as the user types them.
constexpr std::u16string_view kStatementIndent = u"      ";

// Adds one label per line of `lines` to `layout`; statements are set in a fixed-pitch font so
// that their explanations line up.
void AddLines(std::u16string_view lines, QWidget* parent, QVBoxLayout* layout) {
  size_t start = 0;
  while (start <= lines.size()) {
    size_t end = lines.find(u'\n', start);
    if (end == std::u16string_view::npos) end = lines.size();
    const std::u16string_view line = lines.substr(start, end - start);
    QLabel* label = MakeLabel(line, parent);
    if (line.starts_with(kStatementIndent)) {
      label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    }
    layout->addWidget(label);
    start = end + 1;
  }
}

// A mouse coordinate as a whole number of pixels, kept far inside the int range so that the
// window arithmetic below cannot overflow whatever the event carries.
int32_t WholePixels(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<int32_t>(std::lround(std::clamp(value, -1.0e6, 1.0e6)));
}

bool ValidPage(int page) {
  return page >= 0 && page < help::kHelpPageCount;
}

}  // namespace

HelpPage::HelpPage(int page, QWidget* parent)
    : QFrame(parent, Qt::Window | Qt::FramelessWindowHint), page_(page) {
  const help::HelpPageText& text = help::HelpPages()[static_cast<size_t>(page)];
  setObjectName(ToQString(text.window));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setFixedWidth(kPageWidth);

  auto* layout = new QVBoxLayout(this);
  if (!text.heading.empty()) {
    QLabel* heading = MakeLabel(text.heading, this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    layout->addWidget(heading);
  }
  for (const help::HelpFrameText& block : text.frames) {
    if (block.lines.empty()) continue;
    if (block.title.empty()) {
      AddLines(block.lines, this, layout);
      continue;
    }
    auto* frame = new QGroupBox(ToQString(block.title), this);
    auto* frameLayout = new QVBoxLayout(frame);
    AddLines(block.lines, frame, frameLayout);
    layout->addWidget(frame);
  }
  auto* exit = new QPushButton(ToQString(help::kPageExitCaption), this);
  exit->setObjectName(ToQString(text.exitButton));
  connect(exit, &QPushButton::clicked, this, &HelpPage::Unload);
  layout->addWidget(exit, 0, Qt::AlignHCenter);
  QLabel* reference = MakeLabel(text.reference, this);
  reference->setObjectName(QStringLiteral("lblReference"));
  layout->addWidget(reference);
  setWindowTitle(ToQString(
      help::LabelText(text.frames[0].title.empty() ? text.heading : text.frames[0].title)));
  adjustSize();

  ui::Ui().MakeTopmostAtOrigin(static_cast<ui::WindowHandle>(static_cast<QWidget*>(this)));
}

void HelpPage::Unload() {
  if (g_pages[static_cast<size_t>(page_)] == this) g_pages[static_cast<size_t>(page_)] = nullptr;
  hide();
  deleteLater();
}

void HelpPage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    originX_ = WholePixels(event->position().x());
    originY_ = WholePixels(event->position().y());
  }
  event->accept();
}

void HelpPage::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) {
    move(x() + WholePixels(event->position().x()) - originX_,
         y() + WholePixels(event->position().y()) - originY_);
  }
  event->accept();
}

HelpPage* ShowHelpPage(int page, QWidget* parent) {
  if (!ValidPage(page)) return nullptr;
  QPointer<HelpPage>& slot = g_pages[static_cast<size_t>(page)];
  if (!slot) slot = new HelpPage(page, parent);
  slot->show();
  slot->raise();
  return slot;
}

HelpPage* LoadedHelpPage(int page) {
  if (!ValidPage(page)) return nullptr;
  return g_pages[static_cast<size_t>(page)];
}

void UnloadHelpPages() {
  for (QPointer<HelpPage>& slot : g_pages) {
    if (slot) slot->Unload();
  }
}

}  // namespace ms
