// Start-up of the program's shared state: every table, setting, request, scene and module state
// group back to its start-up values and the built-in names filled. The worksheet window runs it
// when it loads; tests run it so that each starts clean. Also the clears of Execute, Clear Results
// and Clear Work Sheet, which reach the tables, the scene and the integral curves.
#pragma once

namespace ms {

// Restores the whole start-up state.
void ResetProgramState();

// Everything a run builds: the tables' constants, functions, call list, vectors, macros and values
// (ClearRunTables), the segment marks of the scene, then the scene's vertex and segment counts.
// StatementList and the built-in names are not touched. Execute, Clear Results and Clear Work
// Sheet run it.
void ClearAll();

// Execute, before the worksheet is read: the command requests (ClearCommandRequests), the chain
// of integral curves and the last integral computed.
void ClearRequestsForExecute();

}  // namespace ms
