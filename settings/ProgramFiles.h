#pragma once
#include <string>
#include <vector>

namespace settings {

// The program's own files, the one list of them: the side files wherever a run of the
// program in programDirectory may keep them (the order's place among them), and the program
// and vqsig themselves, with the running program's own file. No signature, import or export
// may take the place of any of them. Decides nothing and touches nothing.
std::vector<std::string> ProgramOwnFiles(const std::string& programDirectory);

} // namespace settings
