#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

// One record of a signature database (".sigs"): byte 0 is not part of the text, bytes 1 to
// 512 hold the text followed by a NUL when it is shorter than 512 characters, and whatever
// follows the NUL is left over from earlier records. Files have no header: record k starts
// at byte k * 513.
constexpr std::size_t SignatureRecordSize = 513;
constexpr std::size_t SignatureTextCapacity = SignatureRecordSize - 1;

using SignatureRecord = std::array<char, SignatureRecordSize>;

// The text of a record: from byte 1 up to the first NUL, at most 512 characters.
std::string TextOfRecord(const SignatureRecord& record);

// The lines joined by CR LF: the text a record holds for them.
std::string RecordText(const std::vector<std::string>& lines);

// Copies RecordText(lines), followed by one NUL, into the record from byte 1 on, as far as
// they fit. Byte 0 and the bytes after the NUL keep what they held.
void FillRecord(SignatureRecord& record, const std::vector<std::string>& lines);
