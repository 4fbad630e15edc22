// HelpWindow is the window "XfrmHelp" (the help index).
// The help window: eighteen buttons that each open one help page and close the window, and an
// index of the tutorial's page references by category.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;

namespace ms {

class HelpWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);
  // Background colours of the six category buttons, packed red + 256 green + 65536 blue.
  void ButtonColors(const std::array<int32_t, 6>& colors);
  // Closes the window and releases it; pages opened from it stay open.
  void Unload();

 private:
  void CategoryClick(int category);
  void PageClick(int page);

  std::array<QPushButton*, 6> categoryButtons_{};
  QGroupBox* categoryFrame_ = nullptr;
  std::array<QLabel*, 7> topicLabels_{};
};

// The worksheet's Help item: creates the help window when it is not loaded and shows it
// modeless. `parent` (the worksheet window, may be null) also becomes the pages' parent.
void ShowHelpWindow(QWidget* parent);
// The loaded help window, or nullptr.
HelpWindow* LoadedHelpWindow();

}  // namespace ms
