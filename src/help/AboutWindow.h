// AboutWindow is the window "frmAbout".
// The About window: four paragraphs about MathSheet and an "Exit" button. It is modal: the
// worksheet waits until Exit closes it.
#pragma once

#include <QDialog>

namespace ms {

class AboutWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent);
};

// The worksheet's About item: creates the About window, shows it modally and returns when it
// has been closed (its Exit button, Esc or the window's close box); the window is then released.
void ShowAboutWindow(QWidget* parent);
// The About window while it is shown, or nullptr.
AboutWindow* LoadedAboutWindow();

}  // namespace ms
