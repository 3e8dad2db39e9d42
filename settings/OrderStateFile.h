#pragma once
#include "base/Handles.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// Where the order of random changes stands, in a small file of the side files' folder that
// every program changing the signature for the user maps into memory for as long as it runs
// (the program and vqsig). Reading and writing the place is then a copy in memory, with no
// call to the system at each change; and what was written is in the file for the next run
// even when the program is ended by force, as the view's pages are the file's own.
//
// The file holds one text with its length and hash. A text torn by two programs writing at
// the same instant, or a damaged file, reads as none. Where the file cannot be written (made
// read-only or immutable, held by another program, a folder in its place, a folder nobody
// may write to), the text it holds is read once, when it can be, and from the first write
// on the place is kept in memory alone, so the order still goes on for the run; Write then
// says the place was not kept, and Unkept why.
class OrderStateFile {
public:
    static constexpr std::size_t MostText = 240;

    // Opens the file, made when missing, and maps it.
    explicit OrderStateFile(const std::string& path);

    bool Mapped() const noexcept { return static_cast<bool>(view_); }
    std::string Read() const;
    // Answers whether the text is in the file for the next run; when it is not, it is held
    // in memory for this one. A text longer than MostText is not kept: std::length_error.
    bool Write(std::string_view text);
    // Why the file cannot keep the place: the system's reason; empty while it can.
    const std::string& Unkept() const noexcept { return unkept_; }

private:
    base::MappedView view_;
    std::optional<std::string> unmapped_; // the file's text as read, then the last written
    std::string unkept_;
};

// What a program says, once, when the order's place cannot be kept: a console's line, with
// the file's path and the reason; an error balloon's title, and its text, short enough for a
// balloon: the reason and the file's name.
std::string UnkeptPlaceText(const std::string& path, const std::string& reason);
inline constexpr const char* UnkeptPlaceTitle = "Cannot keep the order's place!";
std::string UnkeptPlaceBalloonText(const std::string& reason);

} // namespace settings
