// ContourProgressWindow is the window "frmContour" ("Contour Progress").
// The contour progress window: the level being traced out of how many and with what step, the
// segment count against the fixed maximum, the quadrant whose start point is being traced, and
// Abort and "Exit to Graph". One global window, created when contour tracing first needs it and
// kept (hidden after Exit) until the graph window's Return or End Program unloads it. It stays on
// top of the other windows.
//
// The window only mirrors what tracing writes into ms::ContourWindow and passes its two buttons
// to the core; InstallContourWindow connects the core's tracing to it.
#pragma once

#include <QWidget>
#include <array>

class QCloseEvent;
class QGroupBox;
class QLabel;
class QPushButton;

namespace gr {

class ContourProgressWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit ContourProgressWindow(QWidget* parent = nullptr);
  ~ContourProgressWindow() override;

  // The loaded window, or null.
  static ContourProgressWindow* Instance();
  // The window, created first (its load runs in full) when it is not loaded.
  static ContourProgressWindow& Load();

  void Form_Load();
  void cmdAbort_Click();
  void cmdExit_Click();
  // Shows ms::ContourWindow on the controls.
  void Mirror();
  // How often Mirror has run since the window was created (tracing's refreshes are thinned out).
  int MirrorCount() const { return mirrorCount_; }

  // Controls, named as the window's design names them.
  QGroupBox* Frame1 = nullptr;  // "Level Status"
  QLabel* lblLevel = nullptr;
  QLabel* Label1 = nullptr;  // "of"
  QLabel* lblMaxCt = nullptr;
  QLabel* Label2 = nullptr;  // "step"
  QLabel* lblStep = nullptr;
  QGroupBox* Frame2 = nullptr;  // "Computation"
  QLabel* Label3 = nullptr;     // "Update Contour Segments:"
  QLabel* lblSegCt = nullptr;
  QLabel* Label4 = nullptr;         // "Maximum Contour Segments allowed: 15000"
  QGroupBox* Frame3 = nullptr;      // "Quadrant / Each Level"
  std::array<QLabel*, 4> lblQ{};    // lblQ1 .. lblQ4
  QPushButton* cmdExit = nullptr;   // "Exit to Graph"
  QPushButton* cmdAbort = nullptr;  // "Abort"

 private:
  // Room for the widest value each value label shows, in the window's font.
  void ReserveValueWidths();
  int mirrorCount_ = 0;

 protected:
  // The window has no close box; a close request while tracing is refused, otherwise it acts
  // as Exit to Graph.
  void closeEvent(QCloseEvent* event) override;
  // A new font reserves the value labels' room again.
  void changeEvent(QEvent* event) override;
};

// Connects contour tracing to this window (installs its ms::ContourWindowHost). Safe to call more
// than once.
void InstallContourWindow();
// Unloads the window when it is loaded (Return and End Program of the graph window).
void UnloadContourWindow();

}  // namespace gr
