#pragma once
#include "vqsig/Invocation.h"

// Each command returns the program's exit code: 0 done, 1 failed. A failure that leaves a
// command is printed by the caller on standard error, with exit code 1.
namespace vqsig {

int Pick(const Invocation& invocation);
int CountRecords(const Invocation& invocation);
int ListRecords(const Invocation& invocation);
int AddRecord(const Invocation& invocation);
int DeleteRecord(const Invocation& invocation);
int ImportFortunes(const Invocation& invocation);
int ExportFortunes(const Invocation& invocation);

} // namespace vqsig
