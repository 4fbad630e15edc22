#include "language/CommandArguments.h"

#include <algorithm>
#include <limits>

#include "language/Simplify.h"
#include "language/WorksheetTables.h"

namespace ms {
namespace {

constexpr int16_t kMsgFunctionNotFound = 57;
constexpr int16_t kMsgBadIdentifier = 313;
constexpr int16_t kMsgUnexpectedEnd = 333;
constexpr int16_t kMsgConstantNotFound = 339;
constexpr int16_t kMsgTerminatorMissing = 1220;
constexpr int16_t kMsgNothingBeforeTerminator = 6097;

char16_t FirstChar(const rt::Text& s) {
  return s.empty() ? u'\0' : s[0];
}

bool EnclosedInParens(const rt::Text& s) {
  return s.size() >= 2 && s.front() == u'(' && s.back() == u')';
}

// Positions are 16-bit: a text whose positions do not all fit cannot be scanned.
bool PositionsFit(const rt::Text& s) {
  return s.size() < static_cast<size_t>(std::numeric_limits<int16_t>::max());
}

}  // namespace

int16_t FindFunction(const rt::Text& id, rt::Text& firstParm, int16_t& index) {
  const int count = std::min<int>(Tables.FuncCount, kMaxFunctions);
  for (int k = 1; k <= count; ++k) {
    if (Tables.FuncTable[k].Name == id) {
      firstParm = Tables.FuncTable[k].Parm1;
      index = static_cast<int16_t>(k);
      return 0;
    }
  }
  firstParm.clear();
  return kMsgFunctionNotFound;
}

int16_t FindRangeConstant(const rt::Text& id, int16_t& index) {
  const int count = std::min<int>(Tables.ConstCount, kMaxConstants);
  for (int k = 1; k <= count; ++k) {
    // An integral's result constant has no value before its computation ends (its own range
    // naming it included): it is not there yet.
    if (Tables.ConstTable[k].Name == id && !Tables.ConstTable[k].NotComputed) {
      index = static_cast<int16_t>(k);
      return 0;
    }
  }
  return kMsgConstantNotFound;
}

double RangeConstantValue(int16_t index) {
  if (index < 1 || index > kMaxConstants) return 0;
  rt::Text valueText = Tables.ConstTable[static_cast<size_t>(index)].ValueText;
  Simplify(valueText, u"[2,2,2]", valueText);
  if (EnclosedInParens(valueText)) valueText = valueText.substr(1, valueText.size() - 2);
  return rt::Val(valueText);
}

int16_t ScanNumber(const rt::Text& text, int16_t& pos, rt::Text& numberText, bool& found,
                   const rt::Text& terminator) {
  found = false;
  const long len = static_cast<long>(text.size());
  const char16_t term = FirstChar(terminator);
  long p = pos;
  if (p < 1 || !PositionsFit(text)) {
    return kMsgUnexpectedEnd;
  }
  rt::Text gathered;
  // The last character is never gathered: a value must be followed by its terminator.
  while (p < len && text[p - 1] != term) {
    gathered.push_back(text[p - 1]);
    ++p;
  }
  // Past the end, or stopped on the last character without meeting the terminator: the text
  // ended before the value was closed.
  if (p > len || rt::CharAt(text, p) != term) {
    return kMsgUnexpectedEnd;
  }
  if (gathered.empty()) {
    return kMsgNothingBeforeTerminator;
  }
  if (EnclosedInParens(gathered)) gathered = gathered.substr(1, gathered.size() - 2);
  // The platform's numeric test also reads "e", "d" and "D" as exponent marks; a number of the
  // language writes its exponent with "E". With "e" the text is refused as in any other statement;
  // with "d" or "D" it is no number (1d3 is not 1000).
  const size_t otherMark = gathered.find_first_of(u"edD");
  if (otherMark != rt::Text::npos && rt::IsNumeric(gathered)) {
    if (gathered[otherMark] == u'e') {
      return kMsgLowerCaseExponent;
    }
  } else if (rt::IsNumeric(gathered)) {
    found = true;
    numberText = gathered;
    pos = static_cast<int16_t>(p);
  }
  return 0;
}

int16_t StatementReader::Expect(char16_t c, int16_t msgNo) {
  if (!At(c)) return msgNo;
  Skip();
  return 0;
}

int16_t StatementReader::ReadIdentifier(rt::Text& id, rt::TextView first, rt::TextView joins,
                                        int16_t msgNo) {
  if (!rt::CharIs(Peek(), first)) return msgNo;
  id.assign(1, Peek());
  if (rt::CharIs(Peek(1), joins)) {
    id.push_back(Peek(1));
    Skip(2);
  } else {
    id.push_back(u'_');
    Skip(1);
  }
  return 0;
}

int16_t StatementReader::ReadRangeValue(double& value, char16_t terminator) {
  rt::Text number;
  bool found = false;
  int16_t msgNo = 0;
  int16_t pos = pos_;
  msgNo = ScanNumber(text_, pos, number, found, rt::Text(1, terminator));
  if (msgNo != 0) return msgNo;
  if (found) {
    value = rt::Val(number);
    pos_ = pos;
    Skip();
    return 0;
  }

  // A constant identifier, optionally negated.
  const bool negate = At(u'-');
  if (negate) Skip();
  rt::Text id;
  msgNo = ReadIdentifier(id, u"[a-z]", u"[a-z0-9]", kMsgBadIdentifier);
  int16_t index = 0;
  if (msgNo == 0) msgNo = FindRangeConstant(id, index);
  if (msgNo != 0) return msgNo;
  value = RangeConstantValue(index);
  if (negate) value = -value;
  // The value is taken before the terminator is checked.
  if (terminator == u'\0' || !At(terminator)) return kMsgTerminatorMissing;
  Skip();
  return 0;
}

int16_t StatementReader::ReadRangeValues(std::initializer_list<double*> values, char16_t last) {
  size_t k = 0;
  for (double* value : values) {
    const int16_t msgNo = ReadRangeValue(*value, ++k == values.size() ? last : u',');
    if (msgNo != 0) return msgNo;
  }
  return 0;
}

}  // namespace ms
