#pragma once
#include "toolkit/Control.h"
#include "toolkit/Handles.h"

namespace toolkit {

// A picture decoded from a JPEG at run time, shown at its own size in the middle of the
// control (a control of the picture's size shows exactly the picture). Never a tab stop.
class Image : public Control {
public:
    explicit Image(const ControlArgs& args);
    ~Image() override;

    // Decodes and shows a JPEG; throws std::runtime_error when it cannot be decoded.
    void LoadJpeg(const unsigned char* data, size_t size);
    // Likewise from one of the program's RCDATA resources.
    void LoadJpegResource(int resourceId);

    int PictureWidth() const noexcept { return width_; }
    int PictureHeight() const noexcept { return height_; }

private:
    BitmapHandle bitmap_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace toolkit
