#include "mathematics/Macros.h"

#include "language/Tokens.h"

namespace ms {

MacroState Macros;

namespace {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
// A macro body that calls itself would be substituted for ever; a text this many passes deep is
// refused instead.
constexpr int kMaxMacroPasses = 100;
constexpr size_t kMaxMacroText = 32000;

using rt::IsLetter;
using rt::IsUpper;

// The macro name of a header or call text: from its start up to, not including, the first "[".
Text NameUpToBracket(const Text& text, size_t start) {
  size_t open = text.find(u'[', start);
  if (open == Text::npos) return text.substr(start);
  return text.substr(start, open - start);
}

bool MacroKnown(const Text& name) {
  int count = Tables.MacroCount;
  if (count > kMaxMacros) count = kMaxMacros;
  for (int k = 1; k <= count; ++k) {
    if (Tables.MacroTable[k].Name == name) return true;
  }
  return false;
}

// Replaces each one-letter placeholder that stands alone (no letter on either side) by its
// argument, all pairs in one left-to-right pass, so that an argument is never rescanned.
Text PutArguments(const Text& body) {
  Text out;
  for (size_t i = 0; i < body.size(); ++i) {
    char16_t c = body[i];
    bool alone = IsLetter(c) && (i == 0 || !IsLetter(body[i - 1])) &&
                 (i + 1 >= body.size() || !IsLetter(body[i + 1]));
    bool replaced = false;
    if (alone) {
      for (int p = 1; p <= kMacroArgPairs; ++p) {
        const MacroArgPair& pair = Macros.MacroArgPairs[p];
        if (!pair.Placeholder.empty() && pair.Placeholder.size() == 1 && pair.Placeholder[0] == c) {
          out += pair.Argument;
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += c;
  }
  return out;
}

}  // namespace

void ResetMacroState() {
  Macros = MacroState{};
}

int16_t MacroCallsDefined(const Text& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'v' && IsUpper(text[i + 1])) {
      if (!MacroKnown(NameUpToBracket(text, i))) return kFalse;
    }
  }
  return kTrue;
}

int16_t SubstituteMacroCall(const Text& text, const Text& header, int16_t& found) {
  found = kFalse;
  for (auto& pair : Macros.MacroArgPairs) pair = MacroArgPair{};
  Macros.CallStart = 0;
  Macros.CallLength = 0;

  size_t open = header.find(u'[');
  if (open == Text::npos) return 602;
  size_t close = header.find(u']', open);
  size_t span = close == Text::npos ? 0 : close - open;
  if (close == Text::npos || span % 2 != 0 || span < 2 || span > 2 * kMacroArgPairs) return 604;
  int k = static_cast<int>(span / 2);
  for (int j = 1; j <= k; ++j) {
    char16_t parm = header[open + 2 * j - 1];
    if (!IsLetter(parm)) return 665;
    char16_t sep = header[open + 2 * j];
    if ((j < k && sep != u',') || (j == k && sep != u']')) return 604;
  }

  Text name = header.substr(0, open);
  if (name.empty()) return 606;
  // The first occurrence of the name with no letter on either side.
  size_t at = text.find(name);
  while (at != Text::npos) {
    bool before = at == 0 || !IsLetter(text[at - 1]);
    size_t after = at + name.size();
    bool behind = after >= text.size() || !IsLetter(text[after]);
    if (before && behind) break;
    at = text.find(name, at + 1);
  }
  if (at == Text::npos) return 0;

  size_t pos = at + name.size();
  if (pos >= text.size() || text[pos] != u'[') return 606;
  // Arguments separated by the commas at the call's own bracket level, up to its "]".
  int depth = 0;
  int argCount = 0;
  Text arg;
  size_t i = pos + 1;
  bool closed = false;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'[' || c == u'{' || c == u'(') ++depth;
    if (depth == 0 && (c == u',' || c == u']')) {
      ++argCount;
      if (argCount > k) return 606;
      Macros.MacroArgPairs[argCount].Placeholder = Text(1, header[open + 2 * argCount - 1]);
      Macros.MacroArgPairs[argCount].Argument = arg;
      arg.clear();
      if (c == u']') {
        closed = true;
        break;
      }
      continue;
    }
    if (c == u']' || c == u'}' || c == u')') --depth;
    arg += c;
  }
  if (!closed || argCount != k) {
    for (auto& pair : Macros.MacroArgPairs) pair = MacroArgPair{};
    return 606;
  }
  Macros.CallStart = static_cast<long>(at) + 1;
  Macros.CallLength = static_cast<long>(i - at + 1);
  found = kTrue;
  return 0;
}

int16_t ApplyMacros(const Text& text, Text& result) {
  if (!MacroCallsDefined(text)) return 605;
  Text work;
  DetokenizeNames(text, work);
  bool substituted = false;
  int count = Tables.MacroCount;
  if (count > kMaxMacros) count = kMaxMacros;
  for (int pass = 0;; ++pass) {
    bool changed = false;
    for (int m = count; m >= 1; --m) {
      const MacroRec& macro = Tables.MacroTable[m];
      int16_t found = kFalse;
      if (const int16_t msgNo = SubstituteMacroCall(work, macro.Header, found); msgNo != 0) {
        return msgNo;
      }
      if (!found) continue;
      Text body = PutArguments(macro.Body);
      work = work.substr(0, static_cast<size_t>(Macros.CallStart - 1)) + body +
             work.substr(static_cast<size_t>(Macros.CallStart - 1 + Macros.CallLength));
      changed = true;
      substituted = true;
    }
    if (!changed) break;
    if (pass + 1 >= kMaxMacroPasses || work.size() > kMaxMacroText) return 606;
  }
  result = substituted ? work : text;
  return 0;
}

int16_t ExpandMacros() {
  if (Tables.VecCount < 1 || Tables.VecCount > kMaxVectors) return 0;
  VecRec& rec = Tables.VecTable[Tables.VecCount];
  Text result;
  if (const int16_t msgNo = ApplyMacros(rec.DefText, result); msgNo != 0) return msgNo;
  rec.DefText = result;
  return 0;
}

}  // namespace ms
