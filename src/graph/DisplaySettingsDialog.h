// DisplaySettingsDialog is the window "frmSetDisplay" ("Display Data").
// The display-options window "frmSetDisplay": a small always-on-top window in which the user
// chooses which documentation texts appear on the graph and where. Six blocks, each a frame with
// a check box (its show flag) and two scroll bars (its horizontal and vertical position): data
// scales, time scales, the worksheet listing (with its bracket format option), select values, an
// optional title (text, centring, font) and the axis-label legend (three labels, font). Every
// change redraws the graph at once.
//
// The overlays are drawn from its choices as values (Content), on the graph picture and on the
// printer alike.
//
// One global window: the graph window's load loads it hidden, "Display Data" shows it, Return
// unloads it. Its close box is refused; "Exit" only hides it.
#pragma once

#include <QFont>
#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>

#include "graph/GraphOverlays.h"
#include "platform/draw/DrawTarget.h"
#include "platform/runtime/Runtime.h"

class QCheckBox;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace gr {

class GraphWindow;

class DisplaySettingsDialog final : public QWidget {
  Q_OBJECT

 public:
  explicit DisplaySettingsDialog(QWidget* parent = nullptr);
  ~DisplaySettingsDialog() override;

  // The loaded window, or null.
  static DisplaySettingsDialog* Instance();
  // The window, loaded (hidden, its load run in full) when it is not loaded.
  static DisplaySettingsDialog& Load();

  void Form_Load();
  // The controls back as BuildControls left them, so that a load reusing the window starts where
  // a new window would; no handler runs and nothing is redrawn.
  void ResetControls();

  // --- Handlers ---------------------------------------------------------------------------------
  void ckData_Click();
  void ckTime_Click();
  void ckWk_Click();
  void CkVal_Click();
  void ckText_Click();
  void ckLegend_Click();
  void cmdTitleFont_Click();
  void cmdLegendFont_Click();
  void Command1_Click();
  // The closing guard: true when the close is to be cancelled.
  bool Form_QueryUnload(bool byProgram);

  // What the overlays draw of this window's choices. A title that is shown takes its format in
  // its box as well.
  OverlayContent Content();
  // The selected worksheet format option (Option1 .. Option3 as 1 .. 3); selects "None" when no
  // option is selected.
  int FormatOptionSelected();

  // --- Window fields ----------------------------------------------------------------------------
  // Always equal to the title box's and the three label boxes' texts.
  rt::Text TitleText;
  rt::Text LegendXText, LegendYText, LegendZText;

  // --- Controls, named as the window's design names them ---------------------------------------
  QLabel* lblHorizontal = nullptr;  // "Horizontal"
  QLabel* lblVertical = nullptr;    // "Vertical"
  QGroupBox* Frame1 = nullptr;      // "Data Scales"
  QCheckBox* ckData = nullptr;
  QScrollBar* scrHText = nullptr;
  QScrollBar* scrVText = nullptr;
  QGroupBox* Frame2 = nullptr;  // the time block: "Tme Scales" until the load names it
  QCheckBox* ckTime = nullptr;
  QScrollBar* scrHTime = nullptr;
  QScrollBar* scrVTime = nullptr;
  QGroupBox* Frame3 = nullptr;  // "WorkSheet -- Change Formats?"
  QCheckBox* ckWk = nullptr;
  QScrollBar* scrHWk = nullptr;
  QScrollBar* scrVWk = nullptr;
  QRadioButton* Option1 = nullptr;  // "None"
  QRadioButton* Option2 = nullptr;  // "{ } --> ( )"
  QRadioButton* Option3 = nullptr;  // "{ } , [ ] --> ( )"
  QGroupBox* Frame4 = nullptr;      // "Display Select Values"
  QCheckBox* CkVal = nullptr;
  QScrollBar* scrHVal = nullptr;
  QScrollBar* scrVVal = nullptr;
  QGroupBox* Frame5 = nullptr;  // "Enter Optional Title"
  QCheckBox* ckText = nullptr;
  QScrollBar* scrHtitle = nullptr;
  QScrollBar* scrVtitle = nullptr;
  QLineEdit* strText = nullptr;
  QGroupBox* Frame7 = nullptr;  // "Center Text"
  QCheckBox* ckCenter = nullptr;
  QPushButton* cmdTitleFont = nullptr;  // "Font"
  QGroupBox* Frame6 = nullptr;          // "Axis Labels Legend"
  QCheckBox* ckLegend = nullptr;
  QScrollBar* scrHLegend = nullptr;
  QScrollBar* scrVLegend = nullptr;
  QLineEdit* strLegendX = nullptr;
  QLineEdit* strLegendY = nullptr;
  QLineEdit* strLegendZ = nullptr;
  QPushButton* cmdLegendFont = nullptr;  // "Font"
  QPushButton* Command1 = nullptr;       // "Exit"

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A key none of the window's controls takes (after a click on a check box, say) is the graph's.
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void BuildControls();
  QFont builtTitleFont_, builtLegendFont_;  // the title's and labels' fonts as built
  // Stores a scroll bar's value into its position and redraws (redraw false: store only).
  void BarChanged(QScrollBar* bar, int32_t& position, bool redraw);
  void SetTimeFrameByPlotState();
  // The worksheet font (the worksheet window's), for restoring the picture and the target.
  QFont WorksheetFont() const;

  QFont worksheetFontFallback_;
  int mouseX_ = 0;
  int mouseY_ = 0;
};

// Loads the display-options window (hidden) for a graph window that is loading, then enables its
// time block and the block's two scroll bars. The window is built once and loaded afresh from its
// built state at every later graph window: building it costs more than a Graph click should.
void LoadSetDisplay();
// Hides the display-options window (Return); the next graph window loads it again.
void HideSetDisplay();
// Shows the display-options window without waiting (loading it first when it is not loaded).
void ShowSetDisplay();
// Unloads the display-options window when it is loaded.
void UnloadSetDisplay();
// What the overlays draw as the display-options window (when it is loaded: it is never loaded
// for this) and the graph window stand.
OverlayContent OverlayContentNow();

}  // namespace gr
