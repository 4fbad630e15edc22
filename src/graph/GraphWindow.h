// GraphWindow is the window "frmGraph" ("Create Graph").
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
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;

namespace ms {
struct ColourChoices;
struct SceneStepReport;
}  // namespace ms

namespace gr {

// Twips per pixel of the picture box.
constexpr int kTwipsPerPixel = 15;
// A length of the window design in twips as whole pixels, rounded to the nearest.
constexpr int TwipsToPixels(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
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
  // A key as the picture takes it: the arrows turn, Esc aborts, characters go to Form_KeyPress.
  void GraphKey(const QKeyEvent& key);
  void cmd3D_Click();
  void HScrScroll_Change();
  void VScrScroll_Change();
  void HPosition_Change();
  void VPosition_Change();
  // Validation of the three scale boxes: true when the text is refused (focus stays).
  bool strXScale_Validate();
  bool strYScale_Validate();
  bool strZScale_Validate();

  // --- ODE view buttons (GraphWindowViews.cpp)
  // ----------------------------------------------------- A view button: records the view
  // code 1..22, marks the button and rebuilds from the stored solution. Codes outside 1..22 and
  // presses during a build are ignored.
  void ViewButton_Click(int code);
  // Background colour (packed RGB) of the button of a view code; 0 for a code outside 1..22.
  int32_t ViewButtonColor(int code) const;

  // --- Option menus (GraphWindowMenus.cpp) -------------------------------------------------------
  // The colour chooser: the colour dialog starts from the colour last chosen in this window;
  // the chosen colour is stored in the argument. True when a colour was chosen, false (argument
  // unchanged) when the dialog was cancelled.
  bool ProcessColor(int32_t& color);
  // The worksheet's preset colours: the colour dialog, starting from black, without loading the
  // graph window. True when a colour was chosen, false (argument unchanged) when cancelled.
  static bool PresetColor(int32_t& color);
  void mnuPlot_Click(int plot);  // "#1" .. "#6"
  void mnuPlotIVPColor_Click();
  void mnuBVPyes_Click();
  void mnuBVPno_Click();
  void mnuIntegColor_Click();
  void mnuXYPlane_Click();
  void mnuAxes_Click();
  void mnuDisplayAxes_Click();
  void mnuXY_Click();
  void mnu1Deg_Click();
  void mnu2Deg_Click();
  void mnuYes_Click();
  void mnuNo_Click();
  void mnuDotNone_Click();
  void mnuDot_Click(int spacing);  // "10 Spacing" .. "100 Spacing"
  void mnuCustom_Click();
  void mnuSymbol_Click(QAction* symbol);  // mnuOSymbol, mnuPSymbol or mnuXSymbol
  void mnuCodeYes_Click();
  void mnuCodeNo_Click();
  void mnuFine_Click();
  void mnuMedium_Click();

  // --- Printing (GraphWindowPrint.cpp)
  // ------------------------------------------------------------- Gives the printer target a user
  // scale that maps the source's coordinates onto the page at the source's physical size (15 twips
  // a screen pixel), the centre of the source's scale on the centre of the page. dpiX and dpiY are
  // the printer's pixels per inch.
  static void SetPrinterScale(draw::DrawTarget& printer, double dpiX, double dpiY,
                              const draw::DrawTarget& source);
  // The picture as printed: the scale of Display on the page, the scene with the printer pen,
  // then the overlays that are switched on. Any target will do (tests use an image).
  void PrintGraph(draw::DrawTarget& printer, double dpiX, double dpiY);
  void mnuPrtGraph_Click();
  void mnuPtrSetup1_Click();

  // --- Pictures and the framed capture (GraphWindowImage.cpp)
  // ----------------------------------------
  void mnuSaveGraph_Click();
  void mnuSaveFrame_Click();
  // Mouse on the picture; buttons 1 left, 2 right, 4 middle; x and y in Display's units.
  void Display_MouseDown(int button, double x, double y);
  void Display_MouseMove(int button, double x, double y);
  void Display_MouseUp(int button, double x, double y);
  // The framed capture: armed by "Save Framed (bmp)", consumed by the next button release.
  bool BoxMode = false;
  double BoxStartX = 0, BoxStartY = 0, BoxEndX = 0, BoxEndY = 0;

  // --- Families of curves and animation frames (GraphWindowFamily.cpp)
  // -----------------------------
  void mnuFamilySetUp_Click();  // "Family of Curves" > "Set Up"
  void mnuPlotSet_Click();      // "Generate Curves": the member loop
  void mnuSetUp_Click();        // "Animation" > "Set Up"
  void mnuSetCompute_Click();   // "Compute Frames": the frame loop
  // A member or frame loop is under way (it lets events run between passes).
  bool LoopRunning() const { return loopRunning_; }
  // "Family of Curves": "Set Up", then "Color Code Plots?" (mnuColorCode, inserted before
  // "Generate Curves"), then "Generate Curves". "Animation": "Set Up", "Compute Frames".
  QMenu* mnuFamily = nullptr;
  QAction* mnuFamilySetUp = nullptr;
  QAction* mnuPlotSet = nullptr;
  QMenu* mnuAnimate = nullptr;
  QAction* mnuSetUp = nullptr;
  QAction* mnuSetCompute = nullptr;
  QGroupBox* Frame1 = nullptr;  // "Move Graphic Image within Documentation"
  QGroupBox* Frame3 = nullptr;  // "Updated Display of Viewing Angles"

  // Background colour of the 2D/3D button (packed RGB).
  int32_t Cmd3DColor() const { return cmd3DColor_; }
  // Whether the build hid the Return button and has not shown it again.
  bool ReturnShown() const;
  bool IsBusy() const { return busy_; }
  int DrawWidth() const { return drawWidth_; }

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
  QAction* mnuData = nullptr;         // "Display Data": shows the display-options window
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
  QAction* mnuPtrSetup1 = nullptr;
  QMenu* mnuPen = nullptr;
  QAction* mnuPrtGraph = nullptr;
  QAction* mnuSaveGraph = nullptr;
  QAction* mnuSaveFrame = nullptr;
  QAction* mnuBVPyes = nullptr;
  QAction* mnuBVPno = nullptr;
  QAction* mnuDot10 = nullptr;
  QAction* mnuDot20 = nullptr;
  QAction* mnuDot50 = nullptr;
  QAction* mnuDot100 = nullptr;
  QAction* mnuCustom = nullptr;
  QMenu* mnuColorCode = nullptr;  // "Color Code Plots?" of the "Family of Curves" menu
  QAction* mnuCodeYes = nullptr;
  QAction* mnuCodeNo = nullptr;
  // The ODE view buttons by view code (entry 0 unused): cmdIVPPlot1..14, cmdPlot15..22.
  std::array<QPushButton*, 23> ViewButtons{};

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  // The "Family of Curves" and "Animation" menus (GraphWindowFamily.cpp).
  void BuildFamilyMenus();
  void FamilyStopPath();
  void FramesStopPath();
  // The graph window is gone or closing (End Program while a loop let events run).
  bool LoopCut() const;
  // The "Printer Options" items above "End Program" (GraphWindowPrint.cpp).
  void BuildPrinterMenu(QMenu* printer);
  // A mouse event on the picture box, passed to the Display_Mouse handlers.
  void DisplayMouseEvent(QEvent* event);
  // The framed part of the picture once the frame is released (GraphWindowImage.cpp).
  void CaptureFrame(double releaseX, double releaseY);
  void RouteKeys();
  QWidget* KeyReceiver();
  void ApplyPixelRatio(bool redraw);
  void SetCmd3D(int32_t color, const QString& caption);
  void SetBusyPointer(bool busy);
  void ShowReturn(bool shown);
  void ShowCount();
  void SetLabelBackground(QLabel* label, int32_t packed);
  void TakeColourChoices(const ms::ColourChoices& changed);
  void ReflectGraphMenus();
  void SetMenuEnabled(QAction* item, bool enabled);
  void SetMenuEnabled(QMenu* item, bool enabled);
  // The build's early ends: the box, the pointer back, and the window left usable.
  void SetBoxEnabled(bool enabled);
  void ReflectOdeViews(const std::array<bool, 10>& views);
  void StopBuild(const rt::Text& text, int style, const rt::Text& title);
  void ReflectBuildStep(const ms::SceneStepReport& report);
  // The view buttons in their frames, and the option items the base menus do not hold.
  void BuildViewButtons();
  void BuildOptionMenus();
  void SetViewButtonColor(int code, int32_t color);
  // Marks the view button of code as the chosen one of its frame.
  void MarkViewButton(int code);
  // Replot set, arrows counted from the first curve again, then the build.
  void RebuildFromStore();
  void ValidateScaleBox(QLineEdit* box);
  bool ValidateScale(QLineEdit* box, const rt::Text& notNumber, const rt::Text& zero, double& unit,
                     double& userUnit);
  // The load's rescue of the worksheet after a run-time error.
  void LoadFailed(int errorNumber, const rt::Text& description);
  bool SaveWorksheet();
  void Unload();

  std::unique_ptr<draw::DrawTarget> display_;
  int32_t cmd3DColor_ = 0xFFC0FF;
  // The window's own draw width, which the pen items set (1 "Fine", 4 "Medium").
  int drawWidth_ = 1;
  bool busy_ = false;
  bool building_ = false;    // GenerateData is on the stack
  bool validating_ = false;  // a scale box is being validated (its box takes the focus)
  bool unloading_ = false;   // an unload the program asked for: the closing guard lets it pass
  bool returnShown_ = true;
  QFont printerFont_;
  // The target being printed on while PrintGraph runs: the scene painter gives it the printer pen.
  draw::DrawTarget* printTarget_ = nullptr;
  // The band shown while a frame is dragged on the picture.
  QPointer<QWidget> frameBand_;
  bool loopRunning_ = false;    // a member or frame loop is under way
  bool framesRunning_ = false;  // the frame loop is under way
  std::array<int32_t, 23> viewButtonColors_{};
  // The colour the colour dialog starts from: the last colour chosen in this window (black first).
  int32_t dialogColor_ = 0;
  // Which colour items are offered: a Plot[ curve's #1 to #6, the IVP solution's, the BVP
  // trial curves'. Kept as the builds and the colour items change them, shown by the items.
  struct ColourItems {
    std::array<bool, 6> curves{};
    bool ivpSolution = false;
    bool bvpTrials = false;
  };
  ColourItems colours_;
};

}  // namespace gr
