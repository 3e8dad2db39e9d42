#pragma once

// Which of the database editor's controls may be used in each of its states. The window
// applies a row in one place (DatabaseEditor::ShowEditorState).
enum class EditorState {
    Closed,   // no database open
    Empty,    // a database without records: only adding makes sense
    Browsing, // a record shown; at the first or last record the moves that way are off
    Adding,   // a new record being written: only posting it, or closing
};

struct EditorControls {
    bool open;
    bool close;
    bool first;
    bool previous;
    bool next;
    bool last;
    bool newRecord;
    bool post;
    bool deleteRecord;
    bool setSignature;
    bool memo;
};

// The row for a state; atFirst and atLast matter only while browsing.
EditorControls EnabledControls(EditorState state, bool atFirst = false, bool atLast = false) noexcept;
