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

}  // namespace ms
