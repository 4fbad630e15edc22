// GraphAnimation is the animation and families part of the window "frmGraph" (GraphWindow).
// Both loops step one constant of the worksheet over a range, execute the worksheet again and
// rebuild the picture: a family keeps every member in one picture, an animation saves each
// picture as a bitmap file of its own.
#pragma once

#include <QString>

#include "platform/runtime/Runtime.h"

namespace gr {

class GraphWindow;

class GraphAnimation {
 public:
  explicit GraphAnimation(GraphWindow& window) : w_(window) {}

  void mnuFamilySetUp_Click();  // "Family of Curves" > "Set Up"
  void mnuPlotSet_Click();      // "Generate Curves": the member loop
  void mnuSetUp_Click();        // "Animation" > "Set Up"
  void mnuSetCompute_Click();   // "Compute Frames": the frame loop
  // A member or frame loop is under way (it lets events run between passes).
  bool LoopRunning() const { return loopRunning_; }
  // The "Family of Curves" and "Animation" menus.
  void BuildFamilyMenus();

 private:
  void FamilyStopPath();
  void FramesStopPath();
  bool ComputeFrame(int k, const QString& name);
  void FramesDone(const rt::Text& base, const rt::Text& id);
  // The graph window is gone or closing (End Program while a loop let events run).
  bool LoopCut() const;

  GraphWindow& w_;
  bool loopRunning_ = false;    // a member or frame loop is under way
  bool framesRunning_ = false;  // the frame loop is under way
};

}  // namespace gr
