#pragma once
#include <string>
#include <string_view>
#include <vector>

// The fortune file format: texts separated by lines holding only "%".
namespace vqsig {

// The texts of a fortune file, in file order, each with its lines joined by CR LF. Lines end
// at LF or CR LF (a last line may have no end). The empty lines before and after a text's
// first and last non-empty line are not part of it, and a text left empty is dropped, as
// fortune itself never shows one.
std::vector<std::string> FortuneTexts(std::string_view file);

// One text as a fortune file holds it: its CR LF line breaks as LF, then LF, "%" and LF.
std::string FortuneEntry(std::string_view text);

} // namespace vqsig
