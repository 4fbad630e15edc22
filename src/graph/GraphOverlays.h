// The text overlays the drawing lays over the picture, each when its switch in GraphState is on,
// in this order: data text, time text, value text, value legend, worksheet text, title, legend.
// The painters draw the program state and what they are given as values (the choices of the
// display-options window and the graph window); they reach no window.
//
// Also here: the positions of the overlay blocks that the display-options window sets from its
// scroll bars, the two line stores the worksheet listing and the value lines are built in, and
// the text work behind the overlays (bracket conversion, line splitting, the value lines, the
// contour legend's columns, the select-value lines, the tab layout of a worksheet line), kept
// apart from the drawing so that it is tested on its own.
#pragma once

#include <QFont>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/draw/DrawTarget.h"
#include "platform/runtime/Runtime.h"

namespace gr {

// The worksheet format options of the display-options window.
enum FormatOption : int { kFormatNone = 1, kFormatBraces = 2, kFormatBracesBrackets = 3 };

// What the overlays draw besides the program state.
struct OverlayContent {
  int format = kFormatNone;  // the bracket format of the listing
  rt::Text title;            // the title as printed (its format applied)
  QFont titleFont;
  bool centreTitle = false;
  double titleWidth = 0;     // twips, as the display-options window measures the title
  double viewportWidth = 0;  // twips: the graph window's viewport, on which a title is centred
  rt::Text legendX, legendY, legendZ;
  QFont legendFont;
  // The legend was asked for without its X- and Y-labels (after the box that says so); without
  // it the legend's switch is cleared.
  std::function<void()> labelsMissing;
  QFont worksheetFont;  // the fonts go back to it after a title, a legend, the select values
  rt::Text worksheetText;
  bool bvpTrialsPlain = false;   // "BVP scan Color?" is "No": the trial slopes in black
  bool dotSpacingShown = false;  // a dot spacing is chosen: its line under the time block
  // The graph picture, whose font the select values and the fonts' restoring set as well.
  draw::DrawTarget* display = nullptr;
};

void PlaceDataText(draw::DrawTarget& target, const OverlayContent& content);
void PlaceTimeText(draw::DrawTarget& target, const OverlayContent& content);
void PlaceValText(draw::DrawTarget& target, const OverlayContent& content);
void PlaceLegendText(draw::DrawTarget& target, const OverlayContent& content);
void PlaceWkText(draw::DrawTarget& target, const OverlayContent& content);
void PlaceTitleText(draw::DrawTarget& target, const OverlayContent& content);
void PlaceLegend(draw::DrawTarget& target, const OverlayContent& content);
// One column of the contour legend: its head and levels first..last, offset units right.
void LblPrint(draw::DrawTarget& target, int16_t first, int16_t last, int32_t offset);
// The picture's font, and the target's, back to the worksheet's after a title or a legend.
void RestoreFonts(draw::DrawTarget& target, const OverlayContent& content);

using OverlayPainter = void (*)(draw::DrawTarget& target, const OverlayContent& content);

// The painters the drawing and the printing call; tests replace entries to count drawings.
struct OverlayTable {
  OverlayPainter placeText = PlaceDataText;
  OverlayPainter placeTimeText = PlaceTimeText;
  OverlayPainter placeValText = PlaceValText;
  OverlayPainter PlaceLegendText = gr::PlaceLegendText;
  OverlayPainter placeWkText = PlaceWkText;
  OverlayPainter placeTitleText = PlaceTitleText;
  OverlayPainter PlaceLegend = gr::PlaceLegend;
};

OverlayTable& Overlays();
// Paints the overlays whose switch (first) is on, in the order given, each from the content as it
// stands when the first of them is painted.
void PaintOverlays(draw::DrawTarget& target,
                   const std::array<std::pair<int16_t, OverlayPainter>, 7>& overlays);

// Capacities of the line stores.
constexpr int kMaxListingLines = 100;
constexpr int kMaxValueLines = 100;

// Fixed offsets inside the time block, in picture units (twips).
constexpr int32_t kTimeColumnOffset = 1000;    // slope list, family list, integral x column
constexpr int32_t kIntegOutputOffset = 1500;   // integral output column
constexpr int32_t kTimeAnglesOffset = 1700;    // view angles and the dot-spacing line
constexpr int32_t kContourColumnWidth = 1000;  // between columns of the contour legend
constexpr int32_t kTabStopWidth = 900;         // tab stops of the worksheet listing
constexpr int32_t kCharacterGap = 10;          // added before every listed worksheet character

// Colours (packed RGB).
constexpr int32_t kOverlayBlack = 0;
constexpr int32_t kIntegTableGrey = 100 + 256 * 100 + 65536 * 100;
constexpr int32_t kCommentGreen = 256 * 128;  // palette colour 2
constexpr int32_t kLegendBoxGrey = 0x404040;

struct OverlayStateData {
  // Top-left corners of the blocks, in the picture's scale units; the printer uses the same
  // numbers after its scale has been made to mirror the picture's.
  int32_t DataTextX = 0, DataTextY = 0;
  int32_t TimeTextX = 0, TimeTextY = 0;
  int32_t WkTextX = 0, WkTextY = 0;
  int32_t ValTextX = 0, ValTextY = 0;
  int32_t TitleX = 0, TitleY = 0;
  int32_t LegendX = 0, LegendY = 0;

