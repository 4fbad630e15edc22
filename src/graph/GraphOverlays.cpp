// The text overlays of the display-options window: the data scales (or the contour legend), the
// time block by plot state, the title, the worksheet listing and the function value lines, with
// the text work behind them. Every method draws on the target it is given: the graph picture or
// the printer.
#include "graph/GraphOverlays.h"

#include <algorithm>
#include <cmath>

#include "graph/FamilyPlotsDialog.h"
#include "graph/GraphState.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "platform/runtime/FormatSignificant.h"
#include "platform/ui/QtUiServices.h"
#include "plotting/Contour.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"

namespace gr {

OverlayStateData OverlayState;

void ResetOverlayState() {
  OverlayState = OverlayStateData{};
}

namespace {

constexpr char16_t kCRLF[] = u"\r\n";
// Digits of the numbers in the blocks.
constexpr int16_t kScaleDigits = 3;
constexpr int16_t kIntegOutputDigits = 4;
constexpr int16_t kSlopeDigits = 6;
constexpr double kPi = 3.1415926536;
// An integral table x smaller than this in magnitude is stored and shown as 0.
constexpr double kTinyX = 1e-10;
// Font sizes of the integral table and after it (points).
constexpr double kIntegTableFontSize = 8;
constexpr double kAfterTableFontSize = 12;

QString Q(const rt::Text& s) {
  return ui::ToQString(s);
}

using rt::IsDigit;

int32_t CurveColor(int index) {
  int16_t r = 0, g = 0, b = 0;
  ms::GetCurveColor(static_cast<int16_t>(index), r, g, b);
  return draw::PackRgb(r, g, b);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Text work

void TextToPrint(const rt::Text& text, bool /*flagA*/, bool flagB, rt::Text& result) {
  result.clear();
  result.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'{' || (flagB && c == u'[')) {
      result.push_back(u'(');
    } else if (c == u'}' || (flagB && c == u']')) {
      result.push_back(u')');
    } else {
      result.push_back(c);
    }
  }
}

rt::Text ConvertByFormat(const rt::Text& text, int option) {
  rt::Text out;
  if (option == kFormatBraces) {
    TextToPrint(text, true, false, out);
  } else if (option == kFormatBracesBrackets) {
    TextToPrint(text, false, true, out);
  } else {
    out = text;
  }
  return out;
}

void ShortenMarkedLine(rt::Text& line) {
  if (line.empty() || line.back() != u'!') return;
  const size_t quote = line.find(u'\'');
  const size_t keep = std::min(quote == rt::Text::npos ? line.size() : quote, line.size() - 1);
  line.resize(keep);
}

rt::Text GetValFunctions() {
  rt::Text text;
  const int count = std::clamp<int>(ms::Tables.FuncCount, 0, ms::kMaxFunctions);
  const int16_t digits = ms::Settings.DisplayDigits;
  for (int k = 1; k <= count; ++k) {
    const ms::FuncRec& f = ms::Tables.FuncTable[static_cast<size_t>(k)];
    if (f.Name.empty()) continue;
    const char16_t first = f.Name[0];
    const char16_t second = f.Name.size() > 1 ? f.Name[1] : u'\0';
    // Vector components X1, Y2, Z3 ... are not listed.
    if ((first == u'X' || first == u'Y' || first == u'Z') && IsDigit(second)) continue;
    const rt::Text shown =
        (second == u'_' || second == u'\0') ? rt::Text(1, first) : f.Name.substr(0, 2);
    const bool qualifies = shown.size() == 1 || !IsDigit(shown[1]);
    if (!qualifies || f.LineBreak == 0) continue;
    text += shown + u"{" + f.Parm1 + u"}" + u" = " + rt::FormatSignificant(f.Value, digits) + kCRLF;
  }
  return text;
}

std::vector<ContourColumn> ContourColumns(int16_t levelCount) {
  std::vector<ContourColumn> columns;
  const int n = std::max<int>(levelCount, 0);
  if (n > 50) return columns;
  // Full columns of ten, then the last one with what is left (levels 1 to 0 when there are none).
  int first = 1;
  int32_t offset = 0;
  while (n - first + 1 > 10) {
    columns.push_back({static_cast<int16_t>(first), static_cast<int16_t>(first + 9), offset});
    first += 10;
    offset += kContourColumnWidth;
  }
  columns.push_back({static_cast<int16_t>(first), static_cast<int16_t>(n), offset});
  return columns;
}

rt::Text ContourLevelLine(double level) {
  return (level == 0 ? rt::Text(u"  ") : rt::Text(u" ")) + rt::FormatSignificant(level, 4);
}

std::vector<ListedChar> LayoutListingLine(const rt::Text& line, double left, int32_t color,
                                          int32_t commentColor,
                                          const std::function<double(char16_t)>& widthOf) {
  std::vector<ListedChar> out;
  out.reserve(line.size());
  int tabs = 0;
  int run = 0;
  double x = left;
  int32_t current = color;
  for (char16_t c : line) {
    if (c == u'\t') {
      ++tabs;
      while (run > 8) {
        ++tabs;
        run -= 8;
      }
      x = left + static_cast<double>(kTabStopWidth) * tabs;
      run = 0;
      continue;
    }
    if (c == u'\'') current = commentColor;
    x += kCharacterGap;
    ++run;
    out.push_back({x, c, current});
    x += widthOf(c);
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Text output

namespace {

std::vector<PrintedText>* g_printLog = nullptr;

// Draws text at the current position unless its line lies wholly outside the target's area;
// the position moves one line down (x unchanged).
void DrawLineText(draw::DrawTarget& target, const QString& text) {
  const double height = target.TextHeight(text);
  const double top = target.ToDevice(target.CurrentX, target.CurrentY).y();
  const double bottom = target.ToDevice(target.CurrentX, target.CurrentY + height).y();
  const bool outside = std::max(top, bottom) < 0 || std::min(top, bottom) > target.PixelHeight() ||
                       !std::isfinite(top) || !std::isfinite(bottom);
  if (g_printLog != nullptr && !text.isEmpty()) {
    g_printLog->push_back({target.CurrentX, target.CurrentY, ui::FromQString(text),
                           target.ForeColor, target.Font.pointSizeF()});
  }
  if (text.isEmpty() || outside) {
    target.CurrentY += height;
    return;
  }
  target.Print(text);
}

}  // namespace

void SetPrintLog(std::vector<PrintedText>* log) {
  g_printLog = log;
}

void PrintLine(draw::DrawTarget& target, const rt::Text& text) {
  DrawLineText(target, Q(text));
  target.CurrentX = target.ScaleLeft();
}

void PrintOn(draw::DrawTarget& target, const rt::Text& text) {
  const QString q = Q(text);
  const double x = target.CurrentX;
  const double y = target.CurrentY;
  DrawLineText(target, q);
  target.CurrentX = x + target.TextWidth(q);
  target.CurrentY = y;
}

// ---------------------------------------------------------------------------------------------
// The overlays

void PlaceDataText(draw::DrawTarget& target, const OverlayContent&) {
  const OverlayStateData& s = OverlayState;
  if (ms::Requests.ContourRequested != 0 || ms::Requests.Contour1Requested != 0) {
    target.CurrentY = s.DataTextY;
    for (const ContourColumn& column : ContourColumns(ms::Contours.ContourLegendCount)) {
      LblPrint(target, column.first, column.last, column.offset);
    }
  } else {
    target.ForeColor = kOverlayBlack;
    target.CurrentY = s.DataTextY;
    const std::array<std::pair<const char16_t*, double>, 3> units = {{
        {u"X Grid-Units: ", ms::Scene.GridUnitX},
        {u"Y Grid-Units: ", ms::Scene.GridUnitY},
        {u"Z Grid-Units: ", ms::Scene.GridUnitZ},
    }};
    for (const auto& [caption, unit] : units) {
      target.CurrentX = s.DataTextX;
      PrintLine(target, caption + rt::FormatSignificant(unit, kScaleDigits));
    }
    if (ms::PlotRequest.PlotVectorCount != 0) {
      target.CurrentX = s.DataTextX;
      PrintLine(target, u" ");
      target.CurrentX = s.DataTextX;
      PrintLine(target, u" Vector Plots");
      for (int k = 1; k <= ms::kMaxPlotCurves; ++k) {
        rt::Text name = ms::PlotRequest.PlotVectorList[static_cast<size_t>(k)];
        if (name.empty()) continue;
        if (name.size() > 1 && name[1] == u'_') name.resize(1);
        target.CurrentX = s.DataTextX;
        target.ForeColor = ms::Settings.PlotColorUsed[static_cast<size_t>(k)];
        PrintLine(target, u"         " + name);
      }
    }
  }
  target.ForeColor = kOverlayBlack;
}

void PlaceTimeText(draw::DrawTarget& target, const OverlayContent& content) {
  const OverlayStateData& s = OverlayState;
  target.CurrentY = s.TimeTextY;
  if (ms::Requests.BVPRequested != 0) ms::OdeResults.BVPSolved = -1;

  if (ms::OdeResults.BVPSolved != 0) {
    target.CurrentY = s.TimeTextY;
    target.CurrentX = s.TimeTextX + kTimeColumnOffset;
    target.ForeColor = kOverlayBlack;
    PrintLine(target, u" X'(to)");
    auto& slopes = ms::Bvp.BVPTrialSlopes;
    if (slopes[0] == 0 || slopes[0] == 1) {
      slopes[0] = 1;
      slopes[1] = ms::OdeResults.InitialSlope;
    }
    const double wanted = rt::RoundHalfEven(slopes[0]);
    const int count = std::isfinite(wanted)
                          ? static_cast<int>(std::clamp<double>(wanted, 0, ms::kMaxTrialSlopes))
                          : 0;
    const bool plain = content.bvpTrialsPlain || count == 1;
    for (int i = 1; i <= count; ++i) {
      target.CurrentX = s.TimeTextX + kTimeColumnOffset;
      target.ForeColor = plain ? kOverlayBlack : CurveColor(i);
      PrintLine(target, rt::FormatSignificant(slopes[static_cast<size_t>(i)], kSlopeDigits));
    }
    target.ForeColor = kOverlayBlack;
  } else if (ms::Requests.IntegRequested != 0 || ms::Requests.DblIntRequested != 0) {
    target.CurrentY = s.TimeTextY;
    target.CurrentX = s.TimeTextX + kTimeColumnOffset;
    target.ForeColor = kIntegTableGrey;
    target.Font.setPointSizeF(kIntegTableFontSize);
    PrintOn(target, u" x        Output");
    target.CurrentX = s.TimeTextX + kTimeColumnOffset;
    PrintLine(target, u" __      ______");
    const int statements = std::clamp<int>(ms::Requests.IntegStmtCount, 0, ms::kMaxIntegStatements);
    for (int k = 1; k <= statements; ++k) {
      const int rows =
          std::clamp<int>(ms::Solutions.IntegRows[static_cast<size_t>(k)], 0, ms::kSolutionLastRow);
      for (int i = 1; i <= rows; ++i) {
        auto& row = ms::Solutions.SolutionTable[static_cast<size_t>(i)];
        double& x = row[1][static_cast<size_t>(ms::IntegSlot(k))];
        target.CurrentX = s.TimeTextX + kTimeColumnOffset;
        if (std::fabs(x) < kTinyX) x = 0;
        PrintOn(target, rt::FormatSignificant(x, kScaleDigits));
        target.CurrentX = s.TimeTextX + kIntegOutputOffset;
        PrintLine(target, rt::FormatSignificant(row[2][static_cast<size_t>(ms::IntegSlot(k))],
                                                kIntegOutputDigits));
      }
    }
    target.Font.setPointSizeF(kAfterTableFontSize);
    target.ForeColor = kOverlayBlack;
  } else if (Graph.FamilyMode != 0) {
    target.CurrentY = s.TimeTextY;
    target.CurrentX = s.TimeTextX + kTimeColumnOffset;
    target.ForeColor = kOverlayBlack;
    PrintLine(target, u"Parameter: " + Family.FamilyConstID);
    const int members = std::clamp<int>(Family.FamilyCount, 0, kMaxFamilyMembers);
    for (int i = 1; i <= members; ++i) {
      target.CurrentX = s.TimeTextX + kTimeColumnOffset;
      target.ForeColor = ms::CurveWork.FamilyColorCode != 0 ? CurveColor(i) : kOverlayBlack;
      PrintLine(target, rt::FormatSignificant(Family.FamilyValues[static_cast<size_t>(i - 1)],
                                              kSlopeDigits));
    }
    // The blocks drawn after this one set no colour of their own.
    target.ForeColor = kOverlayBlack;
  } else if ((ms::Requests.SlopeFieldRequested == 0 && ms::Requests.DirFieldRequested == 0 &&
              ms::Requests.Field3DRequested == 0) ||
             ms::FieldGraph.SlopeFieldMode != 0) {
    target.CurrentX = s.TimeTextX;
    PrintLine(target, u"tmin: " + rt::FormatSignificant(ms::PlotRequest.PlotTMin, kScaleDigits));
    target.CurrentX = s.TimeTextX;
    PrintLine(target, u"tmax: " + rt::FormatSignificant(ms::PlotRequest.PlotTMax, kScaleDigits));
    target.CurrentX = s.TimeTextX;
    if (ms::Requests.IVPRequested == 0) {
      PrintLine(target, u"dt =  " + rt::FormatSignificant(ms::PlotRequest.PlotDt, kScaleDigits));
    }
  } else {
    target.CurrentY = s.TimeTextY;
    target.CurrentX = s.TimeTextX + kTimeAnglesOffset;
    PrintLine(target, u"Elevation: " +
                          rt::FormatSignificant(ms::View.ElevationAngle * 180 / kPi, kScaleDigits));
    target.CurrentX = s.TimeTextX + kTimeAnglesOffset;
    PrintLine(target, u"Rotation: " +
                          rt::FormatSignificant(ms::View.RotationAngle * 180 / kPi, kScaleDigits));
  }

  // With dot spacing chosen, the spacing under the block.
  if (content.dotSpacingShown) {
    target.CurrentX = s.TimeTextX + kTimeAnglesOffset;
    PrintLine(target, u"Circles : " + rt::Str(ms::CurveWork.DotSpacing) + u" " + u"dt");
  }
}

void PlaceTitleText(draw::DrawTarget& target, const OverlayContent& content) {
  const OverlayStateData& s = OverlayState;
  target.CurrentY = s.TitleY;
  // A centred title stands in the middle of the viewport.
  target.CurrentX =
      content.centreTitle ? (content.viewportWidth - content.titleWidth) / 2 : s.TitleX;
  const QFont& title = content.titleFont;
  target.Font.setFamily(title.family());
  target.Font.setPointSizeF(title.pointSizeF());
  target.Font.setBold(title.bold());
  target.Font.setItalic(title.italic());
  PrintLine(target, content.title);
  RestoreFonts(target, content);
}

namespace {

// Prints one worksheet line with its tab stops, its comment in the comment colour.
void CharDisp2(draw::DrawTarget& target, const rt::Text& text, int32_t color,
               int32_t commentColor) {
  target.ForeColor = color;
  const auto layout =
      LayoutListingLine(text, OverlayState.WkTextX, color, commentColor,
                        [&target](char16_t c) { return target.TextWidth(QString(QChar(c))); });
  const double y = target.CurrentY;
  for (const ListedChar& g : layout) {
    target.CurrentX = g.x;
    target.CurrentY = y;
    target.ForeColor = g.color;
    PrintOn(target, rt::Text(1, g.c));
  }
  target.CurrentY = y;
  target.ForeColor = color;
  PrintLine(target, rt::Text());
}

// Prints one line in black.
void CharDisp(draw::DrawTarget& target, const rt::Text& text) {
  target.ForeColor = kOverlayBlack;
  PrintLine(target, text);
  target.ForeColor = kOverlayBlack;
}

// Rebuilds the value lines from the function table.
void WorkSheetValDisplay() {
  OverlayStateData& s = OverlayState;
  s.ValueLineCount = 0;
  s.ValueLinesText = GetValFunctions();
  s.ValueLineCount = SplitLines(s.ValueLinesText, s.ValueLines);
}

}  // namespace

void PlaceWkText(draw::DrawTarget& target, const OverlayContent& content) {
  OverlayStateData& s = OverlayState;
  target.CurrentY = s.WkTextY;
  target.CurrentX = s.WkTextX;
  s.WorksheetLineCount =
      SplitLines(ConvertByFormat(content.worksheetText, content.format), s.WorksheetLines);
  for (int i = 1; i <= s.WorksheetLineCount; ++i) {
    target.CurrentX = s.WkTextX;
    rt::Text& line = s.WorksheetLines[static_cast<size_t>(i)];
    ShortenMarkedLine(line);
    CharDisp2(target, line, kOverlayBlack, kCommentGreen);
  }
}

void PlaceValText(draw::DrawTarget& target, const OverlayContent&) {
  const OverlayStateData& s = OverlayState;
  target.CurrentY = s.ValTextY;
  target.CurrentX = s.ValTextX;
  WorkSheetValDisplay();
  for (int i = 1; i <= s.ValueLineCount; ++i) {
    target.CurrentX = s.ValTextX;
    CharDisp(target, s.ValueLines[static_cast<size_t>(i)]);
  }
}

}  // namespace gr
