#include "ui/FormLayout.h"

#include <utility>

namespace layout {

toolkit::ControlArgs At(HWND form, int groupTop, int left, int top, int width, int height,
                        std::string text, DWORD style)
{
    toolkit::ControlArgs args;
    args.parent = form;
    args.left = left;
    args.top = groupTop + top;
    args.width = width;
    args.height = height;
    args.text = std::move(text);
    args.style = style;
    return args;
}

toolkit::ControlArgs Group(HWND form, int top, int height, std::string caption)
{
    return At(form, top, 0, 0, ClientWidth, height, std::move(caption), 0);
}

} // namespace layout
