#include "toolkit/Jpeg.h"

#include "base/SystemError.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstring>
#include <jpeglib.h>
#include <stdexcept>
#include <string>

namespace toolkit {

namespace {

// libjpeg ends the program on a failure unless told otherwise; this handler jumps back to
// the decoder with the library's message instead.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf recovery;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void LeaveDecoder(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->recovery, 1);
}

void IgnoreWarning(j_common_ptr)
{
    // Recoverable flaws (a truncated file, extra bytes) still give a picture worth showing.
}

// Decodes the picture, or with sizeOnly reads no further than its header and gives its
// size with no pixels.
DecodedPicture ReadJpeg(const unsigned char* data, size_t size, bool sizeOnly)
{
    // Everything the jump can skip over lives here, before setjmp: the jump returns into
    // this frame only, over libjpeg's own C frames.
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    DecodedPicture picture;
    // Changed after setjmp and read after the jump back: only a volatile object keeps a
    // value the jump can rely on.
    volatile bool created = false;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveDecoder;
    errors.manager.output_message = IgnoreWarning;
    if (setjmp(errors.recovery)) {
        if (created)
            jpeg_destroy_decompress(&info);
        throw std::runtime_error(std::string("The picture cannot be decoded: ") + errors.message);
    }
    jpeg_create_decompress(&info);
    created = true;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        throw std::runtime_error("The picture cannot be decoded: it holds no image.");
    }
    if (sizeOnly) {
        picture.width = static_cast<int>(info.image_width);
        picture.height = static_cast<int>(info.image_height);
        jpeg_destroy_decompress(&info);
        return picture;
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    try {
        picture.width = static_cast<int>(info.output_width);
        picture.height = static_cast<int>(info.output_height);
        picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.pixels.data() + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}

} // namespace

DecodedPicture DecodeJpeg(const unsigned char* data, size_t size)
{
    return ReadJpeg(data, size, false);
}

SIZE JpegSize(const unsigned char* data, size_t size)
{
    const DecodedPicture header = ReadJpeg(data, size, true);
    return SIZE{header.width, header.height};
}

BitmapHandle CreatePictureBitmap(const DecodedPicture& picture)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = picture.width;
    format.bmiHeader.biHeight = -picture.height; // rows top to bottom, as decoded
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        throw std::runtime_error("The picture cannot be shown: " + base::SystemErrorText(GetLastError()));
    // DIB rows are padded to whole 4-byte words.
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    const size_t stride = (rowBytes + 3) & ~static_cast<size_t>(3);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(static_cast<unsigned char*>(bits) + y * stride, picture.pixels.data() + y * rowBytes, rowBytes);
    return bitmap;
}

std::vector<unsigned char> ReadResourceData(int resourceId)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found)
        throw std::runtime_error("Resource " + std::to_string(resourceId) + " is missing: " +
                                 base::SystemErrorText(GetLastError()));
    const HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw std::runtime_error("Resource " + std::to_string(resourceId) + " cannot be read: " +
                                 base::SystemErrorText(GetLastError()));
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

} // namespace toolkit
