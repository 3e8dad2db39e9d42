#include "toolkit/FileDialogs.h"

#include <cderr.h>

#include <cstring>
#include <stdexcept>

namespace toolkit {

FileDialogSetup::FileDialogSetup(const FileDialogArgs& args)
    : title_(args.title), filter_(args.filter), defaultExtension_(args.defaultExtension)
{
    for (char& c : filter_)
        if (c == '|')
            c = '\0';
    // The list ends with an empty string: one NUL after the last pattern, one more here
    // besides the one std::string keeps.
    filter_ += '\0';
    // A preset longer than the buffer is cut; paths of this program fit in it.
    std::strncpy(fileName_, args.fileName.c_str(), sizeof fileName_ - 1);

    dialog_.lStructSize = sizeof dialog_;
    dialog_.hwndOwner = args.owner;
    dialog_.lpstrFilter = args.filter.empty() ? nullptr : filter_.c_str();
    dialog_.nFilterIndex = 1;
    dialog_.lpstrFile = fileName_;
    dialog_.nMaxFile = sizeof fileName_;
    dialog_.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    dialog_.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    // The program keeps its own folder, so the dialog must not move the current one.
    dialog_.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
}

namespace {

using DialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);
using ErrorFunction = DWORD(WINAPI*)();

[[noreturn]] void CannotShow(DWORD error)
{
    throw std::runtime_error("The file dialog cannot be shown (error " + std::to_string(error) + ").");
}

HMODULE LoadCommonDialogs()
{
    const HMODULE library = LoadLibraryExA("comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A Windows 7 without the update that brought the flag refuses it; comdlg32 is one of
    // the system's known libraries there, which are never looked for anywhere else.
    if (!library && GetLastError() == ERROR_INVALID_PARAMETER)
        return LoadLibraryA("comdlg32.dll");
    return library;
}

// A function of the common dialogs' library, which is loaded with the first dialog rather
// than with the program: it brings the print system along (over 2 MB of the working set
// under Wine), and most runs never show a file dialog. Once loaded it stays for the run,
// as an import would.
template <typename Function>
Function CommonDialogFunction(const char* name)
{
    static const HMODULE library = LoadCommonDialogs();
    if (!library)
        CannotShow(GetLastError());
    const FARPROC function = GetProcAddress(library, name);
    if (!function)
        CannotShow(GetLastError());
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

std::optional<std::string> RunDialog(const FileDialogArgs& args, const char* dialogName)
{
    const auto run = CommonDialogFunction<DialogFunction>(dialogName);
    const auto extendedError = CommonDialogFunction<ErrorFunction>("CommDlgExtendedError");
    FileDialogSetup setup(args);
    if (run(&setup.Structure()))
        return setup.FileName();
    const DWORD failure = extendedError();
    if (failure == 0)
        return std::nullopt; // cancelled
    if (failure == FNERR_BUFFERTOOSMALL)
        throw std::runtime_error("The chosen file name is too long.");
    CannotShow(failure);
}

} // namespace

std::optional<std::string> RunSaveDialog(const FileDialogArgs& args)
{
    return RunDialog(args, "GetSaveFileNameA");
}

std::optional<std::string> RunOpenDialog(const FileDialogArgs& args)
{
    return RunDialog(args, "GetOpenFileNameA");
}

} // namespace toolkit
