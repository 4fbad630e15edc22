// Start-up of the program's shared state: every table, setting, request, scene and module state
// group back to its start-up values, the built-in names filled and the worksheet reader connected
// to its checking, classification and compile steps. The worksheet window runs it when it loads;
// tests run it so that each starts clean.
#pragma once

namespace ms {

// Connects the worksheet reader to the checker, classification and compiler, and classification
// to the commands it runs (Plot[, Zero[, Integ[, dblInt[).
void InstallStatementPipeline();

// Restores the whole start-up state (and installs the statement pipeline).
void ResetProgramState();

}  // namespace ms
