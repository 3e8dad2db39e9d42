#pragma once
#include "base/Handles.h"

#include <cstddef>
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
// the same instant, or a damaged file, reads as none. Where the file cannot be made (a folder
// nobody may write to), the place is kept in memory alone, so the order still goes on for
// the run.
class OrderStateFile {
public:
    static constexpr std::size_t MostText = 240;

    // Opens the file, made when missing, and maps it.
    explicit OrderStateFile(const std::string& path);

    bool Mapped() const noexcept { return static_cast<bool>(view_); }
    std::string Read() const;
    // A text longer than MostText is not kept: std::length_error.
    void Write(std::string_view text);

private:
    base::MappedView view_;
    std::string unmapped_;
};

} // namespace settings
