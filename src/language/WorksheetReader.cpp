#include "language/WorksheetReader.h"

#include "language/ClearStorage.h"
#include "language/Simplify.h"
#include "language/TextEdits.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"

namespace ms {
namespace {

constexpr int16_t kMsgUnderscore = 1;
constexpr char16_t kTab = 9;
constexpr char16_t kCR = 13;
constexpr char16_t kLF = 10;

// Character at 1-based position p, 0 outside the text.

bool Is(char16_t c, const char16_t* charClass) {
  return rt::CharIs(c, charClass);
}

// Reads the legend directive of the comment whose "'" stands at i ("'@text@id,text2").
void ReadLegendDirective(const rt::Text& ws, long i) {
  const long len = static_cast<long>(ws.size());
  long p = i + 2;
  rt::Text text;
  // Without its second "@" the text ends with its line.
  while (p <= len && ws[p - 1] != u'@' && ws[p - 1] != kCR) text.push_back(ws[p++ - 1]);
  if (Tables.SelectValueCount < kMaxSelectValues) ++Tables.SelectValueCount;
  const int k = Tables.SelectValueCount;
  Tables.SelectValueText[k] = text;
  if (rt::CharAt(ws, p) != u'@') return;  // no identifier: the entry keeps its former one

  rt::Text id;
  long q = p + 1;
  const char16_t first = rt::CharAt(ws, q);
  if (first != u'\0' && first != kCR) {
    id.push_back(first);
    ++q;
    if (Is(rt::CharAt(ws, q), u"[a-z0-9]")) {
      id.push_back(rt::CharAt(ws, q));
      ++q;
    } else {
      id.push_back(u'_');
    }
  }
  Tables.SelectValueId[k] = id;
  Tables.SelectValueText2[k].clear();
  if (rt::CharAt(ws, q) == u',') {
    rt::Text text2;
    for (long r = q + 1; r <= len && ws[r - 1] != kCR; ++r) text2.push_back(ws[r - 1]);
    Tables.SelectValueText2[k] = text2;
  }
}

// Whether the characters from 1-based position p are an exponent's digits: a digit, or a sign
// followed by a digit.
bool StartsExponent(const rt::Text& r, long p) {
  const char16_t c = rt::CharAt(r, p);
  if (c == u'+' || c == u'-') return Is(rt::CharAt(r, p + 1), u"[0-9]");
  return Is(c, u"[0-9]");
}

// Blanks between a number and an "e" that an exponent's digits follow are written "*": "2 e-1" is 2
// times the constant e, minus 1. Only an "e" written directly after a number marks an exponent
// (which the checker refuses).
rt::Text KeepNumberApartFromE(const rt::Text& s) {
  if (s.find(u' ') == rt::Text::npos) return s;
  rt::Text out;
  out.reserve(s.size() + 1);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u' ' && i > 0 && Is(s[i - 1], u"[0-9.]")) {
      size_t j = i;
      while (j < s.size() && s[j] == u' ') ++j;
      if (j < s.size() && s[j] == u'e' && StartsExponent(s, static_cast<long>(j) + 2)) {
        out.push_back(u'*');
        i = j - 1;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

// What a tab after c parts as a blank does: a letter from a built-in name it would spell a longer
// name with (A<tab>Sin[x] is not ASin[x]), a number from an "e" after it.
bool TabParts(char16_t c) {
  return BeginsLongerName(c) || Is(c, u"[0-9.]");
}

}  // namespace

rt::Text NormaliseStatement(const rt::Text& buffer) {
  rt::Text s;
  const rt::Text apart = KeepNumberApartFromE(KeepNamesApartFromLetters(buffer));
  FixLeadingMinus(InsertImplicitMultiply(RemoveBlanks(apart)), s);
  return s;
}

WorksheetStatements::WorksheetStatements(const rt::Text& worksheet) : ws_(worksheet) {
  Tables.CurrentStmtNo = 1;
  Tables.SelectValueCount = 0;
  Tables.ShowValLegend = 0;
  ClearStatements();
}

bool WorksheetStatements::Next(rt::Text& statement, bool& abortable) {
  const rt::Text& ws = ws_;
  const long len = static_cast<long>(ws.size());
  long& i = i_;
  while (i <= len) {
    const char16_t c = ws[i - 1];
    if (c == kTab) {
      if (!buffer_.empty() && TabParts(buffer_.back())) buffer_.push_back(u' ');
      ++i;
    } else if (c == u'_') {
      // The error names the statement that holds the underscore, as far as its end.
      stmtText_ = buffer_;
      for (long j = i; j <= len && ws[j - 1] != u':' && ws[j - 1] != kCR && ws[j - 1] != u'\'';
           ++j) {
        if (ws[j - 1] != kTab) stmtText_.push_back(ws[j - 1]);
      }
      msgNo_ = kMsgUnderscore;
      i = len + 1;
      buffer_.clear();
      return false;
    } else if (c == u':' || c == kCR) {
      statement = NormaliseStatement(buffer_);
      buffer_.clear();
      i += (c == kCR && rt::CharAt(ws, i + 1) == kLF) ? 2 : 1;
      abortable = true;
      if (!statement.empty()) return true;
    } else if (c == u'\'') {
      statement = NormaliseStatement(buffer_);
      buffer_.clear();
      if (rt::CharAt(ws, i + 1) == u'@') ReadLegendDirective(ws, i);
      // Skip the comment with its line break; a comment on the last line ends the text.
      const long cr = rt::InStr(i + 1, ws, rt::Text(1, kCR));
      i = cr == 0 ? len + 1 : cr + 2;
      abortable = false;
      if (!statement.empty()) return true;
    } else {
      buffer_.push_back(c);
      // A statement not closed by CR, ":" or "'" is not read.
      if (i == len) buffer_.clear();
      ++i;
    }
  }
  if (msgNo_ == 0) stmtText_ = buffer_;
  return false;
}

rt::Text InsertImplicitMultiply(const rt::Text& s) {
  const long eq = rt::InStr(s, u"=");
  if (eq == 0) return s;
  rt::Text out = s.substr(0, eq);
  const rt::Text r = s.substr(eq);
  const long n = static_cast<long>(r.size());
  long i = 1;
  while (i <= n - 1) {
    const char16_t c1 = r[i - 1];
    const char16_t c2 = r[i];
    const char16_t c3 = rt::CharAt(r, i + 2);  // 0 past the end
    auto put3 = [&]() {
      out.push_back(c1);
      out.push_back(u'.');
      if (c3 != u'\0') out.push_back(c3);
      i += 3;
    };
    if (Is(c1, u"[A-Z]") && c2 == u'.') {
      put3();
    } else if (c1 == u'.' && Is(c2, u"[xyz]")) {
      out += {u'.', c2};
      i += 2;
    } else if (Is(c1, u"[a-z]") && c2 == u'.') {
      put3();
    } else if (Is(c1, u"[0-9.]") && c2 == u'e' && StartsExponent(r, i + 2)) {
      // 1.2e-6 is a number written with "e": it stays as typed, for the checker to refuse, rather
      // than read as 1.2 times a constant e.
      out.push_back(c1);
      i += 1;
    } else if (Is(c1, u"[0-9.]") && Is(c2, u"[a-zA-DF-Z(]")) {
      out += {c1, u'*', c2};
      i += 2;
    } else if (Is(c1, u"[a-z]") && Is(c2, u"[0-9]")) {
      out += {c1, c2};
      i += 2;
    } else if (c1 == u'E') {
      // "E" after a number and before a name or "{" starts a function identifier; otherwise it
      // marks an exponent.
      if (Is(c2, u"[a-z{]") && Is(rt::CharAt(r, i - 1), u"[0-9.]")) {
        out += {u'*', u'E', c2};
        i += 2;
      } else {
        out.push_back(u'E');
        i += 1;
      }
    } else if (Is(c1, u"[0-9.a-z]") && c2 == u'(') {
      out += {c1, u'*', u'('};
      i += 2;
    } else if (c1 == u'}' && Is(c2, u"[0-9.a-zA-Z]")) {
      out += {u'}', u'*', c2};
      i += 2;
    } else if (c1 == u'}' && c2 == u'(') {
      out += u"}*(";
      i += 2;
    } else if (c1 == u')' && Is(c2, u"[0-9.a-z]")) {
      out += {u')', u'*', c2};
      i += 2;
      if (c3 == u'(') {
        out += u"*(";
        i += 1;
      }
    } else if (c1 == u')' && c2 == u'(') {
      out += u")*(";
      i += 2;
    } else if (c1 == u']' && Is(c2, u"[0-9.a-zA-Z]")) {
      out += {u']', u'*', c2};
      i += 2;
    } else if (c1 == u']' && c2 == u'(') {
      out += u"]*(";
      i += 2;
    } else if (Is(c1, u"[a-z]") && Is(c2, u"[a-z]")) {
      out.push_back(c1);
      i += 1;
    } else if (c1 == u')' && Is(c2, u"[A-Z]")) {
      out += {u')', u'*', c2};
      i += 2;
    } else {
      out.push_back(c1);
      i += 1;
    }
  }
  if (i == n) {
    const char16_t last = r[n - 1];
    if (Is(last, u"[a-z]") && Is(rt::CharAt(r, n - 1), u"[0-9.]")) out.push_back(u'*');
    out.push_back(last);
  }
  return out;
}

}  // namespace ms
