// GraphNavigation is the navigation part of the window "frmGraph" (GraphWindow).
// Arrow keys turn the view, letter keys zoom and resize field vectors and arrow heads, the 2D/3D
// button switches to the plan view and back, scroll bars pan the picture and move the image, the
// scale boxes take the grid units of parametric plots, and the ODE view buttons choose the view of
// a stored solution.
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/Runtime.h"

class QString;

namespace ms {
enum class OdeViewGroup : uint8_t;
struct SceneStepReport;
}  // namespace ms

class QEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QScrollBar;
class QSize;
class QWidget;

namespace gr {

class GraphWindow;

// The part owns its controls: it creates and connects them in InitControls, and the window places
// them (the two panning bars beside the picture, the frames in the side panel).
class GraphNavigation {
 public:
  explicit GraphNavigation(GraphWindow& window) : w_(window) {}

  // Creates the controls below as children of parent and connects them to their handlers.
  void InitControls(QWidget* parent);

  // Key codes of the arrow keys: 37 left, 38 up, 39 right, 40 down; other codes do nothing.
  void Form_KeyDown(int keyCode, int shift);
  void Form_KeyPress(int keyAscii);
  void cmd3D_Click();
  // The picture is seen straight down the z axis (rotation -90 degrees, elevation 0).
  static bool InPlanView();
  // The angle labels as the view stands, in whole degrees; a view that has arrived at the plan
  // view puts the 2D/3D button into its 2D state.
  void ShowViewState();
  // The 2D/3D button in its 3D state, then the view as it stands.
  void ResetViewState();
  void HScrScroll_Change();
  void VScrScroll_Change();
  // The viewport OutDisplay was resized from the size before.
  void ViewportResized(const QSize& before);
  void HPosition_Change();
  void VPosition_Change();
  // Validation of the three scale boxes: true when the text is refused (focus stays).
  bool strXScale_Validate();
  bool strYScale_Validate();
  bool strZScale_Validate();

  // A view button: records the view code 1..22, marks the button and rebuilds from the stored
  // solution. Codes outside 1..22 and presses during a build are ignored.
  void ViewButton_Click(int code);
  // Background colour (packed RGB) of the button of a view code; 0 for a code outside 1..22.
  int32_t ViewButtonColor(int code) const;
  // The elevation and rotation of the view in whole degrees.
  void ShowAngles();
  // A scale box left other than for another window (a box, a menu) is validated; a refused
  // text keeps the focus in its box.
  void ScaleBoxEvent(QObject* watched, QEvent* event);
  // Background colour of the 2D/3D button (packed RGB).
  int32_t Cmd3DColor() const { return cmd3DColor_; }
  // Marks the view button of code as the chosen one of its frame.
  void MarkViewButton(int code);
  // The parts of the load.
  void CentrePicture();
  void ResetViewForLoad();
  // The frames of the build's views as the window loads: all hidden.
  void HideViewFrames();
  // The initial value command chooses which group of views the window offers: each group has its
  // frame of view buttons, and the others are hidden.
  void ShowOdeViews(ms::OdeViewGroup views);
  // The frames that follow one row of a build: before it runs, after it ran, once it completed.
  void FramesBeforeRow(const ms::SceneStepReport& r);
  void FramesAfterRowRan(const ms::SceneStepReport& r);
  void FramesAfterRowDone(const ms::SceneStepReport& r);
  // The picture's position scroll bars at the given values (their handlers run).
  void SetImagePosition(int horizontal, int vertical);
  // The image position and viewing angles frames, and the grid units with the first two view
  // frames, usable or not while the animation frames are computed.
  void EnableImageFrames(bool enabled);
  void EnableSolutionFrames(bool enabled);
  // The frames as a completed run of animation frames leaves them.
  void FramesRunDone();

  // --- Controls, named as the window's design names them ------------------------------------
  QGroupBox* Frame3 = nullptr;  // "Updated Display of Viewing Angles"
  QLabel* Label10 = nullptr;    // elevation, whole degrees
  QLabel* Label12 = nullptr;    // rotation, whole degrees
  QPushButton* cmd3D = nullptr;
  QScrollBar* HScrScroll = nullptr;  // pan the picture inside its viewport
  QScrollBar* VScrScroll = nullptr;
  QGroupBox* Frame2 = nullptr;  // "Scale per Grid Unit (Parametric Plots)"
  QLineEdit* strXScale = nullptr;
  QLineEdit* strYScale = nullptr;
  QLineEdit* strZScale = nullptr;
  QGroupBox* Frame5 = nullptr;  // ODE view-button frames
  QGroupBox* Frame6 = nullptr;
  QGroupBox* Frame7 = nullptr;
  QGroupBox* Frame8 = nullptr;
  QGroupBox* Frame9 = nullptr;
  // The ODE view buttons by view code (entry 0 unused): cmdIVPPlot1..14, cmdPlot15..22.
  std::array<QPushButton*, 23> ViewButtons{};
  QGroupBox* Frame1 = nullptr;  // "Move Graphic Image within Documentation"
  QScrollBar* HPosition = nullptr;
  QScrollBar* VPosition = nullptr;

 private:
  void InitAngles(QWidget* parent);
  void InitScales(QWidget* parent);
  void InitImagePosition(QWidget* parent);
  // The view buttons in their frames.
  void InitViewButtons(QWidget* parent);
  void SetCmd3D(int32_t color, const QString& caption);
  void ValidateScaleBox(QLineEdit* box);
  void SetViewButtonColor(int code, int32_t color);
  bool ValidateScale(QLineEdit* box, const rt::Text& notNumber, const rt::Text& zero, double& unit,
                     double& userUnit);

  GraphWindow& w_;
  std::array<int32_t, 23> viewButtonColors_{};
  int32_t cmd3DColor_ = 0xFFC0FF;
  bool validating_ = false;  // a scale box is being validated (its box takes the focus)
};

}  // namespace gr
