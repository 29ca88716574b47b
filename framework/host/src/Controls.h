// The state each built-in control class keeps.
#pragma once
#include <string>
#include <vector>

#include "WindowTable.h"

namespace hostui::detail {

struct ButtonState : ControlState {
    int check = BST_UNCHECKED;
    bool pushed = false;
    HICON icon = nullptr;
};

struct EditState : ControlState {
    int limit = 0x7FFFFFFE;
    int selStart = 0;
    int selEnd = 0;
};

struct ComboItem {
    std::string text;
    DWORD_PTR data = 0;
};

struct ComboState : ControlState {
    std::vector<ComboItem> items;
    int selection = -1;
    int limit = 0x7FFFFFFE;
    int selStart = 0;
    int selEnd = 0;
};

struct ListRow {
    std::vector<std::string> texts;
    UINT state = 0;
    LPARAM param = 0;
};

struct ListColumn {
    std::string text;
    int width = 0;
    int format = LVCFMT_LEFT;
};

struct ListViewState : ControlState {
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;
    DWORD extendedStyle = 0;
    int selectionMark = -1;
};

struct TrackbarState : ControlState {
    int min = 0;
    int max = 100;
    int pos = 0;
    int line = 1;
    int page = 20;
    int ticFrequency = 1;
};

struct ProgressState : ControlState {
    int min = 0;
    int max = 100;
    int pos = 0;
    int step = 10;
};

struct TabState : ControlState {
    std::vector<std::string> items;
    int selection = -1;
};

// The single-line edit behaviour shared by edits and the edit field of combo boxes: a typed character or
// Backspace on the text and selection; FALSE when the limit refuses the character.
bool ApplyTyping(std::string& text, int& selStart, int& selEnd, int limit, DWORD style, WPARAM ch);
int Clamp(int value, int low, int high);
// The keys a single-line edit takes from WM_KEYDOWN: Delete removes the selection or the character after
// the caret; Left, Right, Home and End move the caret (and drop the selection).
enum class EditKey { None, Moved, Changed };
EditKey ApplyEditKey(std::string& text, int& selStart, int& selEnd, UINT virtualKey);

} // namespace hostui::detail
