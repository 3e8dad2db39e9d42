#pragma once
#include "engine/FortuneImport.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The Databases list's "Import..." and "Export...": signatures from a text file into a
// database, and a database out as a fortune file, in the window, with vqsig's own code.

// The files neither command may write: the program's own (settings::ProgramOwnFiles) and
// the database open in the editor.
std::vector<std::string> FilesNotToWrite(std::optional<std::string> databaseInEditor);

// Why a text file cannot be imported, or nothing when it can: a signature database, a file
// over 64 MiB, or one with NUL bytes in its first 4 KiB (no text). Fails as the file layer
// does when the file cannot be read.
std::optional<std::string> RefusedSource(const std::string& path);

// The one message an import ends with: "Imported 431 signatures into Quotes.sigs; 3 were
// skipped (too long)."
std::string ImportSummary(const fortunes::FortuneFileImport& counts, const std::string& database);

// "Import...": asks for a text file, then for the database to append its texts to (a new one,
// or an existing one: presetDatabase, the selected one, is offered), refuses what must not be
// read or written, imports (all or nothing, with a progress window when it takes a while)
// and says how it went. Answers the database imported into, to be listed; nothing when the
// user cancelled or nothing was imported.
std::optional<std::string> RunDatabaseImport(HWND owner, const std::string& presetDatabase,
                                             const std::vector<std::string>& ownFiles);

// "Export...": writes the database as a UTF-8 fortune file, as vqsig export does, where the
// user chooses; never over a listed database or a file of ownFiles.
void RunDatabaseExport(HWND owner, const std::string& database, const std::vector<std::string>& listed,
                       const std::vector<std::string>& ownFiles);
