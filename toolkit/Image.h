#pragma once
#include "toolkit/Control.h"
#include "toolkit/Handles.h"

#include <initializer_list>
#include <vector>

namespace toolkit {

// A picture decoded from JPEG drawings at run time and shown filling the control. The same
// picture may come drawn at several sizes (a banner for 100 and for 200 percent): the
// control shows the drawing whose width is nearest its own, scaled smoothly to its size, so
// a control of a drawing's size shows exactly that drawing. Only the drawing in use is
// decoded. The control follows its own size. Never a tab stop.
class Image : public Control {
public:
    explicit Image(const ControlArgs& args);
    ~Image() override;

    // Shows a picture held in one JPEG; throws std::runtime_error when it cannot be decoded.
    void LoadJpeg(const unsigned char* data, size_t size);
    // Shows a picture drawn at several sizes, each a JPEG in one of the program's RCDATA
    // resources; throws std::runtime_error when one is missing or cannot be decoded.
    void LoadJpegResources(std::initializer_list<int> resourceIds);

    // The bitmap shown now.
    int PictureWidth() const noexcept { return shownSize_.cx; }
    int PictureHeight() const noexcept { return shownSize_.cy; }
    // The width of the drawing it was made from.
    int DrawingWidth() const noexcept;

protected:
    LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Drawing {
        std::vector<unsigned char> jpeg;
        SIZE size;
    };

    void Load(std::vector<Drawing> drawings);
    // Makes and shows the bitmap for the control's present size.
    void ShowAtControlSize();

    std::vector<Drawing> drawings_;
    std::size_t decodedIndex_ = 0;
    BitmapHandle decoded_;  // drawings_[decodedIndex_], decoded
    BitmapHandle scaled_;   // the decoded drawing at the control's size, when that differs
    SIZE shownSize_{0, 0};
};

} // namespace toolkit
