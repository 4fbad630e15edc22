#include "language/TextEdits.h"

#include "language/Simplify.h"

namespace ms {

void FixLeadingMinus(const rt::Text& src, rt::Text& dst) {
  const rt::Text s = RemoveBlanks(src);
  const size_t n = s.size();
  rt::Text out;
  out.reserve(n + n / 4);
  size_t i = 0;
  while (i + 1 < n) {
    if (s[i] == u'(' && s[i + 1] == u'-') {
      out += u"(0-";
      i += 2;
    } else {
      out.push_back(s[i]);
      ++i;
    }
  }
  if (i + 1 == n) out.push_back(s[i]);
  dst = std::move(out);
}

void SpliceString(rt::Text& text, int32_t pos, const rt::Text& insert) {
  if (pos < 1 || pos > static_cast<long>(text.size())) return;
  text = text.substr(0, pos - 1) + insert + text.substr(pos);
}

rt::Text ReplaceCharAt(const rt::Text& text, int16_t pos, const rt::Text& insert) {
  rt::Text out = text;
  SpliceString(out, pos, insert);
  return out;
}

rt::Text FileTitleNoExt(const rt::Text& path) {
  const long slash = rt::InStrRev(path, u"\\");
  const rt::Text title = slash > 0 ? rt::Mid(path, slash + 1) : path;
  const long dot = rt::InStr(title, u".");
  return dot > 1 ? rt::Left(title, dot - 1) : title;
}

}  // namespace ms
