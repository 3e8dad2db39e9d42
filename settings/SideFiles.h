#pragma once
#include <string>
#include <vector>

// The side files: the database list ("sigs.list"), the static text ("static.sig.qmz") and
// where the order of changes stands ("order.state", OrderStateFile.h), beside the program or
// in the user's own folder (SettingsPlaces.h decides). Failures are
// base::FileAccessError (WholeFile.h); a missing file is the caller's to skip (FileExists) before
// loading.
namespace settings {

inline constexpr const char* DatabaseListFileName = "sigs.list";
inline constexpr const char* StaticTextFileName = "static.sig.qmz";
inline constexpr const char* OrderStateFileName = "order.state";
inline constexpr const char* SideFileNames[] = {DatabaseListFileName, StaticTextFileName, OrderStateFileName};

// The side file's path in folder (base::JoinPath).
std::string SideFilePath(const std::string& folder, const std::string& fileName);

// One entry per line (base::SplitLines): lines end at CR, LF or CR LF, and a last line
// without a line break is still an entry. Blank lines (empty, or blanks and tabs only) are
// no entries.
std::vector<std::string> LoadList(const std::string& path);

// Every entry followed by CR LF, the last one included; an empty list is an empty file.
std::string JoinLines(const std::vector<std::string>& lines);
void SaveList(const std::string& path, const std::vector<std::string>& lines);

// The text up to its first NUL, with every lone CR and lone LF made a CR LF: what the
// static-text field shows.
std::string FieldText(const std::string& bytes);
std::string LoadStaticText(const std::string& path);

// The text exactly as the field holds it, nothing added.
void SaveStaticText(const std::string& path, const std::string& text);

} // namespace settings
