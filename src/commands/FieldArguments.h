// Reading the ranges and the colour letter that the field commands (slope, direction and space
// fields) share.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "language/CommandArguments.h"
#include "platform/runtime/Runtime.h"
#include "plotting/FieldTables.h"

namespace ms::field {

// The optional colour letter before the closing "]" that ends the statement: one of r, g, b, w,
// B, G becomes the letter and the reader moves past it; any other character but "]" is passed over
// and the letter is the default. closingMsg when "]" is not then the statement's last character.
[[nodiscard]] int16_t ReadColorLetterAndClose(StatementReader& r, const rt::Text& defaultLetter,
                                              std::optional<rt::Text>& letter, int16_t closingMsg);

// One range "{lo,hi,steps}" of a field command (each value a number or a constant).
struct FieldRange {
  double lo = 0, hi = 0, steps = 0;
};
// Reads a range at the reader's position: braceMsg when it does not start with "{", else the range
// reader's messages. The reader ends after the "}".
[[nodiscard]] int16_t ReadRange(StatementReader& r, int16_t braceMsg, FieldRange& range);
// orderMsg when a range does not have hi > lo, else intervalsMsg when one has no positive step
// count, else 0.
[[nodiscard]] int16_t CheckRanges(std::initializer_list<const FieldRange*> ranges, int16_t orderMsg,
                                  int16_t intervalsMsg);

// Whether `record` names a stored function (1 to FuncCount), as a function look-up leaves it.
[[nodiscard]] bool IsFunctionRecord(int16_t record);

// The worksheet function of FuncTable record `record`, called with `count` arguments through
// the temporary result constant resultName, as the field builders call it.
[[nodiscard]] FieldFunction BindFieldFunction(const rt::Text& resultName, int16_t record,
                                              int count);

}  // namespace ms::field