  // The worksheet listing: lines 1..WorksheetLineCount (entry 0 unused).
  std::array<rt::Text, kMaxListingLines + 1> WorksheetLines;
  int16_t WorksheetLineCount = 0;
  // The function value lines: the text they are split from, lines 1..ValueLineCount.
  rt::Text ValueLinesText;
  std::array<rt::Text, kMaxValueLines + 1> ValueLines;
  int16_t ValueLineCount = 0;
};

extern OverlayStateData OverlayState;

void ResetOverlayState();

// --- Text work ----------------------------------------------------------------------------------

// Bracket conversion, character by character: with flagB "{" and "[" become "(" and "}" and "]"
// become ")"; without it only the braces are converted. flagA has no effect (callers pass
// (true, false) for braces only, (false, true) for braces and brackets).
void TextToPrint(const rt::Text& text, bool flagA, bool flagB, rt::Text& result);
// text converted by a format option; kFormatNone (or any other value) leaves it as it is.
rt::Text ConvertByFormat(const rt::Text& text, int option);

// Splits text into lines: a CR ends a line (an empty line gives an empty entry) and the character
// after it (the LF) is skipped; a last line without a line end is kept when it is not empty. At
// most capacity lines are stored into lines[1..]; the count is returned.
template <size_t N>
int16_t SplitLines(const rt::Text& text, std::array<rt::Text, N>& lines);

// A listing line that ends in "!" loses its comment (from the first "'") and that final "!".
// Other lines are left as they are.
void ShortenMarkedLine(rt::Text& line);

// The function value text: one line "F{x} = value" (value to DisplayDigits significant digits)
// ended by CR LF for every function record whose line-break flag is set, skipping vector
// components (X, Y or Z and a digit) and two-character names whose second character is a digit.
rt::Text GetValFunctions();

// The columns of the contour level legend: ten levels a column, each column 1000 units right of
// the one before. More than 50 levels give no column.
struct ContourColumn {
  int16_t first = 0;
  int16_t last = 0;
  int32_t offset = 0;
};
std::vector<ContourColumn> ContourColumns(int16_t levelCount);

// The contour legend's line of one level: two blanks before a level of exactly 0, one blank
// before any other, then the level to 4 significant digits.
rt::Text ContourLevelLine(double level);

// Builds the select-value lines from entries 1..SelectValueCount (at most 10): the text, and for
// an identifier that names a constant the constant's value to DisplayDigits digits and the text
// after it. A final "!" of the text, and of the text after a constant's value, is left out of the
// line; the stored texts are not changed. anyConstant tells whether one entry named a constant.
std::vector<rt::Text> BuildSelectValueLines(bool& anyConstant);

// One character of a listed worksheet line: where it stands (picture units) and its colour.
struct ListedChar {
  double x = 0;
  char16_t c = 0;
  int32_t color = 0;
};
// Lays out a worksheet line from left: every character stands kCharacterGap further right than
// the end of the one before (its width given by widthOf); a TAB moves to the next stop, 900 units
// apart from left, counting one more stop for every 8 characters beyond 8 since the last tab;
// from a "'" on the characters take the comment colour.
std::vector<ListedChar> LayoutListingLine(const rt::Text& line, double left, int32_t color,
                                          int32_t commentColor,
                                          const std::function<double(char16_t)>& widthOf);

// --- Text output on a drawing target ------------------------------------------------------------

// Prints a line at the current position; the next line starts at the scale's left edge and one
// line further down. A line wholly outside the target's area is only counted, not drawn.
void PrintLine(draw::DrawTarget& target, const rt::Text& text);
// Prints without a line end: the position moves to the end of the text on the same line.
void PrintOn(draw::DrawTarget& target, const rt::Text& text);

// What the overlays print, as tests read it: each non-empty text with the position it was printed
// at, its colour and its font size (points).
struct PrintedText {
  double x = 0;
  double y = 0;
  rt::Text text;
  int32_t color = 0;
  double pointSize = 0;
};
// Every text PrintLine and PrintOn print is appended to log while it is set; nullptr stops it.
void SetPrintLog(std::vector<PrintedText>* log);

template <size_t N>
int16_t SplitLines(const rt::Text& text, std::array<rt::Text, N>& lines) {
  constexpr int capacity = static_cast<int>(N) - 1;
  int16_t count = 0;
  rt::Text current;
  const size_t len = text.size();
  size_t p = 0;
  while (p < len && count < capacity) {
    if (text[p] == u'\r') {
      lines[static_cast<size_t>(++count)] = current;
      current.clear();
      p += 2;
    } else {
      current.push_back(text[p]);
      ++p;
    }
  }
  if (!current.empty() && count < capacity) lines[static_cast<size_t>(++count)] = current;
  return count;
}

}  // namespace gr
