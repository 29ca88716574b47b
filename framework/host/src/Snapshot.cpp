#include "hostui/Snapshot.h"

#include "Controls.h"
#include "MessageQueue.h"

namespace hostui {

using namespace detail;

HWND FindTopWindow(const std::string& title, const std::string& className) {
    return ::FindWindowA(className.empty() ? nullptr : className.c_str(), title.c_str());
}

HWND FindControl(HWND dialog, int id) {
    return ::GetDlgItem(dialog, id);
}

ControlSnapshot ReadControl(HWND dialog, int id) {
    return ReadControl(::GetDlgItem(dialog, id));
}

ControlSnapshot ReadControl(HWND control) {
    ControlSnapshot snapshot;
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(control);
    if (w == nullptr)
        return snapshot;
    snapshot.exists = true;
    snapshot.className = w->className;
    snapshot.text = w->text;
    snapshot.id = w->id;
    snapshot.style = w->style;
    snapshot.exStyle = w->exStyle;
    snapshot.rect = w->rect;
    snapshot.font = DescribeFont(w->font);
    snapshot.enabled = (w->style & WS_DISABLED) == 0;
    snapshot.visible = ::IsWindowVisible(control) != FALSE;
    if (auto button = std::dynamic_pointer_cast<ButtonState>(w->state)) {
        snapshot.checked = button->check;
    } else if (auto edit = std::dynamic_pointer_cast<EditState>(w->state)) {
        snapshot.limit = edit->limit;
    } else if (auto combo = std::dynamic_pointer_cast<ComboState>(w->state)) {
        for (const ComboItem& item : combo->items)
            snapshot.items.push_back(item.text);
        snapshot.selection = combo->selection;
        snapshot.limit = combo->limit;
        if ((w->style & 0x3) == CBS_DROPDOWNLIST)
            snapshot.text =
                combo->selection >= 0 ? combo->items[static_cast<size_t>(combo->selection)].text : "";
    } else if (auto list = std::dynamic_pointer_cast<ListViewState>(w->state)) {
        for (const ListColumn& column : list->columns) {
            snapshot.columns.push_back(column.text);
            snapshot.columnDetails.push_back(ListColumnSnapshot{column.text, column.width, column.format});
        }
        snapshot.extendedStyle = list->extendedStyle;
        for (size_t i = 0; i < list->rows.size(); ++i) {
            std::vector<std::string> texts = list->rows[i].texts;
            texts.resize(std::max(texts.size(), list->columns.size()));
            snapshot.items.push_back(texts.empty() ? "" : texts.front());
            snapshot.rows.push_back(std::move(texts));
            if (snapshot.selection < 0 && (list->rows[i].state & LVIS_SELECTED) != 0)
                snapshot.selection = static_cast<int>(i);
        }
    } else if (auto slider = std::dynamic_pointer_cast<TrackbarState>(w->state)) {
        snapshot.rangeMin = slider->min;
        snapshot.rangeMax = slider->max;
        snapshot.pos = slider->pos;
        snapshot.lineSize = slider->line;
        snapshot.pageSize = slider->page;
        snapshot.ticFrequency = slider->ticFrequency;
    } else if (auto progress = std::dynamic_pointer_cast<ProgressState>(w->state)) {
        snapshot.rangeMin = progress->min;
        snapshot.rangeMax = progress->max;
        snapshot.pos = progress->pos;
    } else if (auto tab = std::dynamic_pointer_cast<TabState>(w->state)) {
        snapshot.items = tab->items;
        snapshot.selection = tab->selection;
    }
    return snapshot;
}

HWND CurrentSheetPage(HWND sheet) {
    return ::IsWindow(sheet) ? reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0))
                             : nullptr;
}

std::vector<std::string> SheetTabs(HWND sheet) {
    HWND tab =
        ::IsWindow(sheet) ? reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0)) : nullptr;
    return ReadControl(tab).items;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    Window* w = FindWindowRecord(parent);
    return w != nullptr ? w->children : std::vector<HWND>();
}

std::vector<std::pair<UINT_PTR, UINT>> WindowTimers(HWND hwnd) {
    return TimersOf(hwnd);
}

size_t WindowCount() {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    return AllWindows().size();
}

} // namespace hostui
