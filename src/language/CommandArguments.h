// Reading a command's statement: the statement reader every command parses its arguments with
// (expected characters, function identifiers, range values), and the look-ups of a function and of
// a range constant behind it. Positions are 1-based.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>

#include "platform/runtime/Runtime.h"

namespace ms {

// A number written with "e" for its exponent (1e-3): the language writes it with "E".
inline constexpr int16_t kMsgLowerCaseExponent = 419;

// Looks the identifier up in FuncTable (exact comparison). Found: firstParm := Parm1, index := its
// entry, returns 0. Not found: firstParm := "", index unchanged, returns 57.
[[nodiscard]] int16_t FindFunction(const rt::Text& id, rt::Text& firstParm, int16_t& index);

// Gathers the characters from pos up to the terminator. When they (without enclosing parentheses)
// are numeric text: found := true, numberText := them, pos := the terminator's position; otherwise
// found := false and numberText and pos are unchanged. Numeric text means a number with at most an
// "E" exponent; one written with "e" (1e-3) gives 419. 333 when the text ends before the
// terminator, 6097 when nothing stands before it.
[[nodiscard]] int16_t ScanNumber(const rt::Text& text, int16_t& pos, rt::Text& numberText,
                                 bool& found, const rt::Text& terminator);

// Looks the identifier up among the names of ConstTable (exact), passing over a constant not
// computed. Not found: 339, index unchanged.
[[nodiscard]] int16_t FindRangeConstant(const rt::Text& id, int16_t& index);

// The value of ConstTable entry index as a range value: its value text simplified, without
// enclosing parentheses.
double RangeConstantValue(int16_t index);

// Characters that join an upper-case letter into a two-character function identifier.
inline constexpr rt::TextView kIdJoinsLower = u"[a-z]";
inline constexpr rt::TextView kIdJoinsLowerOrUnderscore = u"[a-z_]";
inline constexpr rt::TextView kIdJoinsLowerDigitOrUnderscore = u"[a-z0-9_]";

// Walks one statement from a 1-based position. Each read either succeeds (returns 0 and moves
// past what it read) or returns the message number the command gives for that place. Characters
// outside the text read as "\0", so no read goes past the statement.
class StatementReader {
 public:
  explicit StatementReader(rt::Text statement, int16_t pos = 1)
      : text_(std::move(statement)), pos_(pos) {}

  const rt::Text& Text() const { return text_; }
  long Length() const { return static_cast<long>(text_.size()); }
  int16_t Pos() const { return pos_; }
  void SetPos(int16_t pos) { pos_ = pos; }
  // Positions are 16-bit: the reader stops at the last one (a statement that long is refused by
  // the range reader).
  void Skip(int count = 1) {
    pos_ = static_cast<int16_t>(std::min<int>(pos_ + count, std::numeric_limits<int16_t>::max()));
  }
  // The character offset places after the position ("\0" outside the text).
  char16_t Peek(int offset = 0) const { return rt::CharAt(text_, long{pos_} + offset); }
  bool At(char16_t c) const { return Peek() == c; }
  bool AtUpper() const { return rt::IsUpper(Peek()); }

  // The character c at the position: moves past it and returns 0; otherwise returns msgNo and
  // stays.
  [[nodiscard]] int16_t Expect(char16_t c, int16_t msgNo);

  // A function identifier: an upper-case letter, joined by a following character of the class
  // joins into its two-character form, otherwise completed with "_". notUpperMsg (the position
  // unchanged) when no upper-case letter stands at the position.
  [[nodiscard]] int16_t ReadFunctionId(rt::Text& id, int16_t notUpperMsg,
                                       rt::TextView joins = kIdJoinsLower) {
    return ReadIdentifier(id, u"[A-Z]", joins, notUpperMsg);
  }
  // An identifier whose first character is of the class first, completed as ReadFunctionId does;
  // msgNo (the position unchanged) when the first character is not of that class.
  [[nodiscard]] int16_t ReadIdentifier(rt::Text& id, rt::TextView first, rt::TextView joins,
                                       int16_t msgNo);

  // One range value followed by the terminator: a number (in parentheses or not), or a constant
  // identifier ("[a-z]" then optionally "[a-z0-9]") with an optional "-". On success the position
  // stands after the terminator. Messages: 333 (end of text before the terminator), 6097 (nothing
  // before the terminator), 313 (no identifier), 339 (no such constant), 1220 (identifier not
  // followed by the terminator); the position stays at the value, or after the "-" or the
  // identifier where those were read.
  [[nodiscard]] int16_t ReadRangeValue(double& value, char16_t terminator);
  // Range values in turn, each but the last followed by ",", the last by its terminator; stops at
  // the first message.
  [[nodiscard]] int16_t ReadRangeValues(std::initializer_list<double*> values, char16_t last);

 private:
  rt::Text text_;
  int16_t pos_;
};

}  // namespace ms
