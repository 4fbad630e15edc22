#include "language/Simplify.h"

#include <string_view>

#include "platform/ui/UiServices.h"

namespace ms {
namespace {

// Character at 1-based position p, 0 outside the text.

bool IsOperator(char16_t c) {
  return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

using rt::IsDigit;

// Position of the ")" that closes the "(" at p, 0 when the group is not closed.
long MatchingParen(const rt::Text& s, long p) {
  long depth = 0;
  for (long j = p; j <= static_cast<long>(s.size()); ++j) {
    if (s[j - 1] == u'(') ++depth;
    if (s[j - 1] == u')' && --depth == 0) return j;
  }
  return 0;
}

// Position of the "(" that opens the group closed by the ")" at p, 0 when there is none.
long OpeningParen(const rt::Text& s, long p) {
  long depth = 0;
  for (long j = p; j >= 1; --j) {
    if (s[j - 1] == u')') ++depth;
    if (s[j - 1] == u'(' && --depth == 0) return j;
  }
  return 0;
}

// c is one of the characters of set (c == 0, outside the text, never is).
bool OneOf(char16_t c, std::u16string_view set) {
  return c != u'\0' && set.find(c) != std::u16string_view::npos;
}

void Blank(rt::Text& s, long from, long to) {
  for (long j = from; j <= to; ++j) s[j - 1] = u' ';
}

}  // namespace

void Simplify(const rt::Text& expr, const rt::Text& passList, rt::Text& result) {
  int16_t msgNo = 0;
  Simplify(expr, passList, result, msgNo);
}

void Simplify(const rt::Text& expr, const rt::Text& passList, rt::Text& result, int16_t& msgNo) {
  msgNo = 0;
  if (rt::CharAt(passList, 1) != u'[') {
    ui::Ui().MsgBox(u"?", ui::kOkOnly, u"Programmer Error");
    ui::Ui().EndProgram();
    return;
  }
  rt::Text current = expr;
  long i = 1;
  const long n = static_cast<long>(passList.size());
  while (i < n) {
    ++i;
    rt::Text selector;
    if (IsDigit(rt::CharAt(passList, i))) {
      selector = rt::Text(1, rt::CharAt(passList, i));
      ++i;
    }
    msgNo = RunSimplifyPass(current, selector, current);
    if (msgNo != 0) return;
    if (rt::CharAt(passList, i) == u']') break;
  }
  result = std::move(current);
}

int16_t RunSimplifyPass(const rt::Text& expr, const rt::Text& digit, rt::Text& result) {
  int16_t msgNo = 0;
  if (digit.size() != 1) return msgNo;
  switch (digit[0]) {
    case u'0':
      result = RemoveBlanks(expr);
      break;
    case u'1':
      result = DropParensOnSingle(expr, msgNo);
      break;
    case u'2':
      result = DropParensOnNumber(expr);
      break;
    case u'3':
      result = DropNestedBrackets(expr);
      break;
    case u'4':
      result = DropZeroTimesGroup(expr);
      break;
    case u'5':
      result = DropGroupTimesZero(expr);
      break;
    case u'6':
      result = DropOneTimes(expr);
      break;
    case u'7':
      result = DropTimesOne(expr);
      break;
    case u'8':
      result = PrefixZeroSign(expr);
      break;
    case u'9':
      result = StripOuterParens(expr);
      break;
    default:
      break;
  }
  return msgNo;
}

rt::Text RemoveBlanks(const rt::Text& s) {
  rt::Text out;
  out.reserve(s.size());
  for (char16_t c : s) {
    if (c != u' ') out.push_back(c);
  }
  return out;
}

rt::Text DropParensOnSingle(const rt::Text& s, int16_t& msgNo) {
  const long n = static_cast<long>(s.size());
  // Refused rather than emptied: an empty text would go on as a function without a body.
  if (n > kMaxSimplifyLength) {
    msgNo = kMsgSimplifyTooLong;
    return s;
  }
  msgNo = 0;
  rt::Text work = s;
  bool changed = false;
  // i >= 2 keeps the look at the character before the "(" inside the text.
  for (long i = 2; i <= n - 2; ++i) {
    if (s[i - 1] == u'(' && s[i + 1] == u')' && !IsOperator(s[i - 2]) && !IsOperator(s[i])) {
      work[i - 1] = u' ';
      work[i + 1] = u' ';
      changed = true;
    }
  }
  return changed ? RemoveBlanks(work) : s;
}

rt::Text DropParensOnNumber(const rt::Text& s) {
  const long n = static_cast<long>(s.size());
  rt::Text work = s;
  long i = 1;
  while (i <= n) {
    const char16_t next = rt::CharAt(s, i + 1);
    if (s[i - 1] == u'(' && (next == u'+' || next == u'.' || IsDigit(next))) {
      long j = i + 1;
      while (j <= n &&
             (IsDigit(s[j - 1]) || s[j - 1] == u'E' || s[j - 1] == u'e' || s[j - 1] == u'.')) {
        ++j;
      }
      if (rt::CharAt(s, j) == u')') {
        work[i - 1] = u' ';
        work[j - 1] = u' ';
      }
      i = j + 1;
    } else {
      ++i;
    }
  }
  return RemoveBlanks(work);
}

rt::Text DropNestedBrackets(const rt::Text& s) {
  const long n = static_cast<long>(s.size());
  if (n < 2 || s.compare(n - 2, 2, u")]") != 0) return s;
  const long open = rt::InStr(s, u"[(");
  if (open == 0) return s;
  const long p = open + 1;  // the "("
  long brackets = 1;
  long parens = 1;
  for (long j = p + 1; j <= n; ++j) {
    switch (s[j - 1]) {
      case u'(':
        ++parens;
        break;
      case u')':
        --parens;
        break;
      case u'[':
        ++brackets;
        break;
      case u']':
        --brackets;
        break;
      default:
        break;
    }
    // The group must close just before a "]"; otherwise it does not fill the bracket alone.
    if (parens <= 0 && rt::CharAt(s, j + 1) != u']') return s;
    if (brackets == 0) {
      rt::Text work = s;
      work[p - 1] = u' ';
      work[j - 2] = u' ';
      return RemoveBlanks(work);
    }
  }
  return s;
}

rt::Text DropZeroTimesGroup(const rt::Text& s) {
  // 0*(...) is 0: the "0" must be a factor of its own, so it may not end a number or a name, nor
  // stand after "^" or "/", which bind it to what precedes it.
  const long n = static_cast<long>(s.size());
  rt::Text work = s;
  bool changed = false;
  long i = 1;
  while (i + 2 <= n) {
    const char16_t before = rt::CharAt(s, i - 1);
    const bool alone = before == u'\0' || OneOf(before, u"([{,+-*=<");
    if (s[i - 1] == u'0' && s[i] == u'*' && s[i + 1] == u'(' && alone) {
      const long close = MatchingParen(s, i + 2);
      if (close > 0) {
        Blank(work, i + 1, close);
        changed = true;
        i = close + 1;
        continue;
      }
    }
    ++i;
  }
  return changed ? RemoveBlanks(work) : s;
}

rt::Text DropGroupTimesZero(const rt::Text& s) {
  // (...)*0 is 0 when the "0" is a whole number (no digit after it).
  const long n = static_cast<long>(s.size());
  rt::Text work = s;
  bool changed = false;
  for (long i = 1; i + 2 <= n; ++i) {
    if (s[i - 1] != u')' || s[i] != u'*' || s[i + 1] != u'0') continue;
    const char16_t after = rt::CharAt(s, i + 3);
    if (after == u'.' || IsDigit(after)) continue;
    const long open = OpeningParen(s, i);
    // The group must be a factor of its own: a name or "]" before it makes it an argument list, and
    // "^" or "/" would bind it to what precedes it.
    const char16_t before = rt::CharAt(s, open - 1);
    if (open == 0 || !(before == u'\0' || OneOf(before, u"([{,+-*=<"))) continue;
    Blank(work, open, i + 1);
    changed = true;
  }
  return changed ? RemoveBlanks(work) : s;
}

rt::Text DropOneTimes(const rt::Text& s) {
  // "1*" after "+", "*" or "-" (or at the start) multiplies by one.
  const long n = static_cast<long>(s.size());
  rt::Text work = s;
  bool changed = false;
  for (long i = 1; i + 1 <= n; ++i) {
    if (s[i - 1] != u'1' || s[i] != u'*') continue;
    const char16_t before = rt::CharAt(s, i - 1);
    // A sign after "E" belongs to an exponent: 2E+1*x is not 2E+x.
    if (OneOf(before, u"+-") && rt::CharAt(s, i - 2) == u'E') continue;
    if (before == u'\0' || OneOf(before, u"+*-(")) {
      work[i - 1] = u' ';
      work[i] = u' ';
      changed = true;
      ++i;
    }
  }
  return changed ? RemoveBlanks(work) : s;
}

rt::Text DropTimesOne(const rt::Text& s) {
  // "*1" ending a factor: the "1" must be a whole number and no power may bind to it.
  const long n = static_cast<long>(s.size());
  rt::Text work = s;
  bool changed = false;
  for (long i = 2; i + 1 <= n; ++i) {
    if (s[i - 1] != u'*' || s[i] != u'1') continue;
    const char16_t after = rt::CharAt(s, i + 2);
    if (after == u'\0' || OneOf(after, u"+-*/)}],>")) {
      work[i - 1] = u' ';
      work[i] = u' ';
      changed = true;
    }
  }
  return changed ? RemoveBlanks(work) : s;
}

rt::Text PrefixZeroSign(const rt::Text& s) {
  if (!s.empty() && (s[0] == u'-' || s[0] == u'+')) return u"0" + s;
  return s;
}

bool IsOneGroup(const rt::Text& s) {
  if (s.size() < 2 || s.front() != u'(' || s.back() != u')') return false;
  long depth = 1;
  for (size_t j = 1; j + 1 < s.size(); ++j) {
    if (s[j] == u'(') ++depth;
    if (s[j] == u')') --depth;
    if (depth == 0) return false;
  }
  return true;
}

rt::Text StripOuterParens(const rt::Text& s) {
  if (s.size() == 3 && s[0] == u'(' && s[2] == u')') return s.substr(1, 1);
  rt::Text e = s;
  while (IsOneGroup(e)) e = e.substr(1, e.size() - 2);
  return e;
}

}  // namespace ms
