// GraphWindow is the window "frmGraph" ("Create Graph").
// The graph window "Create Graph": runs the plot requests into one scene, draws it on its picture
// box and lets the user turn, zoom and pan the view. One global window: created when first used,
// unloaded by Return and End Program, and it refuses every other way of closing.
//
// The window holds the picture, the build's progress and its own buttons, the load and unload, and
// the picture build (GenerateData, which hands each row's report to the menus), and places the
// controls and menus of its parts. Each part creates, connects and enables its own: GraphDrawing
// (view and drawing, printing, pictures; the printer items), GraphNavigation (keys, rotation,
// zoom, scroll bars, scale boxes, view buttons), GraphMenus (option menus and the build reports)
// and GraphAnimation (families of curves, animation frames; their menus). The design's handlers
// on the window forward to their parts.
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

#include "graph/GraphAnimation.h"
#include "graph/GraphDrawing.h"
#include "graph/GraphMenus.h"
#include "graph/GraphNavigation.h"
#include "platform/draw/DrawTarget.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/QtWidgetKit.h"

class QAction;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace gr {

using ui::kTwipsPerPixel;
using ui::TwipsToPixels;
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

class GraphWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit GraphWindow(QWidget* parent = nullptr);
  ~GraphWindow() override;

  // The loaded graph window, or null.
  static GraphWindow* Instance();
  // The graph window, loaded first (its load runs in full) when it is not loaded.
  static GraphWindow& Load();

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

  // --- Picture build (GraphWindowRun.cpp): the core builds, the menus follow each row's report.
  void GenerateData();
  draw::DrawTarget& Display() { return *display_; }

  // The handlers of the window design, each passed to the part of the window that does the work.
  // --- View and drawing (GraphDrawing) -----------------------------------------------------------
  // Until the first build starts, the load's settings (scroll bars, display options) would only
  // draw the previous scene again: the first picture is the first build's.
  void updateplot() {
    if (!awaitingFirstBuild_) drawing_->updateplot();
  }
  void Convert() { drawing_->Convert(); }
  void ImageView(draw::DrawTarget& target) { drawing_->ImageView(target); }
  static void SetPrinterScale(draw::DrawTarget& printer, double dpiX, double dpiY,
                              const draw::DrawTarget& source) {
    GraphDrawing::SetPrinterScale(printer, dpiX, dpiY, source);
  }
  void PrintGraph(draw::DrawTarget& printer, double dpiX, double dpiY) {
    drawing_->PrintGraph(printer, dpiX, dpiY);
  }
  void mnuPrtGraph_Click() { drawing_->mnuPrtGraph_Click(); }
  void mnuPtrSetup1_Click() { drawing_->mnuPtrSetup1_Click(); }
  void mnuSaveGraph_Click() { drawing_->mnuSaveGraph_Click(); }
  void mnuSaveFrame_Click() { drawing_->mnuSaveFrame_Click(); }
  // Mouse on the picture; buttons 1 left, 2 right, 4 middle; x and y in Display's units.
  void Display_MouseDown(int button, double x, double y) {
    drawing_->Display_MouseDown(button, x, y);
  }
  void Display_MouseMove(int button, double x, double y) {
    drawing_->Display_MouseMove(button, x, y);
  }
  void Display_MouseUp(int button, double x, double y) { drawing_->Display_MouseUp(button, x, y); }

  // --- Navigation: keys, rotation, zoom, scroll bars, scale boxes, view buttons (GraphNavigation)
  void Form_KeyDown(int keyCode, int shift) { navigation_->Form_KeyDown(keyCode, shift); }
  void Form_KeyPress(int keyAscii) { navigation_->Form_KeyPress(keyAscii); }
  // A key as the picture takes it: the arrows turn, Esc aborts, characters go to Form_KeyPress.
  void GraphKey(const QKeyEvent& key);
  // A key that types one printable character (the letter keys, digits, signs).
  static bool IsCharacterKey(const QKeyEvent& key);

