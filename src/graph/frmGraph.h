// The graph window "Create Graph": runs the plot requests into one scene, draws it on its picture
// box and lets the user turn, zoom and pan the view. One global window: created when first used,
// unloaded by Return and End Program, and it refuses every other way of closing.
//
// The picture box Display is a drawing target in twips (15 per pixel) of 11500 x 15000, larger than
// its viewport OutDisplay; two scroll bars pan it inside the viewport.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "platform/draw/DrawTarget.h"
#include "platform/runtime/Runtime.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;

namespace gr {

// Twips per pixel of the picture box.
constexpr int kTwipsPerPixel = 15;
// Size of the picture box Display in twips.
constexpr int kDisplayWidthTwips = 11500;
constexpr int kDisplayHeightTwips = 15000;

// Unload modes of the closing guard: 1 is an unload the program asks for itself.
constexpr int kUnloadByProgram = 1;
constexpr int kUnloadByUser = 0;

// Shows the picture of the drawing target Display.
class PictureBox : public QWidget {
 public:
  PictureBox(draw::DrawTarget& target, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  draw::DrawTarget& target_;
};

class frmGraph : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmGraph(QWidget* parent = nullptr);
  ~frmGraph() override;

  // The loaded graph window, or null.
  static frmGraph* Instance();
  // The graph window, loaded first (its load runs in full) when it is not loaded.
  static frmGraph& Load();

  // --- Lifecycle ------------------------------------------------------------------------------
  void Form_Load();
  void cmdReturn_Click();
  void cmdExit_Click();
  void mnuEnd_Click();
  void cmdUpdate_Click();
  // The closing guard: true when the unload is to be cancelled.
  bool Form_QueryUnload(int unloadMode);
  // The unload mode of a close: one the platform delivers (spontaneous: the close box, the
  // system menu, the session ending) is the user's unless the program is unloading the window
  // itself; a close the program asks for (End Program, the end of the program from another
  // window) is an unload by the program.
  static int UnloadModeOf(bool spontaneous, bool unloading);

  // --- Picture build and drawing ----------------------------------------------------------------
  void GenerateData();
  void updateplot();
  void Convert();
  void ImageView(draw::DrawTarget& target);
  draw::DrawTarget& Display() { return *display_; }

  // --- View navigation ---------------------------------------------------------------------------
  // Key codes of the arrow keys: 37 left, 38 up, 39 right, 40 down; other codes do nothing.
  void Form_KeyDown(int keyCode, int shift);
  void Form_KeyPress(int keyAscii);
  void cmd3D_Click();
  void HScrScroll_Change();
  void VScrScroll_Change();
  void HPosition_Change();
  void VPosition_Change();
  // Validation of the three scale boxes: true when the text is refused (focus stays).
  bool strXScale_Validate();
  bool strYScale_Validate();
  bool strZScale_Validate();

  // Background colour of the 2D/3D button (packed RGB).
  int32_t Cmd3DColor() const { return cmd3DColor_; }
  // Whether the build hid the Return button and has not shown it again.
  bool ReturnShown() const;
  bool IsBusy() const { return busy_; }

  // --- Controls, named as the window's design names them ------------------------------------
  QWidget* OutDisplay = nullptr;
  PictureBox* DisplayBox = nullptr;
  QScrollBar* HScrScroll = nullptr;
  QScrollBar* VScrScroll = nullptr;
  QScrollBar* HPosition = nullptr;
  QScrollBar* VPosition = nullptr;
  QLabel* Label10 = nullptr;            // elevation, whole degrees
  QLabel* Label12 = nullptr;            // rotation, whole degrees
  QLabel* Label5 = nullptr;             // vertices count
  std::array<QLabel*, 6> PlotLabels{};  // Label15 .. Label20: curves #1 .. #6
  QPushButton* cmd3D = nullptr;
  QPushButton* cmdReturn = nullptr;
  QPushButton* cmdExit = nullptr;
  QPushButton* cmdUpdate = nullptr;
  QProgressBar* Picture1 = nullptr;
  QGroupBox* Frame2 = nullptr;  // "Scale per Grid Unit (Parametric Plots)"
  QGroupBox* Frame5 = nullptr;  // ODE view-button frames
  QGroupBox* Frame6 = nullptr;
  QGroupBox* Frame7 = nullptr;
  QGroupBox* Frame8 = nullptr;
  QGroupBox* Frame9 = nullptr;
  QLineEdit* strXScale = nullptr;
  QLineEdit* strYScale = nullptr;
  QLineEdit* strZScale = nullptr;

  QAction* mnuEnd = nullptr;
  std::array<QAction*, 6> mnuPlot{};  // "#1" .. "#6" (mnuPlot1, mnuPlot2, mnuPLot3, ...)
  QAction* Dash3 = nullptr;
  QAction* mnuPlotIVPColor = nullptr;
  QMenu* mnuBVPcolor = nullptr;
  QAction* mnuIntegColor = nullptr;
  QAction* mnuXYPlane = nullptr;
  QAction* mnuAxes = nullptr;
  QMenu* mnuAxis = nullptr;
  QAction* mnuDisplayAxes = nullptr;
  QAction* mnuXY = nullptr;
  QMenu* mnuOptions = nullptr;
  QMenu* mnuInc = nullptr;
  QAction* mnu1Deg = nullptr;
  QAction* mnu2Deg = nullptr;
  QMenu* mnuBox = nullptr;
  QAction* mnuYes = nullptr;
  QAction* mnuNo = nullptr;
  QMenu* mnuDotSpacing = nullptr;
  QAction* mnuDotNone = nullptr;
  QAction* mnuOSymbol = nullptr;
  QAction* mnuPSymbol = nullptr;
  QAction* mnuXSymbol = nullptr;
  QAction* mnuFine = nullptr;
  QAction* mnuMedium = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void RouteKeys();
  QWidget* KeyReceiver();
  void SetCmd3D(int32_t color, const QString& caption);
  void SetBusyPointer(bool busy);
  void ShowReturn(bool shown);
  void ShowCount();
  void SetLabelBackground(QLabel* label, int32_t packed);
  void ReflectGraphMenus();
  void SetMenuEnabled(QAction* item, bool enabled);
  void SetMenuEnabled(QMenu* item, bool enabled);
  // The build's early ends: the box, the pointer back, and the window left usable.
  void SetBoxEnabled(bool enabled);
  void ReflectIvpFrames();
  void StopBuild(const rt::Text& text, int style, const rt::Text& title, bool disableBox);
  bool RunBlockCommand(int block, rt::Text& statement, int16_t slot);
  bool CommonTail(const rt::Text& limitText);
  bool CurveTail(int curve);
  void AddAxes();
  bool ValidateScale(QLineEdit* box, const rt::Text& notNumber, const rt::Text& zero, double& unit,
                     double& userUnit);
  // The load's rescue of the worksheet after a run-time error.
  void LoadFailed(int errorNumber, const rt::Text& description);
  bool SaveWorksheet();
  void Unload();

  std::unique_ptr<draw::DrawTarget> display_;
  int32_t cmd3DColor_ = 0xFFC0FF;
  bool busy_ = false;
  bool building_ = false;    // GenerateData is on the stack
  bool validating_ = false;  // a scale box is being validated (its box takes the focus)
  bool unloading_ = false;   // an unload the program asked for: the closing guard lets it pass
  bool returnShown_ = true;
  QFont printerFont_;
};

}  // namespace gr
