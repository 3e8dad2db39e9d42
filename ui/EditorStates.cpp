#include "ui/EditorStates.h"

#include <array>
#include <cstddef>

namespace {

// clang-format off
//                                   open   close  first  prev   next   last   new    post   delete set    memo
constexpr std::array<EditorControls, 4> Rows{{
    /* Closed   */ EditorControls{true,  false, false, false, false, false, false, false, false, false, false},
    /* Empty    */ EditorControls{false, true,  false, false, false, false, true,  true,  false, false, true},
    /* Browsing */ EditorControls{false, true,  true,  true,  true,  true,  true,  true,  true,  true,  true},
    /* Adding   */ EditorControls{false, true,  false, false, false, false, false, true,  false, false, true},
}};
// clang-format on

} // namespace

EditorControls EnabledControls(EditorState state, bool atFirst, bool atLast) noexcept
{
    EditorControls row = Rows[static_cast<std::size_t>(state)];
    if (state == EditorState::Browsing) {
        row.first = row.previous = !atFirst;
        row.next = row.last = !atLast;
    }
    return row;
}
