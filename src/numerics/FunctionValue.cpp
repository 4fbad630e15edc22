#include "numerics/FunctionValue.h"

#include "language/ProcessConst.h"
#include "language/WorksheetTables.h"

namespace ms {

rt::Text ReadFunctionId(const rt::Text& s, int& p) {
  rt::Text id(1, rt::CharAt(s, p));
  const char16_t next = rt::CharAt(s, p + 1);
  if (rt::IsLower(next)) {
    id += next;
    p += 2;
  } else {
    id += u'_';
    p += 1;
  }
  return id;
}

rt::Text StripValueParens(const rt::Text& valueText) {
  if (valueText.size() >= 2 && valueText.front() == u'(' && valueText.back() == u')')
    return valueText.substr(1, valueText.size() - 2);
  return valueText;
}

void EvalFunctionCall(const rt::Text& resultName, const rt::Text& name, const double* args,
                      int count, double& value, int16_t& msgNo) {
  rt::Text text = resultName + u"=(" + name + u"{";
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += u',';
    text += rt::NumText(args[i]);
  }
  text += u"})";
  const int16_t constCountBefore = Tables.ConstCount;
  rt::Text result;
  msgNo = 0;
  EvaluateAssignment(text, result, msgNo);
  if (msgNo != 0) {
    Tables.ConstCount = constCountBefore;
    return;
  }
  if (Tables.ConstCount <= constCountBefore || Tables.ConstCount < 1) {
    // The evaluation reported success without leaving its constant: treat as a failed value.
    Tables.ConstCount = constCountBefore;
    msgNo = 288;
    return;
  }
  value = rt::Val(StripValueParens(Tables.ConstTable[Tables.ConstCount].ValueText));
  Tables.ConstCount = constCountBefore;
}

}  // namespace ms
