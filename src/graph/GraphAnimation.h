// GraphAnimation is the animation and families part of the window "frmGraph" (GraphWindow).
// Both loops step one constant of the worksheet over a range, execute the worksheet again and
// rebuild the picture: a family keeps every member in one picture, an animation saves each
// picture as a bitmap file of its own.
#pragma once

#include <QString>

#include "platform/runtime/Runtime.h"

class QAction;
class QMenu;
class QMenuBar;

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
  // Creates the "Family of Curves" and "Animation" menus on the bar and connects their items.
  void InitMenus(QMenuBar* bar);
  void mnuCodeYes_Click();  // "Color Code Plots?" > "Yes"
  void mnuCodeNo_Click();
  // "Generate Curves" and "Compute Frames" offered or not (their set-up windows saved or
  // cancelled).
  void OfferFamilyRun(bool offered);
  void OfferFrameRun(bool offered);

  // --- Items, named as the window's design names them ---------------------------------------
  QMenu* mnuFamily = nullptr;
  QAction* mnuFamilySetUp = nullptr;
  QMenu* mnuColorCode = nullptr;
  QAction* mnuCodeYes = nullptr;
  QAction* mnuCodeNo = nullptr;
  QAction* mnuPlotSet = nullptr;
  QMenu* mnuAnimate = nullptr;
  QAction* mnuSetUp = nullptr;
  QAction* mnuSetCompute = nullptr;

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
