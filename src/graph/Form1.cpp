#include "graph/Form1.h"

#include <QPointer>

#include "graph/GraphImage.h"
#include "graph/frmGraph.h"

namespace gr {

namespace {

QPointer<Form1> g_form1;

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window),
      picture_(std::make_unique<draw::DrawTarget>(kFramePictureTwips / kTwipsPerPixel,
                                                  kFramePictureTwips / kTwipsPerPixel)) {
  setObjectName(QStringLiteral("Form1"));
  g_form1 = this;
}

Form1::~Form1() = default;

Form1* Form1::Instance() {
  return g_form1.data();
}

Form1& Form1::Load() {
  if (g_form1.isNull()) {
    auto* form = new Form1(frmGraph::Instance());
    form->Form_Load();
  }
  return *g_form1;
}

void Form1::Form_Load() {
  // The picture is measured in twips like the graph's own picture; drawing keeps to it.
  picture_->SetScale(0, 0, kFramePictureTwips, kFramePictureTwips);
  picture_->FillStyle = draw::kFillTransparent;
  picture_->Cls();
}

bool Form1::SavePicture(const QString& path) const {
  return WriteBitmap(*picture_, path);
}

}  // namespace gr
