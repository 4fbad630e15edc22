// Text helpers shared by the benchmark programs.
#pragma once

#include <string>

#include "platform/runtime/Runtime.h"
#include "platform/ui/ScriptedUiServices.h"

namespace bench {

inline rt::Text Ascii(const std::string& s) {
  return rt::Text(s.begin(), s.end());
}

// The first box the scripted screen recorded, on one line (a benchmark's error is one line of its
// report); "" when there was none.
inline std::string FirstBox(const ui::ScriptedUiServices& screen) {
  if (screen.boxes.empty()) return "";
  std::string text = rt::ToUtf8(screen.boxes[0].text);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace bench
