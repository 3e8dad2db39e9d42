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

std::optional<std::string> RunDialog(const FileDialogArgs& args, BOOL(WINAPI* run)(LPOPENFILENAMEA))
{
    FileDialogSetup setup(args);
    if (run(&setup.Structure()))
        return setup.FileName();
    const DWORD failure = CommDlgExtendedError();
    if (failure == 0)
        return std::nullopt; // cancelled
    if (failure == FNERR_BUFFERTOOSMALL)
        throw std::runtime_error("The chosen file name is too long.");
    throw std::runtime_error("The file dialog cannot be shown (error " + std::to_string(failure) + ").");
}

} // namespace

std::optional<std::string> RunSaveDialog(const FileDialogArgs& args)
{
    return RunDialog(args, &GetSaveFileNameA);
}

std::optional<std::string> RunOpenDialog(const FileDialogArgs& args)
{
    return RunDialog(args, &GetOpenFileNameA);
}

} // namespace toolkit
