#include "commands/FieldArguments.h"

#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"

namespace ms::field {

int16_t ReadColorLetterAndClose(StatementReader& r, const rt::Text& defaultLetter,
                                std::optional<rt::Text>& letter, int16_t closingMsg) {
  const char16_t c = r.Peek();
  if (c != u'\0' && rt::Text(u"rgbwBG").find(c) != rt::Text::npos) {
    r.Skip();
    letter = rt::Text(1, c);
  } else {
    if (c != u']') r.Skip();
    letter = defaultLetter;
  }
  return r.At(u']') && r.Pos() == r.Length() ? 0 : closingMsg;
}

bool IsFunctionRecord(int16_t record) {
  return record >= 1 && record <= Tables.FuncCount;
}

int16_t ReadRange(StatementReader& r, int16_t braceMsg, FieldRange& range) {
  const int16_t msgNo = r.Expect(u'{', braceMsg);
  if (msgNo != 0) return msgNo;
  return r.ReadRangeValues({&range.lo, &range.hi, &range.steps}, u'}');
}

int16_t CheckRanges(std::initializer_list<const FieldRange*> ranges, int16_t orderMsg,
                    int16_t intervalsMsg) {
  for (const FieldRange* range : ranges)
    if (!(range->hi > range->lo)) return orderMsg;
  for (const FieldRange* range : ranges)
    if (!(range->steps > 0)) return intervalsMsg;
  return 0;
}

FieldFunction BindFieldFunction(const rt::Text& resultName, int16_t record, int count) {
  return [call = FunctionCall(resultName, Tables.FuncTable[record].Name, count)](
             const double* args, double& value) mutable { return call(args, value); };
}

}  // namespace ms::field
