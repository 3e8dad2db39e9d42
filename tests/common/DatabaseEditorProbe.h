#pragma once
// The tests' view of the database editor's controls and handlers (its friend).
#include "ui/DatabaseEditor.h"

class DatabaseEditorProbe {
public:
    explicit DatabaseEditorProbe(DatabaseEditor& editor)
        : SigMemo(editor.SigMemo), DBFileEdit(editor.DBFileEdit), btnOpen(editor.btnOpen),
          btnClose(editor.btnClose), btnNew(editor.btnNew), btnPost(editor.btnPost), btnDelete(editor.btnDelete),
          btnFirst(editor.btnFirst), btnPrevious(editor.btnPrevious), btnNext(editor.btnNext),
          btnLast(editor.btnLast), btnSet(editor.btnSet), Banner(editor.Banner), editor_(editor)
    {
    }

    toolkit::Memo& SigMemo;
    toolkit::Edit& DBFileEdit;
    toolkit::Button& btnOpen;
    toolkit::Button& btnClose;
    toolkit::Button& btnNew;
    toolkit::Button& btnPost;
    toolkit::Button& btnDelete;
    toolkit::Button& btnFirst;
    toolkit::Button& btnPrevious;
    toolkit::Button& btnNext;
    toolkit::Button& btnLast;
    toolkit::Button& btnSet;
    toolkit::Image& Banner;

    // The moves' handlers themselves, so the end rules hold even for a button pressed at its end.
    void btnFirstClick() { editor_.btnFirstClick(); }
    void btnPreviousClick() { editor_.btnPreviousClick(); }
    void btnNextClick() { editor_.btnNextClick(); }
    void btnLastClick() { editor_.btnLastClick(); }
    void OpenFromList(const std::string& path) { editor_.OpenFromList(path); }

private:
    DatabaseEditor& editor_;
};
