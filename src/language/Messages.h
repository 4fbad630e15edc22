// The message catalogue: every error of the worksheet language, the plot builders and the
// numerical commands is a 16-bit message number (0 = success); this module turns a number into the
// text the user reads, and shows a statement's error box.
#pragma once

#include <cstdint>
#include <span>

#include "platform/runtime/Runtime.h"

namespace ms {

struct MessageEntry {
  int16_t number;
  const char16_t* text;  // lines joined with CR LF
};

// The catalogue as listed for the user (number 229 included, whose text is shown in a box of its
// own). Sorted by number.
std::span<const MessageEntry> MessageCatalogue();
// Messages of this program beyond the catalogue (full tables, a call with the wrong number of
// values, expressions beyond capacity, plot commands' refusals), kept apart from the catalogue.
// Sorted by number.
std::span<const MessageEntry> CapacityMessages();

// Text of 229's own box: shown by GetMessageText, which then returns "".
extern const char16_t* const kMessage229BoxText;

// The text of a message number. 229 shows its own box (OK button, no title of its own) and returns
// "". A number without a text gets " MSG # <n> not found. Please contact author ...".
rt::Text GetMessageText(int16_t msgNo);

// The error box of a statement, titled "Syntax Error" (exclamation icon, OK): "Statement # ",
// stmtNo, " : ", the statement without "_" and with built-in names spelled out, CR LF, msgNo,
// " : ", the message text.
void DispError(int16_t stmtNo, int16_t msgNo, const rt::Text& stmtText);

}  // namespace ms
