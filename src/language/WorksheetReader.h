// The worksheet reader: splits the worksheet text (lines ended by CR LF) into statements and hands
// them out one at a time (the commands layer checks, classifies and compiles each). Also collects
// the legend directives ('@text@id,text2).
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// The statements of one worksheet, in order. Making it starts a reading: statement number 1, no
// statements stored, no legend entries.
class WorksheetStatements {
 public:
  // The text is not copied: it must outlive the reader (a temporary is refused).
  explicit WorksheetStatements(const rt::Text& worksheet);
  explicit WorksheetStatements(rt::Text&& worksheet) = delete;

  // The next normalised, non-empty statement. abortable: it was ended by a line break or ":" (an
  // Esc seen after it ends the reading; after one ended by a comment the reading goes on). The
  // legend directive of a comment is read before the statement the comment ends. False at the end
  // of the text, or at "_" outside a comment (MsgNo() then 1).
  bool Next(rt::Text& statement, bool& abortable);

  // 0, or 1 when the reading stopped at "_".
  int16_t MsgNo() const { return msgNo_; }
  // Once Next returned false: the text the error box shows (for "_" the statement that holds it,
  // as far as its end; otherwise what was left unread).
  const rt::Text& StmtText() const { return stmtText_; }

 private:
  const rt::Text& ws_;
  long i_ = 1;
  rt::Text buffer_;
  rt::Text stmtText_;
  int16_t msgNo_ = 0;
};

// Writes "*" where a multiplication is implied in the part after the first "="; a statement
// without "=" comes back unchanged.
rt::Text InsertImplicitMultiply(const rt::Text& s);

// Blanks removed, implied multiplications written out, "(-" written "(0-". What blanks part stays
// apart: a letter and a built-in name (A Sin[x] is not ASin[x], see KeepNamesApartFromLetters), a
// number and an "e" after it (2 e-1 is 2*e-1, while 2e-1 is a number written with "e").
rt::Text NormaliseStatement(const rt::Text& buffer);

}  // namespace ms
