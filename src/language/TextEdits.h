// Small edits of statement text: the "(-" rewrite.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// dst := src without blanks and with every "(-" written "(0-".
void FixLeadingMinus(const rt::Text& src, rt::Text& dst);

}  // namespace ms
