// The eighteen help pages: borderless windows that stay on top, start at the screen's top-left
// corner, follow a left-button drag and close with their "Exit" button. One class serves every
// page; the page index (the order of the help window's buttons) selects its texts.
#pragma once

#include <QFrame>
#include <cstdint>

class QMouseEvent;

namespace ms {

class HelpPage final : public QFrame {
  Q_OBJECT

 public:
  int Page() const { return page_; }
  // Closes the page and releases it; the other pages stay as they are.
  void Unload();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // Builds page `page` and makes it topmost at the origin; only ShowHelpPage creates pages, after
  // checking the index.
  HelpPage(int page, QWidget* parent);
  friend HelpPage* ShowHelpPage(int page, QWidget* parent);

  int page_;
  // Mouse position at the last left-button press, in the page's own pixels.
  int32_t originX_ = 0;
  int32_t originY_ = 0;
};

// Creates page `page` when it is not loaded and shows it modeless; an open page is shown again
// as it is. Returns the page, or nullptr for an index outside 0 to 17.
HelpPage* ShowHelpPage(int page, QWidget* parent);
// The loaded page `page`, or nullptr when it is not loaded or the index is outside 0 to 17.
HelpPage* LoadedHelpPage(int page);
// Unloads every open page.
void UnloadHelpPages();

}  // namespace ms
