// List views in report view: columns, rows with sub-items, selection.
#include <algorithm>
#include <cstring>

#include "Controls.h"

namespace hostui::detail {
namespace {

int CopyText(const std::string& text, LPSTR buffer, int max) {
    if (buffer == nullptr || max <= 0)
        return 0;
    int count = std::min(static_cast<int>(text.size()), max - 1);
    std::memcpy(buffer, text.data(), static_cast<size_t>(count));
    buffer[count] = '\0';
    return count;
}

void SetSubItem(ListRow& row, int subItem, const char* text) {
    if (subItem < 0)
        return;
    if (row.texts.size() <= static_cast<size_t>(subItem))
        row.texts.resize(static_cast<size_t>(subItem) + 1);
    row.texts[static_cast<size_t>(subItem)] = text != nullptr ? text : "";
}

struct StateChange {
    int item;
    UINT oldState;
    UINT newState;
};

// Applies a state change to one row (or every row for -1); in single selection, selecting a row
// deselects the others. Returns the rows that changed, for LVN_ITEMCHANGED.
std::vector<StateChange> ChangeState(ListViewState& s, DWORD style, int item, UINT state, UINT mask) {
    std::vector<StateChange> changes;
    auto apply = [&](int i, UINT newBits, UINT bitsMask) {
        ListRow& row = s.rows[static_cast<size_t>(i)];
        UINT updated = (row.state & ~bitsMask) | (newBits & bitsMask);
        if (updated != row.state) {
            changes.push_back({i, row.state, updated});
            row.state = updated;
        }
    };
    int count = static_cast<int>(s.rows.size());
    if ((style & LVS_SINGLESEL) != 0 && item >= 0 && (mask & state & LVIS_SELECTED) != 0) {
        for (int i = 0; i < count; ++i) {
            if (i != item)
                apply(i, 0, LVIS_SELECTED);
        }
    }
    if (item == -1) {
        for (int i = 0; i < count; ++i)
            apply(i, state, mask);
    } else if (item >= 0 && item < count) {
        apply(item, state, mask);
    }
    return changes;
}

} // namespace

std::shared_ptr<ControlState> MakeListViewState() {
    return std::make_shared<ListViewState>();
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = StateOf<ListViewState>(hwnd);
    if (!state)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    std::unique_lock<std::recursive_mutex> lock(TableMutex());
    ListViewState& s = *state;
    int count = static_cast<int>(s.rows.size());
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case LVM_INSERTCOLUMNA: {
        const LVCOLUMNA* column = reinterpret_cast<const LVCOLUMNA*>(lParam);
        if (column == nullptr)
            return -1;
        int at = Clamp(index, 0, static_cast<int>(s.columns.size()));
        ListColumn added;
        if ((column->mask & LVCF_TEXT) != 0 && column->pszText != nullptr)
            added.text = column->pszText;
        if ((column->mask & LVCF_WIDTH) != 0)
            added.width = column->cx;
        if ((column->mask & LVCF_FMT) != 0)
            added.format = column->fmt;
        s.columns.insert(s.columns.begin() + at, added);
        return at;
    }
    case LVM_DELETECOLUMN:
        if (index < 0 || index >= static_cast<int>(s.columns.size()))
            return FALSE;
        s.columns.erase(s.columns.begin() + index);
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        return index >= 0 && index < static_cast<int>(s.columns.size())
                   ? s.columns[static_cast<size_t>(index)].width
                   : 0;
    case LVM_SETCOLUMNWIDTH:
        if (index < 0 || index >= static_cast<int>(s.columns.size()))
            return FALSE;
        s.columns[static_cast<size_t>(index)].width = static_cast<short>(LOWORD(lParam));
        return TRUE;
    case LVM_GETCOLUMNA: {
        LVCOLUMNA* column = reinterpret_cast<LVCOLUMNA*>(lParam);
        if (column == nullptr || index < 0 || index >= static_cast<int>(s.columns.size()))
            return FALSE;
        const ListColumn& c = s.columns[static_cast<size_t>(index)];
        if ((column->mask & LVCF_TEXT) != 0)
            CopyText(c.text, column->pszText, column->cchTextMax);
        column->cx = c.width;
        column->fmt = c.format;
        return TRUE;
    }
    case LVM_INSERTITEMA: {
        const LVITEMA* item = reinterpret_cast<const LVITEMA*>(lParam);
        if (item == nullptr || item->iSubItem != 0)
            return -1;
        int at = Clamp(item->iItem, 0, count);
        ListRow row;
        if ((item->mask & LVIF_TEXT) != 0)
            SetSubItem(row, 0, item->pszText);
        if ((item->mask & LVIF_PARAM) != 0)
            row.param = item->lParam;
        if ((item->mask & LVIF_STATE) != 0)
            row.state = item->state & item->stateMask;
        s.rows.insert(s.rows.begin() + at, row);
        if (s.selectionMark >= at)
            ++s.selectionMark;
        return at;
    }
    case LVM_SETITEMA:
    case LVM_GETITEMA: {
        LVITEMA* item = reinterpret_cast<LVITEMA*>(lParam);
        if (item == nullptr || item->iItem < 0 || item->iItem >= count)
            return FALSE;
        ListRow& row = s.rows[static_cast<size_t>(item->iItem)];
        if (message == LVM_GETITEMA) {
            if ((item->mask & LVIF_TEXT) != 0) {
                size_t sub = static_cast<size_t>(item->iSubItem);
                CopyText(sub < row.texts.size() ? row.texts[sub] : "", item->pszText, item->cchTextMax);
            }
            if ((item->mask & LVIF_PARAM) != 0)
                item->lParam = row.param;
            if ((item->mask & LVIF_STATE) != 0)
                item->state = row.state & item->stateMask;
            return TRUE;
        }
        if ((item->mask & LVIF_TEXT) != 0)
            SetSubItem(row, item->iSubItem, item->pszText);
        if ((item->mask & LVIF_PARAM) != 0)
            row.param = item->lParam;
        if ((item->mask & LVIF_STATE) != 0)
            row.state = (row.state & ~item->stateMask) | (item->state & item->stateMask);
        return TRUE;
    }
    case LVM_SETITEMTEXTA: {
        const LVITEMA* item = reinterpret_cast<const LVITEMA*>(lParam);
        if (item == nullptr || index < 0 || index >= count)
            return FALSE;
        SetSubItem(s.rows[static_cast<size_t>(index)], item->iSubItem, item->pszText);
        return TRUE;
    }
    case LVM_GETITEMTEXTA: {
        LVITEMA* item = reinterpret_cast<LVITEMA*>(lParam);
        if (item == nullptr || index < 0 || index >= count)
            return 0;
        const ListRow& row = s.rows[static_cast<size_t>(index)];
        size_t sub = static_cast<size_t>(item->iSubItem);
        return CopyText(sub < row.texts.size() ? row.texts[sub] : "", item->pszText, item->cchTextMax);
    }
    case LVM_SETITEMSTATE: {
        const LVITEMA* item = reinterpret_cast<const LVITEMA*>(lParam);
        if (item == nullptr || index < -1 || index >= count)
            return FALSE;
        std::vector<StateChange> changes = ChangeState(s, style, index, item->state, item->stateMask);
        if (index >= 0 && (item->state & item->stateMask & LVIS_SELECTED) != 0)
            s.selectionMark = index;
        std::vector<LPARAM> params;
        for (const StateChange& change : changes)
            params.push_back(s.rows[static_cast<size_t>(change.item)].param);
        lock.unlock();
        for (size_t i = 0; i < changes.size(); ++i) {
            NMLISTVIEW notify{};
            notify.iItem = changes[i].item;
            notify.uNewState = changes[i].newState;
            notify.uOldState = changes[i].oldState;
            notify.uChanged = LVIF_STATE;
            notify.lParam = params[i];
            NotifyParentHeader(hwnd, &notify.hdr, LVN_ITEMCHANGED);
        }
        return TRUE;
    }
    case LVM_GETITEMSTATE:
        return index >= 0 && index < count
                   ? s.rows[static_cast<size_t>(index)].state & static_cast<UINT>(lParam)
                   : 0;
    case LVM_GETNEXTITEM: {
        UINT flags = LOWORD(lParam);
        for (int i = index < 0 ? 0 : index + 1; i < count; ++i) {
            UINT rowState = s.rows[static_cast<size_t>(i)].state;
            if (((flags & LVNI_SELECTED) == 0 || (rowState & LVIS_SELECTED) != 0) &&
                ((flags & LVNI_FOCUSED) == 0 || (rowState & LVIS_FOCUSED) != 0))
                return i;
        }
        return -1;
    }
    case LVM_GETITEMCOUNT:
        return count;
    case LVM_DELETEITEM:
        if (index < 0 || index >= count)
            return FALSE;
        s.rows.erase(s.rows.begin() + index);
        if (s.selectionMark == index)
            s.selectionMark = -1;
        else if (s.selectionMark > index)
            --s.selectionMark;
        return TRUE;
    case LVM_DELETEALLITEMS:
        s.rows.clear();
        s.selectionMark = -1;
        return TRUE;
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(s.rows.begin(), s.rows.end(),
                             [](const ListRow& r) { return (r.state & LVIS_SELECTED) != 0; });
    case LVM_GETSELECTIONMARK:
        return s.selectionMark;
    case LVM_SETSELECTIONMARK: {
        int old = s.selectionMark;
        s.selectionMark = static_cast<int>(lParam);
        return old;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD old = s.extendedStyle;
        DWORD mask = wParam != 0 ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
        s.extendedStyle = (s.extendedStyle & ~mask) | (static_cast<DWORD>(lParam) & mask);
        return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return s.extendedStyle;
    case LVM_ENSUREVISIBLE:
        return index >= 0 && index < count;
    default:
        lock.unlock();
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace hostui::detail
