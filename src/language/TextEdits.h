// Small edits of statement text and paths: the "(-" rewrite, single-character splicing and the
// file title of a path. Positions are 1-based.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// dst := src without blanks and with every "(-" written "(0-".
void FixLeadingMinus(const rt::Text& src, rt::Text& dst);

// Replaces the character at pos by the insert (text becomes its first pos - 1 characters, the
// insert, then the characters after pos). A position outside the text leaves the text unchanged.
void SpliceString(rt::Text& text, int32_t pos, const rt::Text& insert);
rt::Text ReplaceCharAt(const rt::Text& text, int16_t pos, const rt::Text& insert);

// The file name of a path without folder ("\" separated) and without the part from its first "."
// (when that "." is not the first character).
rt::Text FileTitleNoExt(const rt::Text& path);

}  // namespace ms