  // --- Option menus (GraphMenus) -----------------------------------------------------------------
  bool ProcessColor(int32_t& color) { return menus_->ProcessColor(color); }
  void mnuPlot_Click(int plot) { menus_->mnuPlot_Click(plot); }
  void mnuPlotIVPColor_Click() { menus_->mnuPlotIVPColor_Click(); }
  void mnuBVPyes_Click() { menus_->mnuBVPyes_Click(); }
  void mnuBVPno_Click() { menus_->mnuBVPno_Click(); }
  void mnuIntegColor_Click() { menus_->mnuIntegColor_Click(); }
  void mnuXYPlane_Click() { menus_->mnuXYPlane_Click(); }
  void mnuAxes_Click() { menus_->mnuAxes_Click(); }
  void mnuDisplayAxes_Click() { menus_->mnuDisplayAxes_Click(); }
  void mnuXY_Click() { menus_->mnuXY_Click(); }
  void mnu1Deg_Click() { menus_->mnu1Deg_Click(); }
  void mnu2Deg_Click() { menus_->mnu2Deg_Click(); }
  void mnuYes_Click() { menus_->mnuYes_Click(); }
  void mnuNo_Click() { menus_->mnuNo_Click(); }
  void mnuDotNone_Click() { menus_->mnuDotNone_Click(); }
  void mnuDot_Click(int spacing) { menus_->mnuDot_Click(spacing); }
  void mnuCustom_Click() { menus_->mnuCustom_Click(); }
  void mnuSymbol_Click(QAction* symbol) { menus_->mnuSymbol_Click(symbol); }
  void mnuCodeYes_Click() { animation_->mnuCodeYes_Click(); }
  void mnuCodeNo_Click() { animation_->mnuCodeNo_Click(); }
  void mnuFine_Click() { drawing_->mnuFine_Click(); }
  void mnuMedium_Click() { drawing_->mnuMedium_Click(); }

  // --- Families of curves and animation frames (GraphAnimation) ----------------------------------
  void mnuFamilySetUp_Click() { animation_->mnuFamilySetUp_Click(); }
  void mnuPlotSet_Click() { animation_->mnuPlotSet_Click(); }
  void mnuSetUp_Click() { animation_->mnuSetUp_Click(); }
  void mnuSetCompute_Click() { animation_->mnuSetCompute_Click(); }
  // A member or frame loop is under way (it lets events run between passes).
  bool LoopRunning() const { return animation_->LoopRunning(); }

  // The parts of the window.
  GraphDrawing& Drawing() { return *drawing_; }
  GraphNavigation& Navigation() { return *navigation_; }
  GraphMenus& Menus() { return *menus_; }
  const GraphMenus& Menus() const { return *menus_; }
  GraphAnimation& Animation() { return *animation_; }

  // Whether the build hid the Return button and has not shown it again.
  bool ReturnShown() const;
  // The progress label of a curve of the build (1..6) in the colour of a curve that was built.
  void ShowCurveBuilt(int curve);
  bool IsBusy() const { return busy_; }
  int DrawWidth() const { return drawing_->DrawWidth(); }

  // --- What the parts ask of the window -------------------------------------------------------
  // A build is under way (GenerateData is on the stack).
  bool Building() const { return building_; }
  // An unload the program asked for is under way.
  bool Unloading() const { return unloading_; }
  // The font the printed picture starts from: the worksheet's, as the load took it.
  const QFont& PrinterFont() const { return printerFont_; }
  void SetBusyPointer(bool busy);
  void ShowReturn(bool shown);
  // The vertices count of the scene.
  void ShowCount();
  // Ends a build early: the box, the pointer back, and the window left usable.
  void StopBuild(const rt::Text& text, int style, const rt::Text& title);

  // --- Controls, named as the window's design names them ------------------------------------
  QWidget* OutDisplay = nullptr;
  PictureBox* DisplayBox = nullptr;
  QLabel* Label5 = nullptr;             // vertices count
  std::array<QLabel*, 6> PlotLabels{};  // Label15 .. Label20: curves #1 .. #6
  QPushButton* cmdReturn = nullptr;
  QPushButton* cmdExit = nullptr;
  QPushButton* cmdUpdate = nullptr;
  QProgressBar* Picture1 = nullptr;

  QAction* mnuEnd = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QGridLayout* BuildPictureArea(QWidget* central);
  QGroupBox* BuildProgress(QWidget* central);
  void BuildMenus();
  void RouteKeys();
  QWidget* KeyReceiver();
  void ApplyPixelRatio(bool redraw);
  // The parts of the load that are the window's own.
  void TakeWorksheetFont();
  void ResetForLoad();
  // The load's rescue of the worksheet after a run-time error.
  void LoadFailed(int errorNumber, const rt::Text& description);
  bool SaveWorksheet();
  void Unload();

  std::unique_ptr<draw::DrawTarget> display_;
  bool busy_ = false;
  bool building_ = false;  // GenerateData is on the stack
  bool awaitingFirstBuild_ = true;
  bool unloading_ = false;  // an unload the program asked for: the closing guard lets it pass
  bool returnShown_ = true;
  QFont printerFont_;

  // The parts of the window, each owning its controls and menu items.
  std::unique_ptr<GraphDrawing> drawing_;
  std::unique_ptr<GraphNavigation> navigation_;
  std::unique_ptr<GraphMenus> menus_;
  std::unique_ptr<GraphAnimation> animation_;
};

// Loads the graph window (GraphWindow::Load): the loader the worksheet window's Graph button is
// made with.
void LoadGraphWindow();

}  // namespace gr
