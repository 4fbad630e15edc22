// DotSpacingDialog is the window "frmDotSpacing" ("Dot Spacing").
// The dot-spacing window "frmDotSpacing": a small always-on-top window in which the user types
// how many curve points apart the marker symbols stand ("Custom" of the dot-spacing menu). The
// text typed is kept in the window until it is saved, discarded or the window is unloaded. Save
// and Discard hide the window; the graph window unloads it afterwards.
#pragma once

#include <QDialog>

#include "platform/runtime/Runtime.h"

class QLineEdit;
class QPushButton;

namespace gr {

// Largest spacing the 16-bit setting holds.
constexpr int kMaxDotSpacing = 32767;

class DotSpacingDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit DotSpacingDialog(QWidget* parent = nullptr);
  ~DotSpacingDialog() override;

  // The loaded window, or null.
  static DotSpacingDialog* Instance();

  void Form_Load();
  void Text1_Change();
  void cmdSave_Click();
  void cmdDiscard_Click();

  // The text kept since the last change of the box.
  const rt::Text& Entry() const { return entry_; }

  QLineEdit* Text1 = nullptr;
  QPushButton* cmdSave = nullptr;     // "Save"
  QPushButton* cmdDiscard = nullptr;  // "Discard"

 private:
  rt::Text entry_;
};

// The spacing a typed text gives: the absolute value of its integer part (the largest whole
// number not above it). False (spacing 0) for a text that is not a number and for a spacing
// beyond kMaxDotSpacing.
bool DotSpacingOf(const rt::Text& text, int16_t& spacing);

// Loads the window, shows it modally over parent and unloads it once Save, Discard or its close
// box has ended it.
void ShowDotSpacingModal(QWidget* parent);

}  // namespace gr
