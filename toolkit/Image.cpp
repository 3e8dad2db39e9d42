#include "toolkit/Image.h"

#include "toolkit/ControlStyles.h"
#include "toolkit/Jpeg.h"

namespace toolkit {

Image::Image(const ControlArgs& args)
    : Control("STATIC", WithoutTabStop(args), SS_BITMAP | SS_CENTERIMAGE)
{
}

Image::~Image()
{
    // The control only borrows the bitmap: take it back before the bitmap is deleted.
    SendMessageA(Handle(), STM_SETIMAGE, IMAGE_BITMAP, 0);
}

void Image::LoadJpeg(const unsigned char* data, size_t size)
{
    const DecodedPicture picture = DecodeJpeg(data, size);
    BitmapHandle bitmap = CreatePictureBitmap(picture);
    // The answer is the bitmap shown before, which bitmap_ still owns and deletes below.
    SendMessageA(Handle(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get()));
    bitmap_ = std::move(bitmap);
    width_ = picture.width;
    height_ = picture.height;
}

void Image::LoadJpegResource(int resourceId)
{
    const std::vector<unsigned char> data = ReadResourceData(resourceId);
    LoadJpeg(data.data(), data.size());
}

} // namespace toolkit
