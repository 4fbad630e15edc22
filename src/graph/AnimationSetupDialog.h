// AnimationSetupDialog is the window "frmSetFrames" ("Animation").
// Animation frames: one bitmap of the graph for each value of a worksheet constant stepped over a
// range, plus a small text file with the range, the count and the constant. This header holds
// the frame settings the set-up window fills, the naming of the frame files and the set-up window
// AnimationSetupDialog with its progress display and Stop button.
//
// The frame loop itself is a handler of the graph window (GraphWindow::mnuSetCompute_Click).
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/runtime/Runtime.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gr {

struct FrameSettingsData {
  // The file name as typed (only its file title names the files), the constant and the number of
  // frames as typed. The range is kept with the family settings (RangeStart, RangeEnd).
  rt::Text FrameFileBase;
  rt::Text FrameConstID;
  rt::Text FrameTotal;
};

extern FrameSettingsData Frames;

void ResetFrameSettings();

// The base of the frame files: the part after the last folder separator ("\" or "/"), cut before
// its first "." when that stands at the second character or later.
rt::Text FrameBaseOf(const rt::Text& typed);
// File names in the current directory: base & k & ".bmp" and base & ".txt".
QString FrameBitmapName(const rt::Text& base, int frame);
QString FrameTextName(const rt::Text& base);
// The four lines of the text file, each ended by CR LF: start, end, count, constant.
rt::Text FrameTextContent(const rt::Text& start, const rt::Text& end, const rt::Text& total,
                          const rt::Text& id);

// What the "Total Frames" box stores for a typed text: the text, or "10" when it is empty, not
// numeric or below 1.
rt::Text FrameTotalOf(const rt::Text& typed);
// Frames of a run for a stored total: Val rounded half to even; below 1 it is 10. A total that is
// not a number, or beyond the 16-bit range, is replaced by "10" first (in total).
int16_t FrameCountOf(rt::Text& total);

class AnimationSetupDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AnimationSetupDialog(QWidget* parent = nullptr);
  ~AnimationSetupDialog() override;

  static AnimationSetupDialog* Instance();
  // The window, created first (its load runs) when it is not loaded; owned by the graph window
  // when there is one.
  static AnimationSetupDialog& Load();

  void Form_Load();
  void cmdSave_Click();
  void cmdCancel_Click();
  void cmdStop_Click();

  // Shows the window blocking the other windows; afterClose runs once when it is hidden again.
  void ShowModal(std::function<void()> afterClose);
  // Shows the window without blocking (the progress display of a run).
  void ShowModeless();
  // Background colour of the Stop button (packed RGB).
  int32_t StopColor() const { return stopColor_; }
  void SetStopColor(int32_t color);
  // "Frames written in <folder>" under the progress; the window grows to show all its lines.
  void ShowFolder(const QString& folder);

  QGroupBox* Frame1 = nullptr;  // "File Name Less .bmp"
  QLineEdit* txtFrameFile = nullptr;
  QGroupBox* Frame2 = nullptr;  // constant and range
  QLineEdit* Text1 = nullptr;
  QLineEdit* txtStart = nullptr;
  QLineEdit* txtEnd = nullptr;
  QGroupBox* Frame3 = nullptr;  // "Total Frames"
  QLineEdit* txtTotalFrames = nullptr;
  QGroupBox* Frame4 = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdCancel = nullptr;
  QGroupBox* Frame5 = nullptr;
  QGroupBox* Frame6 = nullptr;  // "Progress on Frame Generation"
  QPushButton* cmdStop = nullptr;
  QLabel* lblFrameNo = nullptr;
  QLabel* lblFrameCt = nullptr;
  QLabel* lblConstID = nullptr;
  QLabel* lblFolder = nullptr;  // where the frames of the last run were written

 protected:
  void hideEvent(QHideEvent* event) override;
  // Esc and the close box leave the window in place while a run shows its Stop button on it.
  void reject() override;

 private:
  std::function<void()> afterClose_;
  int32_t stopColor_ = 0;
};

}  // namespace gr
