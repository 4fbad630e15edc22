// GraphNavigation is the navigation part of the window "frmGraph" (GraphWindow).
// Arrow keys turn the view, letter keys zoom and resize field vectors and arrow heads, the 2D/3D
// button switches to the plan view and back, scroll bars pan the picture and move the image, the
// scale boxes take the grid units of parametric plots, and the ODE view buttons choose the view of
// a stored solution.
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/Runtime.h"

class QSize;

class QLineEdit;

namespace gr {

class GraphWindow;

class GraphNavigation {
 public:
  explicit GraphNavigation(GraphWindow& window) : w_(window) {}

  // Key codes of the arrow keys: 37 left, 38 up, 39 right, 40 down; other codes do nothing.
  void Form_KeyDown(int keyCode, int shift);
  void Form_KeyPress(int keyAscii);
  void cmd3D_Click();
  // The picture is seen straight down the z axis (rotation -90 degrees, elevation 0).
  static bool InPlanView();
  // The angle labels and the 2D/3D button as the view stands: the angles in whole degrees, the
  // button's state colour and the caption of what a press does.
  void ShowViewState();
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
  // The view buttons in their frames.
  void BuildViewButtons();
  // Marks the view button of code as the chosen one of its frame.
  void MarkViewButton(int code);
  // The parts of the load.
  void CentrePicture();
  void ResetViewForLoad();

 private:
  void SetViewButtonColor(int code, int32_t color);
  bool ValidateScale(QLineEdit* box, const rt::Text& notNumber, const rt::Text& zero, double& unit,
                     double& userUnit);

  GraphWindow& w_;
  std::array<int32_t, 23> viewButtonColors_{};
  bool validating_ = false;  // a scale box is being validated (its box takes the focus)
};

}  // namespace gr
