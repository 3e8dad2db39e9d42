#pragma once
#include "tests/common/DialogAnswerer.h"

#include "tests/common/FormProbes.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

// A real main window made in the test's process, with its registry key removed before and
// after, a scratch folder for databases, and every dialog it opens answered by `dialogs`.
// Errors are reported as dialogs (the error-balloon box is off), so the answerer sees them.
class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in the scratch folder.
    std::string PathOf(const std::string& name) const { return folder_ + name; }
    // Writes a database file holding one record per text.
    void WriteDatabase(const std::string& path, const std::vector<std::string>& texts) const;
    static std::optional<std::string> FileBytes(const std::string& path);
    // The texts of a database file's records, read as the program reads them.
    static std::vector<std::string> RecordTexts(const std::string& path);

    // Types the text into the signature field as keystrokes (CR LF as Enter).
    void Type(const std::string& text);

    std::unique_ptr<testcommon::DialogAnswerer> dialogs;
    ProgramServices services; // outlives the window, as in the program
    std::unique_ptr<TForm1> form;

private:
    std::string folder_;
};
