// The clear routines of the worksheet tables. Each sets the fields it names to 0 or "" for every
// index of its table (the other fields keep their contents) and then sets the counter to 0.
#pragma once

#include <cstdint>

namespace ms {

void ClearStatements();  // StatementList 1..400, every field; StatementCount
void ClearConstants();   // ConstTable 1..2000: Kind, Name, ValueText, the last spare; ConstCount
void ClearFunctions();   // FuncTable 1..500, every field; FuncCount
void ClearCallList();    // CallList 1..500, every field
void ClearVectors();     // VecTable 1..100: all but the component expressions; VecCount
void ClearMacros();      // MacroTable 1..20: Header and Body; MacroCount
void ClearValueList();   // ValueList 0..100000, every field (the rows used); ValueTop

// What a run builds in the tables: constants, functions, call list, vectors, macros, values.
// StatementList and the built-in names are not touched. ClearAll (commands/ProgramState.h) clears
// the scene with them.
void ClearRunTables();

// Start-up state of the tables: ClearRunTables and ClearStatements, every entry of every table
// cleared (the fields ClearRunTables keeps included), the select-value lines, ShowValLegend,
// PlotPending, CurrentStmtNo and LiteralCount cleared. The built-in names are left alone
// (InitBuiltinNames fills them once).
void ResetWorksheetTables();

}  // namespace ms
