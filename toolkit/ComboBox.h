#pragma once
#include "toolkit/Control.h"

#include <string>
#include <vector>

namespace toolkit {

// A drop-down list: a field showing the chosen item, and the list it is chosen from; nothing
// can be typed. OnChange is raised whenever the chosen item changes: by the user (a click in
// the list, the arrow keys on the closed field), or by SetItemIndex with another item;
// SetItemIndex with the item already chosen raises nothing.
class ComboBox : public Control {
public:
    // The items in their order, none chosen. args.height is the height of the field and its
    // dropped list together; the field itself takes the height its font asks for.
    ComboBox(const ControlArgs& args, const std::vector<std::string>& items);

    int Count() const;
    std::string Item(int index) const;
    // The chosen item, or -1 when none is.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // Room for the widest item beside the arrow button, so no choice shows cut.
    int CaptionWidth(UINT dpi) const override;

    NotifyEvent OnChange;

protected:
    bool HandleCommand(WORD code) override;

private:
    int shownIndex_ = -1; // the item the last change event saw
};

} // namespace toolkit
