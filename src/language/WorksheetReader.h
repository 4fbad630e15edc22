// The worksheet reader: splits the worksheet text (lines ended by CR LF) into statements and runs
// each through the checking pipeline (syntax check and storage, classification, compilation),
// stopping at the first message. Also collects the legend directives ('@text@id,text2).
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// The steps the reader runs for every statement, in this order. A step that is not installed
// (null) is skipped.
struct StatementPipeline {
  // Each returns 0 or its message number.
  // Checks the statement and appends it to StatementList (StmtNo = CurrentStmtNo); on an error it
  // sets outText to the text the error box shows.
  int16_t (*check)(rt::Text& statement, rt::Text& outText) = nullptr;
  // Classifies the stored (tokenised) statement and stores what it defines.
  int16_t (*classify)(rt::Text& statement) = nullptr;
  // Compiles the function table.
  int16_t (*compile)(rt::Text& statement) = nullptr;
};

// Installs the steps the reader calls (copied); StatementPipeline{} removes them.
void SetStatementPipeline(const StatementPipeline& pipeline);

// Reads the worksheet. stmtText receives the text the error box shows; returns 0 or the first
// error. Events run after every classification; an abort (RunFlags.AbortRun seen then, for a
// statement ended by a line break or ":") ends the run with 0 before the statement is compiled.
[[nodiscard]] int16_t ProcessWorksheet(const rt::Text& worksheet, rt::Text& stmtText);

// Writes "*" where a multiplication is implied in the part after the first "="; a statement
// without "=" comes back unchanged.
rt::Text InsertImplicitMultiply(const rt::Text& s);

// Blanks removed, implied multiplications written out, "(-" written "(0-".
rt::Text NormaliseStatement(const rt::Text& buffer);

}  // namespace ms
