#include "platform/runtime/Runtime.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace rt {

// ---------------------------------------------------------------------------------------------
// UTF-8 <-> UTF-16

Text FromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  const size_t n = s.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b0 = static_cast<unsigned char>(s[i]);
    char32_t cp = 0;
    size_t len = 0;
    char32_t minCp = 0;
    if (b0 < 0x80) {
      cp = b0;
      len = 1;
    } else if ((b0 & 0xE0) == 0xC0) {
      cp = b0 & 0x1F;
      len = 2;
      minCp = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      cp = b0 & 0x0F;
      len = 3;
      minCp = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      cp = b0 & 0x07;
      len = 4;
      minCp = 0x10000;
    } else {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    bool ok = i + len <= n;
    for (size_t k = 1; ok && k < len; ++k) {
      const unsigned char b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) {
        ok = false;
      } else {
        cp = (cp << 6) | (b & 0x3F);
      }
    }
    if (ok && len > 1 && (cp < minCp || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
      ok = false;
    }
    if (!ok) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string ToUtf8(TextView s) {
  std::string out;
  out.reserve(s.size());
  const size_t n = s.size();
  for (size_t i = 0; i < n; ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Substrings and searching

Text Mid(TextView s, long start) {
  if (start < 1) start = 1;
  const auto from = static_cast<size_t>(start - 1);
  if (from >= s.size()) return Text();
  return Text(s.substr(from));
}

Text Mid(TextView s, long start, long length) {
  if (start < 1) start = 1;
  if (length <= 0) return Text();
  const auto from = static_cast<size_t>(start - 1);
  if (from >= s.size()) return Text();
  return Text(s.substr(from, static_cast<size_t>(length)));
}

Text Left(TextView s, long length) {
  if (length <= 0) return Text();
  return Text(s.substr(0, static_cast<size_t>(length)));
}

Text Right(TextView s, long length) {
  if (length <= 0) return Text();
  const auto n = static_cast<size_t>(length);
  if (n >= s.size()) return Text(s);
  return Text(s.substr(s.size() - n));
}

long InStr(long start, TextView s, TextView find) {
  if (start < 1) start = 1;
  if (find.empty()) return start <= Len(s) + 1 ? start : 0;
  const auto from = static_cast<size_t>(start - 1);
  if (from >= s.size()) return 0;
  const size_t pos = s.find(find, from);
  return pos == TextView::npos ? 0 : static_cast<long>(pos) + 1;
}

long InStrRev(TextView s, TextView find) {
  if (find.empty()) return Len(s);
  const size_t pos = s.rfind(find);
  return pos == TextView::npos ? 0 : static_cast<long>(pos) + 1;
}

Text Replace(TextView s, TextView find, TextView with) {
  if (find.empty()) return Text(s);
  Text out;
  out.reserve(s.size());
  size_t from = 0;
  for (;;) {
    const size_t pos = s.find(find, from);
    if (pos == TextView::npos) break;
    out.append(s.substr(from, pos - from));
    out.append(with);
    from = pos + find.size();
  }
  out.append(s.substr(from));
  return out;
}

Text LCase(TextView s) {
  Text out(s);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

Text String(long n, char16_t c) {
  if (n <= 0) return Text();
  return Text(static_cast<size_t>(n), c);
}

// ---------------------------------------------------------------------------------------------
// Wildcard patterns

namespace {

// Matches c against the class whose text starts just after "[" at pattern[open + 1]. Sets end to
// the index of the closing "]". Returns false (and end = npos) for an unterminated class.
bool MatchClass(char16_t c, TextView pattern, size_t open, size_t& end) {
  size_t i = open + 1;
  const size_t n = pattern.size();
  bool negate = false;
  if (i < n && pattern[i] == u'!') {
    negate = true;
    ++i;
  }
  bool hit = false;
  while (i < n && pattern[i] != u']') {
    const char16_t lo = pattern[i];
    // "a-z" is a range unless the '-' is the last member; a '-' in first place is a member.
    if (i + 2 < n && pattern[i + 1] == u'-' && pattern[i + 2] != u']') {
      const char16_t hi = pattern[i + 2];
      if (lo <= hi && c >= lo && c <= hi) hit = true;
      i += 3;
    } else {
      if (c == lo) hit = true;
      ++i;
    }
  }
  if (i >= n) {
    end = TextView::npos;
    return false;
  }
  end = i;
  return negate ? !hit : hit;
}

// Matches one pattern element at pattern[p] against c; next receives the index after the element.
// Returns false with next = npos for a malformed element.
bool MatchOne(char16_t c, TextView pattern, size_t p, size_t& next) {
  const char16_t pc = pattern[p];
  if (pc == u'?') {
    next = p + 1;
    return true;
  }
  if (pc == u'#') {
    next = p + 1;
    return c >= u'0' && c <= u'9';
  }
  if (pc == u'[') {
    size_t end = 0;
    const bool hit = MatchClass(c, pattern, p, end);
    next = end == TextView::npos ? TextView::npos : end + 1;
    return hit;
  }
  next = p + 1;
  return c == pc;
}

}  // namespace

bool CharIs(char16_t c, TextView charClass) {
  if (c == 0 || charClass.empty()) return false;
  size_t next = 0;
  const bool hit = MatchOne(c, charClass, 0, next);
  return hit && next == charClass.size();
}

// ---------------------------------------------------------------------------------------------
// Numbers from text

namespace {

bool IsExponentMark(char16_t c) {
  return c == u'E' || c == u'e' || c == u'D' || c == u'd';
}

// Converts an ASCII number text (optional '-', digits with at most one point, optional 'e',
// optional '-', digits) to a double without the locale. Values beyond the double range become
// +/-infinity, values too small for it 0.
double ParseAscii(const std::string& text) {
  double value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)ptr;
  if (ec == std::errc()) return value;
  if (ec != std::errc::result_out_of_range) return 0;
  // Out of range: decide between overflow and underflow by the decimal position of the first
  // significant digit.
  const bool negative = !text.empty() && text[0] == '-';
  long intDigits = 0;  // digits before the point, from the first significant one
  long leadZeros = 0;  // zeros after the point before the first significant digit
  bool seenSignificant = false;
  bool afterPoint = false;
  long exponent = 0;
  size_t k = negative ? 1 : 0;
  for (; k < text.size() && text[k] != 'e'; ++k) {
    const char c = text[k];
    if (c == '.') {
      afterPoint = true;
    } else if (c != '0' || seenSignificant) {
      seenSignificant = true;
      if (!afterPoint) ++intDigits;
    } else if (afterPoint) {
      ++leadZeros;
    }
  }
  if (k < text.size()) {
    std::from_chars(text.data() + k + 1, text.data() + text.size(), exponent);
  }
  const long magnitude = (intDigits > 0 ? intDigits : -leadZeros) + exponent;
  if (magnitude <= 0) return negative ? -0.0 : 0.0;
  return negative ? -std::numeric_limits<double>::infinity()
                  : std::numeric_limits<double>::infinity();
}

// Exponent digits beyond this count cannot change the result (the value has over- or underflowed
// long before); longer exponents are clamped so that the text stays short.
constexpr size_t kMaxExponentDigits = 6;

}  // namespace

double Val(TextView s) {
  std::string text;
  size_t i = 0;
  const size_t n = s.size();
  auto skipBlanks = [&] {
    while (i < n && (s[i] == u' ' || s[i] == u'\t' || s[i] == u'\n')) ++i;
  };
  skipBlanks();
  if (i < n && (s[i] == u'-' || s[i] == u'+')) {
    if (s[i] == u'-') text.push_back('-');
    ++i;
  }
  bool anyDigit = false;
  bool point = false;
  std::string mantissa;
  for (;;) {
    skipBlanks();
    if (i < n && IsDigit(s[i])) {
      mantissa.push_back(static_cast<char>(s[i]));
      anyDigit = true;
      ++i;
    } else if (i < n && s[i] == u'.' && !point) {
      mantissa.push_back('.');
      point = true;
      ++i;
    } else {
      break;
    }
  }
  if (!anyDigit) return 0;
  text += mantissa;
  if (i < n && IsExponentMark(s[i])) {
    size_t j = i + 1;
    auto skip = [&] {
      while (j < n && (s[j] == u' ' || s[j] == u'\t' || s[j] == u'\n')) ++j;
    };
    skip();
    bool negative = false;
    if (j < n && (s[j] == u'-' || s[j] == u'+')) {
      negative = s[j] == u'-';
      ++j;
    }
    std::string digits;
    for (;;) {
      skip();
      if (j < n && IsDigit(s[j])) {
        if (!(digits.empty() && s[j] == u'0')) digits.push_back(static_cast<char>(s[j]));
        ++j;
      } else {
        break;
      }
    }
    if (digits.size() > kMaxExponentDigits) digits.assign(kMaxExponentDigits, '9');
    if (!digits.empty()) {
      text.push_back('e');
      if (negative) text.push_back('-');
      text += digits;
    }
  }
  return ParseAscii(text);
}

bool IsNumeric(TextView s) {
  size_t i = 0;
  size_t n = s.size();
  while (i < n && s[i] == u' ') ++i;
  while (n > i && s[n - 1] == u' ') --n;
  if (i < n && (s[i] == u'-' || s[i] == u'+')) ++i;
  bool anyDigit = false;
  bool point = false;
  while (i < n && (IsDigit(s[i]) || (s[i] == u'.' && !point))) {
    if (s[i] == u'.') {
      point = true;
    } else {
      anyDigit = true;
    }
    ++i;
  }
  if (!anyDigit) return false;
  if (i < n && IsExponentMark(s[i])) {
    ++i;
    if (i < n && (s[i] == u'-' || s[i] == u'+')) ++i;
    bool expDigit = false;
    while (i < n && IsDigit(s[i])) {
      expDigit = true;
      ++i;
    }
    if (!expDigit) return false;
  }
  if (i != n) return false;
  return std::isfinite(Val(s));
}

// ---------------------------------------------------------------------------------------------
// Numbers to text

namespace {

// The significant digits of |v| (v finite, not 0), up to 15 or the fewest that read back as v:
// the digits without trailing zeros and the decimal exponent of the first digit
// (v = d1.d2d3... x 10^exponent).
void SignificantDigits(double v, bool roundTrip, std::string& digits, int& exponent) {
  std::array<char, 64> buf{};
  char* const last = buf.data() + buf.size();
  const auto res =
      roundTrip ? std::to_chars(buf.data(), last, std::fabs(v), std::chars_format::scientific)
                : std::to_chars(buf.data(), last, std::fabs(v), std::chars_format::scientific, 14);
  const std::string_view t(buf.data(), static_cast<size_t>(res.ptr - buf.data()));
  // t is "d.ddde[+-]xx".
  digits.clear();
  size_t k = 0;
  for (; k < t.size() && t[k] != 'e'; ++k) {
    if (t[k] != '.') digits.push_back(t[k]);
  }
  exponent = 0;
  if (k < t.size()) {
    const char* first = t.data() + k + 1;
    if (*first == '+') ++first;
    std::from_chars(first, t.data() + t.size(), exponent);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

// The shared body of Str and NumText: the number without its sign position.
std::string Unsigned(double v, bool leadingZero, bool roundTrip = false) {
  std::string digits;
  int e = 0;
  SignificantDigits(v, roundTrip, digits, e);
  std::string out;
  if (e >= 15 || e < -15) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back('.');
      out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    out.push_back(e < 0 ? '-' : '+');
    const int a = e < 0 ? -e : e;
    if (a < 10) out.push_back('0');
    out += std::to_string(a);
    return out;
  }
  if (e >= 0) {
    const auto intLen = static_cast<size_t>(e) + 1;
    if (digits.size() <= intLen) {
      out = digits;
      out.append(intLen - digits.size(), '0');
    } else {
      out.assign(digits, 0, intLen);
      out.push_back('.');
      out.append(digits, intLen, std::string::npos);
    }
    return out;
  }
  if (leadingZero) out.push_back('0');
  out.push_back('.');
  out.append(static_cast<size_t>(-e - 1), '0');
  out += digits;
  return out;
}

Text Ascii(const std::string& s) {
  return Text(s.begin(), s.end());
}

}  // namespace

Text Str(double v) {
  if (std::isnan(v)) return u" NaN";
  if (std::isinf(v)) return v > 0 ? u" Inf" : u"-Inf";
  if (v == 0) return u" 0";
  return Ascii((v < 0 ? "-" : " ") + Unsigned(v, false));
}

Text NumText(double v) {
  if (std::isnan(v)) return u"NaN";
  if (std::isinf(v)) return v > 0 ? u"Inf" : u"-Inf";
  if (v == 0) return u"0";
  return Ascii((v < 0 ? "-" : "") + Unsigned(v, true));
}

Text RoundTripText(double v) {
  if (!std::isfinite(v) || v == 0) return NumText(v);
  return Ascii((v < 0 ? "-" : "") + Unsigned(v, true, true));
}

Text IntText(long v) {
  return Ascii(std::to_string(v));
}

// ---------------------------------------------------------------------------------------------
// Rounding and integers

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  // Work on the magnitude: for a >= 1, floor(a) <= a < 2 floor(a), so a - floor(a) is exact
  // (Sterbenz); below 1 the fraction is a itself. The tie test is therefore exact.
  const double a = std::fabs(v);
  const double lower = std::floor(a);
  const double diff = a - lower;
  double r = lower;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0)) r = lower + 1;
  if (r == 0) return 0.0;
  return v < 0 ? -r : r;
}

double RoundHalfEven(double v, int decimals) {
  if (!std::isfinite(v)) return v;
  if (decimals <= 0) return RoundHalfEven(v);
  const double scale = std::pow(10.0, decimals);
  const double scaled = v * scale;
  // Beyond 2^52 every double is whole: nothing is left to round at this scale.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return v;
  return RoundHalfEven(scaled) / scale;
}

double Int(double v) {
  return std::floor(v);
}

int Sgn(double v) {
  return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

bool ToInt16(double v, int16_t& out) {
  if (std::isnan(v)) return false;
  const double r = RoundHalfEven(v);
  if (r < -32768.0 || r > 32767.0) return false;
  out = static_cast<int16_t>(r);
  return true;
}

void SplitRGB(int32_t color, int& red, int& green, int& blue) {
  const auto c = static_cast<uint32_t>(color);
  red = static_cast<int>(c & 0xFF);
  green = static_cast<int>((c >> 8) & 0xFF);
  blue = static_cast<int>((c >> 16) & 0xFF);
}

}  // namespace rt
