// The legends of the display-options window: the boxed axis-label legend, the select-values block
// (worksheet constants with a text before and after each value) and the columns of the contour
// level legend.
#include <algorithm>
#include <cmath>

#include "graph/GraphOverlays.h"
#include "graph/GraphState.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "mathematics/VectorOperations.h"
#include "platform/runtime/FormatSignificant.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"

namespace gr {

namespace {

// Margin of the legend's box around its labels (picture units).
constexpr double kLegendMargin = 25;
// Font size of the select-values block once one entry names a constant (points).
constexpr double kSelectValueFontSize = 10;

// A text as a select-values line shows it: one final "!" left out. The stored text stays as the
// worksheet gave it, so every redraw shows the same line.
rt::Text Shown(const rt::Text& text) {
  if (!text.empty() && text.back() == u'!') return text.substr(0, text.size() - 1);
  return text;
}

}  // namespace

std::vector<rt::Text> BuildSelectValueLines(bool& anyConstant) {
  anyConstant = false;
  std::vector<rt::Text> lines;
  const ms::WorksheetTables& t = ms::Tables;
  const int count = std::clamp<int>(t.SelectValueCount, 0, ms::kMaxSelectValues);
  for (int k = 1; k <= count; ++k) {
    const size_t e = static_cast<size_t>(k);
    int16_t index = 0;
    const int16_t msgNo = ms::FindConstant(t.SelectValueId[e], index);
    const bool constant = msgNo == 0 && index >= 1 && index <= t.ConstCount;
    if (!constant) {
      lines.push_back(Shown(t.SelectValueText[e]));
      continue;
    }
    anyConstant = true;
    const double value =
        rt::Val(ms::StripValueParens(t.ConstTable[static_cast<size_t>(index)].ValueText));
    lines.push_back(Shown(t.SelectValueText[e]) +
                    rt::FormatSignificant(value, ms::Settings.DisplayDigits) +
                    Shown(t.SelectValueText2[e]));
  }
  return lines;
}

void PlaceLegend(draw::DrawTarget& target, const OverlayContent& content) {
  const QFont& legend = content.legendFont;
  target.Font.setFamily(legend.family());
  target.Font.setPointSizeF(legend.pointSizeF());
  target.Font.setBold(legend.bold());
  target.Font.setItalic(legend.italic());
  if (Graph.ShowLegend == 0) return;

  const rt::Text& LegendXText = content.legendX;
  const rt::Text& LegendYText = content.legendY;
  const rt::Text& LegendZText = content.legendZ;
  if (LegendXText.empty() || LegendYText.empty()) {
    ui::Ui().MsgBox(u"X- & Y- labels required. Z-label optional.", ui::kOkOnly, u"Labels?");
    if (content.labelsMissing) {
      content.labelsMissing();
    } else {
      Graph.ShowLegend = 0;
    }
    return;
  }

  const OverlayStateData& s = OverlayState;
  target.CurrentY = s.LegendY;
  for (const rt::Text* label : {&LegendXText, &LegendYText, &LegendZText}) {
    target.CurrentX = s.LegendX;
    PrintLine(target, *label);
  }
  target.CurrentX = s.LegendX;
  target.CurrentY = s.LegendY;
  double width = 0;
  for (const rt::Text* label : {&LegendXText, &LegendYText, &LegendZText}) {
    width = std::max(width, rt::RoundHalfEven(target.TextWidth(ui::ToQString(*label))));
  }
  double height =
      target.TextHeight(ui::ToQString(LegendXText)) + target.TextHeight(ui::ToQString(LegendYText));
  if (!LegendZText.empty()) height += target.TextHeight(ui::ToQString(LegendZText));
  target.Box(s.LegendX - kLegendMargin, s.LegendY - kLegendMargin,
             s.LegendX + width + kLegendMargin, s.LegendY + height + kLegendMargin, kLegendBoxGrey,
             false);
  RestoreFonts(target, content);
}

void PlaceLegendText(draw::DrawTarget& target, const OverlayContent& content) {
  const OverlayStateData& s = OverlayState;
  draw::DrawTarget* display = content.display;
  target.CurrentY = s.ValTextY;
  target.CurrentX = s.ValTextX;
  if (ms::Tables.ShowValLegend != 0) {
    bool anyConstant = false;
    const std::vector<rt::Text> lines = BuildSelectValueLines(anyConstant);
    if (anyConstant) {
      if (display != nullptr) display->Font.setPointSizeF(kSelectValueFontSize);
      target.Font.setPointSizeF(display != nullptr ? display->Font.pointSizeF()
                                                   : kSelectValueFontSize);
    }
    for (const rt::Text& line : lines) {
      PrintLine(target, line);
      target.CurrentX = s.ValTextX;
    }
  }
  const double size = content.worksheetFont.pointSizeF();
  if (display != nullptr && size > 0) display->Font.setPointSizeF(size);
  if (display != &target) {
    const double shown = display != nullptr ? display->Font.pointSizeF() : size;
    if (shown > 0) target.Font.setPointSizeF(shown);
  }
}

void LblPrint(draw::DrawTarget& target, int16_t first, int16_t last, int32_t offset) {
  const OverlayStateData& s = OverlayState;
  target.CurrentY = s.DataTextY;
  target.CurrentX = s.DataTextX + offset;
  target.ForeColor = kOverlayBlack;
  PrintLine(target, u"Level");
  const int from = std::max<int>(first, 1);
  const int to = std::min<int>(last, ms::kContourLegendSize);
  for (int i = from; i <= to; ++i) {
    const ms::ContourLegendEntry& e = ms::Contours.ContourLegend[static_cast<size_t>(i)];
    target.CurrentX = s.DataTextX + offset;
    target.ForeColor = draw::PackRgb(e.Red, e.Green, e.Blue);
    PrintLine(target, ContourLevelLine(e.Level));
  }
}

void RestoreFonts(draw::DrawTarget& target, const OverlayContent& content) {
  const QFont& sheet = content.worksheetFont;
  draw::DrawTarget* display = content.display;
  auto take = [](QFont& f, const QFont& from) {
    f.setFamily(from.family());
    if (from.pointSizeF() > 0) f.setPointSizeF(from.pointSizeF());
    f.setBold(from.bold());
    f.setItalic(from.italic());
  };
  if (display != nullptr) take(display->Font, sheet);
  if (display != &target) take(target.Font, display != nullptr ? display->Font : sheet);
}

}  // namespace gr
