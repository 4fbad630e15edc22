// FamilyPlotsDialog is the window "frmFamilyPlots" ("Family of Curves").
// Families of curves: one constant of the worksheet is stepped over a range and every member is
// built into the same picture. This header holds the family settings that the set-up window
// fills and the text overlays read, the search and rewrite of a constant's assignment in the
// worksheet text (shared with the animation frames), and the set-up window FamilyPlotsDialog.
//
// The member loop itself is a handler of the graph window (GraphWindow::mnuPlotSet_Click).
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

#include "platform/runtime/Runtime.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gr {

// Number of members a family draws at most (the curve colour table has ten colours).
constexpr int kMaxFamilyMembers = 10;

struct FamilySettingsData {
  // The set-up window's four boxes as typed. RangeStart and RangeEnd are shared with the
  // animation set-up window.
  rt::Text FamilyConstID;
  rt::Text RangeStart;
  rt::Text RangeEnd;
  rt::Text FamilyTotal;
  // Members asked for in the last run, before the limit of ten.
  int16_t FamilyCount = 0;
  // Value of the varied constant for member k at index k - 1.
  std::array<double, kMaxFamilyMembers> FamilyValues{};
};

extern FamilySettingsData Family;

void ResetFamilySettings();

// Number patterns of the assignment search: families accept "," inside the number, animation
// frames do not.
inline constexpr char16_t kFamilyNumberPattern[] = u"[0-9,.E+]";
inline constexpr char16_t kFrameNumberPattern[] = u"[0-9.E+]";

// The first assignment of a number to an identifier in the worksheet text.
struct AssignmentMatch {
  bool found = false;
  long pos = 0;         // 1-based position of the identifier's first character
  rt::Text span;        // the exact text from pos to the end of the number
  rt::Text numberText;  // the characters after "=" (and blanks) that make the number
};

// Finds the first statement that assigns to the identifier: the identifier as a whole name
// (letters and digits) at the start of a statement (the start of the text, after a line end or a
// ":", blanks and tabs skipped), then optional blanks, "=" and optional blanks; the number after
// it is the characters that match numberPattern or are "-". A name that only ends or begins with
// the identifier ("bk", "ka" for "k") is not it, and a comment ("'" to the end of its line) is
// passed over.
AssignmentMatch FindAssignment(const rt::Text& text, const rt::Text& id,
                               const rt::Text& numberPattern);

// The text with the characters of span at 1-based pos replaced by assignment. Positions outside
// the text are clamped, so a span that no longer fits the text cannot reach beyond it.
rt::Text RewriteAssignment(const rt::Text& text, long pos, const rt::Text& span,
                           const rt::Text& assignment);

// The assignment text of one member or frame: identifier, "=", and the value in the shortest
// plain number form that reads back as the same double, no blanks.
rt::Text AssignmentText(const rt::Text& id, double value);

// What a set-up window and a run say of a range whose values are not all finite numbers.
inline constexpr char16_t kRangeTooWide[] =
    u"The start and end values are too far apart to step between them.";

// False when both ends of the range are numbers and a run from start to end in `divisions` steps,
// start + i (end - start) / divisions for i = 0 .. divisions, meets a value or a step that is not
// a finite number (the width overflows, as from 1E308 to -1E308). Ends that are not numbers are
// left to the run's own check.
bool RangeValuesFinite(const rt::Text& start, const rt::Text& end, int divisions);

// What the "Total set of Curves" box stores for a typed text: the text, or "5" when it is empty,
// not numeric or below 1.
rt::Text FamilyTotalOf(const rt::Text& typed);

// Members asked for by a stored total: Val rounded half to even; below 2, or beyond the 16-bit
// range, 5. The run draws at most ten and spreads those over the range.
int16_t FamilyCountOf(const rt::Text& total);
// Members a run draws for a stored total: FamilyCountOf, at most ten.
int FamilyMembersOf(const rt::Text& total);

// The set-up window of a family: the constant, the range and the number of curves.
class FamilyPlotsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FamilyPlotsDialog(QWidget* parent = nullptr);
  ~FamilyPlotsDialog() override;

  // The loaded window, or null.
  static FamilyPlotsDialog* Instance();
  // The window, created first (its load runs) when it is not loaded; owned by the graph window
  // when there is one, so that it is unloaded with it.
  static FamilyPlotsDialog& Load();

  void Form_Load();
  void cmdEnter_Click();
  void cmdSave_Click();
  void cmdCancel_Click();

  // Shows the window blocking the other windows; afterClose runs once when it is hidden again.
  void ShowModal(std::function<void()> afterClose);

  QGroupBox* Frame1 = nullptr;
  QLineEdit* txtConstIDCurv = nullptr;
  QLineEdit* txtStartCurv = nullptr;
  QLineEdit* txtEndCurv = nullptr;
  QLineEdit* txtTotalCtCurv = nullptr;
  QPushButton* cmdEnter = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdCancel = nullptr;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  std::function<void()> afterClose_;
};

}  // namespace gr
