#include "toolkit/Image.h"

#include "toolkit/ControlStyles.h"
#include "toolkit/Jpeg.h"
#include "base/DeviceContext.h"
#include "base/SystemError.h"

#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace toolkit {

namespace {

SIZE ClientSize(HWND window)
{
    RECT client{};
    if (!GetClientRect(window, &client))
        return SIZE{0, 0};
    return SIZE{client.right, client.bottom};
}

// Whether a drawing of width a is nearer to width than one of width b: a tie goes to the
// larger, as making a picture smaller loses less than making it larger.
bool Nearer(int a, int b, int width)
{
    const int distanceA = std::abs(a - width);
    const int distanceB = std::abs(b - width);
    return distanceA < distanceB || (distanceA == distanceB && a > b);
}

// A copy of the bitmap at another size, scaled with the system's smoothing (HALFTONE), so an
// enlarged picture is soft rather than blocky and a reduced one keeps its thin lines.
BitmapHandle Resized(HBITMAP source, SIZE from, SIZE to)
{
    DecodedPicture blank;
    blank.width = to.cx;
    blank.height = to.cy;
    blank.pixels.resize(static_cast<size_t>(to.cx) * to.cy * 3);
    BitmapHandle target = CreatePictureBitmap(blank);
    const base::MemoryDc sourceDc(CreateCompatibleDC(nullptr));
    const base::MemoryDc targetDc(CreateCompatibleDC(nullptr));
    if (!sourceDc || !targetDc)
        throw std::runtime_error("The picture cannot be shown: " + base::SystemErrorText(GetLastError()));
    {
        // Each bitmap leaves its context before the target is handed out or the source deleted.
        const base::SelectedObject sourceSelected(sourceDc.Get(), source);
        const base::SelectedObject targetSelected(targetDc.Get(), target.Get());
        SetStretchBltMode(targetDc.Get(), HALFTONE);
        SetBrushOrgEx(targetDc.Get(), 0, 0, nullptr); // the system asks for it after choosing HALFTONE
        if (!StretchBlt(targetDc.Get(), 0, 0, to.cx, to.cy, sourceDc.Get(), 0, 0, from.cx, from.cy, SRCCOPY))
            throw std::runtime_error("The picture cannot be shown: " + base::SystemErrorText(GetLastError()));
    }
    return target;
}

} // namespace

Image::Image(const ControlArgs& args)
    : Control("STATIC", WithoutTabStop(args), SS_BITMAP | SS_CENTERIMAGE)
{
    Subclass(Handle());
}

Image::~Image()
{
    // The control only borrows the bitmap: take it back before the bitmap is deleted.
    SendMessageA(Handle(), STM_SETIMAGE, IMAGE_BITMAP, 0);
}

int Image::DrawingWidth() const noexcept
{
    return drawings_.empty() ? 0 : drawings_[decodedIndex_].size.cx;
}

void Image::LoadJpeg(const unsigned char* data, size_t size)
{
    std::vector<Drawing> drawings(1);
    drawings[0].jpeg.assign(data, data + size);
    Load(std::move(drawings));
}

void Image::LoadJpegResources(std::initializer_list<int> resourceIds)
{
    std::vector<Drawing> drawings;
    for (const int id : resourceIds)
        drawings.push_back(Drawing{ReadResourceData(id), SIZE{0, 0}});
    Load(std::move(drawings));
}

void Image::Load(std::vector<Drawing> drawings)
{
    if (drawings.empty())
        throw std::invalid_argument("A picture needs at least one drawing.");
    for (Drawing& drawing : drawings)
        drawing.size = JpegSize(drawing.jpeg.data(), drawing.jpeg.size());
    drawings_ = std::move(drawings);
    decoded_.Reset();
    ShowAtControlSize();
}

void Image::ShowAtControlSize()
{
    if (drawings_.empty())
        return;
    const SIZE size = ClientSize(Handle());
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < drawings_.size(); ++i)
        if (Nearer(drawings_[i].size.cx, drawings_[nearest].size.cx, size.cx))
            nearest = i;
    const bool sameDrawing = decoded_ && nearest == decodedIndex_;
    if (sameDrawing && size.cx == shownSize_.cx && size.cy == shownSize_.cy)
        return; // shown already, as the control's own resizing to its bitmap finds it
    BitmapHandle decoded;
    if (!sameDrawing) {
        const Drawing& drawing = drawings_[nearest];
        decoded = CreatePictureBitmap(DecodeJpeg(drawing.jpeg.data(), drawing.jpeg.size()));
    }
    const HBITMAP source = decoded ? decoded.Get() : decoded_.Get();
    const SIZE drawn = drawings_[nearest].size;
    BitmapHandle scaled;
    if ((size.cx != drawn.cx || size.cy != drawn.cy) && size.cx > 0 && size.cy > 0)
        scaled = Resized(source, drawn, size);
    const HBITMAP shown = scaled ? scaled.Get() : source;
    shownSize_ = scaled ? size : drawn;
    // The bitmaps shown until now go only after the control has let go of them, and the
    // members are up to date before it is told: showing may resize it, which comes back here.
    BitmapHandle previousDecoded;
    if (decoded) {
        previousDecoded = std::exchange(decoded_, std::move(decoded));
        decodedIndex_ = nearest;
    }
    const BitmapHandle previousScaled = std::exchange(scaled_, std::move(scaled));
    // The answer is the bitmap shown before, owned by the two above.
    SendMessageA(Handle(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
}

LRESULT Image::Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = PassOn(hwnd, message, wParam, lParam);
    if (message == WM_SIZE)
        ShowAtControlSize();
    return result;
}

} // namespace toolkit
