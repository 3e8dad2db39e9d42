#pragma once
#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>

namespace toolkit {

// What a file dialog shows. The filter is written as "Signature files|*.sigs|All files|*.*":
// pairs of a description and a pattern, separated by "|". The default extension is handed
// to the dialog as given. Neither dialog asks before an existing file is chosen, and
// neither requires the chosen file or its folder to exist.
struct FileDialogArgs {
    HWND owner = nullptr;
    std::string title;
    std::string filter;
    std::string defaultExtension;
    std::string fileName; // preset name
};

// The full path the user chose, or nothing when the dialog was cancelled. Throws
// std::runtime_error when the dialog cannot be shown.
std::optional<std::string> RunSaveDialog(const FileDialogArgs& args);
std::optional<std::string> RunOpenDialog(const FileDialogArgs& args);

// The dialog's set-up, built from the arguments; it owns the texts the structure points to,
// so it cannot be copied or moved.
class FileDialogSetup {
public:
    explicit FileDialogSetup(const FileDialogArgs& args);
    FileDialogSetup(const FileDialogSetup&) = delete;
    FileDialogSetup& operator=(const FileDialogSetup&) = delete;

    OPENFILENAMEA& Structure() noexcept { return dialog_; }
    // The name in the dialog's buffer: the preset before the dialog, the choice after.
    std::string FileName() const { return fileName_; }

private:
    std::string title_;
    std::string filter_; // NUL-separated, ending in two NULs
    std::string defaultExtension_;
    char fileName_[MAX_PATH] = {};
    OPENFILENAMEA dialog_{};
};

} // namespace toolkit
