#include "help/HelpWindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QVBoxLayout>

#include "help/HelpPage.h"
#include "help/HelpText.h"
#include "platform/ui/QtWidgetKit.h"

namespace ms {
namespace {

QPointer<HelpWindow> g_helpWindow;

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QGroupBox* MakeFrame(const help::HelpWindowFrame& frame, QWidget* parent) {
  return ui::MakeFrame(parent, ToQString(frame.name), ToQString(frame.caption));
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("XfrmHelp"));
  setWindowTitle(ToQString(help::kHelpWindowCaption));
  auto* layout = new QVBoxLayout(this);

  // Page-reference index: the category buttons beside the frame of topic lines.
  QGroupBox* references = MakeFrame(help::kReferenceFrame, this);
  auto* referencesLayout = new QHBoxLayout(references);
  auto* categoryColumn = new QVBoxLayout;
  const auto& categories = help::PageReferenceCategories();
  for (int k = 0; k < help::kCategoryCount; ++k) {
    const help::PageReferenceCategory& category = categories[static_cast<size_t>(k)];
    auto* button = new QPushButton(ToQString(category.caption), references);
    button->setObjectName(ToQString(category.button));
    connect(button, &QPushButton::clicked, this, [this, k] { CategoryClick(k); });
    categoryColumn->addWidget(button);
    categoryButtons_[static_cast<size_t>(k)] = button;
  }
  referencesLayout->addLayout(categoryColumn);
  categoryFrame_ = MakeFrame(help::kCategoryFrame, references);
  auto* topicsLayout = new QVBoxLayout(categoryFrame_);
  for (int k = 0; k < help::kTopicLabelCount; ++k) {
    QLabel* label = ui::MakeLabel(categoryFrame_, QStringLiteral("Label%1").arg(k + 1));
    topicsLayout->addWidget(label);
    topicLabels_[static_cast<size_t>(k)] = label;
  }
  referencesLayout->addWidget(categoryFrame_, 1);
  layout->addWidget(references);

  // Page buttons, each in the frame the page table names.
  QGroupBox* basic = MakeFrame(help::kBasicFrame, this);
  auto* basicLayout = new QGridLayout(basic);
  QGroupBox* diffEq = MakeFrame(help::kDiffEqFrame, this);
  auto* diffEqLayout = new QHBoxLayout(diffEq);
  QGroupBox* ivp = MakeFrame(help::kIvpFrame, diffEq);
  QGroupBox* bvp = MakeFrame(help::kBvpFrame, diffEq);
  QGroupBox* integration = MakeFrame(help::kIntegrationFrame, diffEq);
  for (QGroupBox* box : {ivp, bvp, integration}) {
    new QVBoxLayout(box);
    diffEqLayout->addWidget(box);
  }
  int basicCount = 0;
  const auto& pages = help::HelpPages();
  for (int page = 0; page < help::kHelpPageCount; ++page) {
    const help::HelpPageText& text = pages[static_cast<size_t>(page)];
    QGroupBox* home = basic;
    for (QGroupBox* box : {ivp, bvp, integration}) {
      if (box->objectName() == ToQString(text.helpFrame)) home = box;
    }
    auto* button = new QPushButton(ToQString(text.helpCaption), home);
    button->setObjectName(ToQString(text.helpButton));
    connect(button, &QPushButton::clicked, this, [this, page] { PageClick(page); });
    if (home == basic) {
      basicLayout->addWidget(button, basicCount / 2, basicCount % 2);
      ++basicCount;
    } else {
      home->layout()->addWidget(button);
    }
  }
  layout->addWidget(basic);
  layout->addWidget(diffEq);

  QLabel* instruction = ui::MakeLabel(this, ToQString(help::kInstructionLabel));
  instruction->setText(ToQString(help::kInstructionText));
  instruction->setWordWrap(true);
  layout->addWidget(instruction);
  auto* exit = new QPushButton(ToQString(help::kExitHelpCaption), this);
  exit->setObjectName(ToQString(help::kExitHelpButton));
  connect(exit, &QPushButton::clicked, this, &HelpWindow::Unload);
  layout->addWidget(exit, 0, Qt::AlignHCenter);

  // Load: frame colours, the topic frame hidden, every category button grey.
  for (QGroupBox* box : {basic, diffEq, integration}) {
    ui::PaintBackground(box, help::kColorFrameLight);
  }
  for (QGroupBox* box : {ivp, categoryFrame_}) ui::PaintBackground(box, help::kColorGrey);
  categoryFrame_->hide();
  ButtonColors({help::kColorGrey, help::kColorGrey, help::kColorGrey, help::kColorGrey,
                help::kColorGrey, help::kColorGrey});
}

void HelpWindow::ButtonColors(const std::array<int32_t, 6>& colors) {
  for (size_t k = 0; k < categoryButtons_.size(); ++k) {
    ui::PaintBackground(categoryButtons_[k], colors[k], QPalette::Button);
  }
}

void HelpWindow::CategoryClick(int category) {
  const help::PageReferenceCategory& chosen =
      help::PageReferenceCategories()[static_cast<size_t>(category)];
  categoryFrame_->setTitle(ToQString(chosen.frameCaption));
  std::array<int32_t, 6> colors{};
  for (size_t k = 0; k < colors.size(); ++k) {
    colors[k] = static_cast<int>(k) == category ? help::kColorSelected : help::kColorGrey;
  }
  ButtonColors(colors);
  categoryFrame_->show();
  for (size_t k = 0; k < topicLabels_.size(); ++k) {
    topicLabels_[k]->setText(ToQString(chosen.topics[k]));
  }
}

void HelpWindow::PageClick(int page) {
  ShowHelpPage(page, parentWidget());
  Unload();
}

void HelpWindow::Unload() {
  if (g_helpWindow == this) g_helpWindow = nullptr;
  hide();
  deleteLater();
}

void ShowHelpWindow(QWidget* parent) {
  if (!g_helpWindow) g_helpWindow = new HelpWindow(parent);
  g_helpWindow->show();
  g_helpWindow->raise();
  g_helpWindow->activateWindow();
}

HelpWindow* LoadedHelpWindow() {
  return g_helpWindow;
}

}  // namespace ms
