#pragma once
#include "toolkit/Handles.h"

#include <cstddef>
#include <vector>

namespace toolkit {

// A decoded picture: rows top to bottom, three bytes a pixel in blue, green, red order.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Decodes a JPEG held in memory. Throws std::runtime_error naming what is wrong with it.
DecodedPicture DecodeJpeg(const unsigned char* data, size_t size);
// The size of the picture a JPEG holds, read from its header alone; throws likewise.
SIZE JpegSize(const unsigned char* data, size_t size);

// A 24-bit DIB section holding the picture, for showing on a device of any depth.
BitmapHandle CreatePictureBitmap(const DecodedPicture& picture);

// A copy of the bytes of one of the program's own RCDATA resources.
// Throws std::runtime_error when the program has no such resource.
std::vector<unsigned char> ReadResourceData(int resourceId);

} // namespace toolkit
