// FrameCanvas is the window "Form1" (hidden: the canvas the animation frames are drawn on).
// The hidden window whose picture the animation frames are drawn into and saved from. It is never
// shown; its picture is 4500 x 4500 twips and keeps what is drawn on it, so that the image can be
// written to a file.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "platform/draw/DrawTarget.h"

namespace gr {

// Size of the frame picture in twips.
constexpr int kFramePictureTwips = 4500;

class FrameCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit FrameCanvas(QWidget* parent = nullptr);
  ~FrameCanvas() override;

  static FrameCanvas* Instance();
  // The window, created first (its load runs) when it is not loaded; owned by the graph window
  // when there is one.
  static FrameCanvas& Load();

  void Form_Load();
  draw::DrawTarget& Picture1() { return *picture_; }
  // Writes the picture as a bitmap file; false when it was not written.
  bool SavePicture(const QString& path) const;

 private:
  std::unique_ptr<draw::DrawTarget> picture_;
};

}  // namespace gr
