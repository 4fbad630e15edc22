#include "graph/FrameCanvas.h"

#include <QPointer>

#include "graph/GraphImage.h"
#include "graph/GraphWindow.h"

namespace gr {

namespace {

QPointer<FrameCanvas> g_form1;

}  // namespace

FrameCanvas::FrameCanvas(QWidget* parent)
    : QWidget(parent, Qt::Window),
      picture_(std::make_unique<draw::DrawTarget>(kFramePictureTwips / kTwipsPerPixel,
                                                  kFramePictureTwips / kTwipsPerPixel)) {
  setObjectName(QStringLiteral("Form1"));
  g_form1 = this;
}

FrameCanvas::~FrameCanvas() = default;

FrameCanvas* FrameCanvas::Instance() {
  return g_form1.data();
}

FrameCanvas& FrameCanvas::Load() {
  if (g_form1.isNull()) {
    auto* form = new FrameCanvas(GraphWindow::Instance());
    form->Form_Load();
  }
  return *g_form1;
}

void FrameCanvas::Form_Load() {
  // The picture is measured in twips like the graph's own picture; drawing keeps to it.
  picture_->SetScale(0, 0, kFramePictureTwips, kFramePictureTwips);
  picture_->FillStyle = draw::kFillTransparent;
  picture_->Cls();
}

bool FrameCanvas::SavePicture(const QString& path) const {
  return WriteBitmap(*picture_, path);
}

}  // namespace gr
