// GraphDrawing is the view and drawing part of the window "frmGraph" (GraphWindow).
// It draws the scene into the picture box Display (turned, projected, each segment in its colour,
// then the text overlays), prints it, saves it as a picture file and takes the framed capture the
// mouse drags on the picture.
#pragma once

#include <QPointer>

#include "platform/draw/DrawTarget.h"

class QAction;
class QEvent;
class QMenu;
class QWidget;

namespace gr {

class GraphWindow;

class GraphDrawing {
 public:
  explicit GraphDrawing(GraphWindow& window) : w_(window) {}

  // Draws the scene on Display: Convert, then ImageView.
  void updateplot();
  // Copies the scene's world points into the view table.
  void Convert();
  // Turns, projects and paints every segment on the target, then the overlays.
  void ImageView(draw::DrawTarget& target);

  // Gives the printer target a user scale that maps the source's coordinates onto the page at the
  // source's physical size (15 twips a screen pixel), the centre of the source's scale on the
  // centre of the page. dpiX and dpiY are the printer's pixels per inch.
  static void SetPrinterScale(draw::DrawTarget& printer, double dpiX, double dpiY,
                              const draw::DrawTarget& source);
  // The picture as printed: the scale of Display on the page, the scene with the printer pen,
  // then the overlays that are switched on. Any target will do (tests use an image).
  void PrintGraph(draw::DrawTarget& printer, double dpiX, double dpiY);
  void mnuPrtGraph_Click();
  void mnuPtrSetup1_Click();
  // Creates the "Printer Options" items above "End Program" and connects them.
  void InitMenus(QMenu* printer);
  void mnuFine_Click();
  void mnuMedium_Click();
  void ResetPenForLoad();
  // The window's own draw width, which the pen items set (1 "Fine", 4 "Medium").
  int DrawWidth() const { return drawWidth_; }

  void mnuSaveGraph_Click();
  void mnuSaveFrame_Click();
  // Mouse on the picture; buttons 1 left, 2 right, 4 middle; x and y in Display's units.
  void Display_MouseDown(int button, double x, double y);
  void Display_MouseMove(int button, double x, double y);
  void Display_MouseUp(int button, double x, double y);
  // A mouse event on the picture box, passed to the Display_Mouse handlers.
  void DisplayMouseEvent(QEvent* event);

  // The framed capture: armed by "Save Framed (bmp)", consumed by the next button release.
  bool BoxMode = false;
  double BoxStartX = 0, BoxStartY = 0, BoxEndX = 0, BoxEndY = 0;

  // --- Items, named as the window's design names them ---------------------------------------
  QAction* mnuPtrSetup1 = nullptr;
  QMenu* mnuPen = nullptr;
  QAction* mnuFine = nullptr;
  QAction* mnuMedium = nullptr;
  QAction* mnuPrtGraph = nullptr;
  QAction* mnuSaveGraph = nullptr;
  QAction* mnuSaveFrame = nullptr;

 private:
  // The framed part of the picture once the frame is released.
  void CaptureFrame(double releaseX, double releaseY);

  GraphWindow& w_;
  // The target being printed on while PrintGraph runs: the scene painter gives it the printer pen.
  draw::DrawTarget* printTarget_ = nullptr;
  // The band shown while a frame is dragged on the picture.
  QPointer<QWidget> frameBand_;
  int drawWidth_ = 1;
};

}  // namespace gr
