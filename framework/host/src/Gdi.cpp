// Brushes, fonts and device contexts as objects with no pixels: enough for a colour handler to be answered
// and a paint handler to validate its window.
#include <cstring>
#include <map>
#include <string>
#include <mutex>

#include "WindowTable.h"
#include "hostui/Snapshot.h"

namespace {

struct GdiObject {
    enum class Kind { Brush, Font, Stock } kind;
    COLORREF color = 0;
    LOGFONTA font{}; // what a font was made from
};

struct DeviceContext {
    COLORREF text = 0;
    COLORREF background = 0xFFFFFF;
    int mode = OPAQUE;
};

struct GdiState {
    std::mutex mutex;
    std::map<HGDIOBJ, GdiObject> objects;
    std::map<HDC, DeviceContext> contexts;
    ULONG_PTR next = 0x60000;
};

GdiState& Gdi() {
    static auto* state = new GdiState;
    return *state;
}

HGDIOBJ NewObject(GdiObject object) {
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    Gdi().next += 4;
    HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(Gdi().next);
    Gdi().objects[handle] = object;
    return handle;
}

HGDIOBJ Stock(int index) {
    static HGDIOBJ stock[32] = {};
    if (index < 0 || index >= 32)
        return nullptr;
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    if (stock[index] == nullptr)
        stock[index] = NewObject(GdiObject{GdiObject::Kind::Stock, 0});
    return stock[index];
}

template <class F> COLORREF WithContext(HDC hdc, F f) {
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    auto it = Gdi().contexts.find(hdc);
    return it != Gdi().contexts.end() ? f(it->second) : 0xFFFFFFFFu;
}

HDC NewContext() {
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    Gdi().next += 4;
    HDC hdc = reinterpret_cast<HDC>(Gdi().next);
    Gdi().contexts[hdc] = DeviceContext{};
    return hdc;
}

} // namespace

namespace hostui::detail {
std::string DescribeFont(HFONT font) {
    if (font == nullptr)
        return "";
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    auto it = Gdi().objects.find(font);
    if (it == Gdi().objects.end() || it->second.kind != GdiObject::Kind::Font)
        return "(no font)";
    const LOGFONTA& f = it->second.font;
    std::string text = "\"" + std::string(f.lfFaceName, strnlen(f.lfFaceName, sizeof f.lfFaceName)) +
                       "\" height " + std::to_string(f.lfHeight) + " weight " + std::to_string(f.lfWeight);
    if (f.lfItalic)
        text += " italic";
    if (f.lfUnderline)
        text += " underline";
    if (f.lfStrikeOut)
        text += " strikeout";
    return text;
}
} // namespace hostui::detail

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(NewObject(GdiObject{GdiObject::Kind::Brush, color}));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
    if (lplf == nullptr)
        return nullptr;
    return static_cast<HFONT>(NewObject(GdiObject{GdiObject::Kind::Font, 0, *lplf}));
}

int WINAPI GetObjectA(HGDIOBJ h, int c, LPVOID pv) {
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    auto it = Gdi().objects.find(h);
    if (it == Gdi().objects.end() || it->second.kind != GdiObject::Kind::Font)
        return 0;
    if (pv == nullptr)
        return static_cast<int>(sizeof(LOGFONTA));
    const int size = c < static_cast<int>(sizeof(LOGFONTA)) ? c : static_cast<int>(sizeof(LOGFONTA));
    if (size <= 0)
        return 0;
    std::memcpy(pv, &it->second.font, static_cast<size_t>(size));
    return size;
}

HGDIOBJ WINAPI GetStockObject(int i) {
    return Stock(i);
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    auto it = Gdi().objects.find(ho);
    if (it == Gdi().objects.end() || it->second.kind == GdiObject::Kind::Stock)
        return FALSE;
    Gdi().objects.erase(it);
    return TRUE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return WithContext(hdc, [&](DeviceContext& dc) {
        COLORREF old = dc.text;
        dc.text = color;
        return old;
    });
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return WithContext(hdc, [&](DeviceContext& dc) {
        COLORREF old = dc.background;
        dc.background = color;
        return old;
    });
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    return static_cast<int>(WithContext(hdc, [&](DeviceContext& dc) {
        COLORREF old = static_cast<COLORREF>(dc.mode);
        dc.mode = mode;
        return old;
    }));
}

DWORD WINAPI GetSysColor(int nIndex) {
    return nIndex == COLOR_WINDOW ? 0xFFFFFF : 0xC0C0C0;
}
HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    return static_cast<HBRUSH>(Stock(nIndex == COLOR_WINDOW ? 10 : 11));
}

HDC WINAPI BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint) {
    if (!::IsWindow(hWnd))
        return nullptr;
    HDC hdc = NewContext();
    if (lpPaint != nullptr) {
        *lpPaint = PAINTSTRUCT{};
        lpPaint->hdc = hdc;
    }
    ::ValidateRect(hWnd, nullptr);
    return hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
    if (lpPaint != nullptr)
        ::ReleaseDC(nullptr, lpPaint->hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND) {
    return NewContext();
}

int WINAPI ReleaseDC(HWND, HDC hDC) {
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    return Gdi().contexts.erase(hDC) != 0 ? 1 : 0;
}

namespace hostui {

size_t GdiObjectCount() {
    std::lock_guard<std::mutex> lock(Gdi().mutex);
    size_t count = Gdi().contexts.size();
    for (const auto& entry : Gdi().objects)
        count += entry.second.kind == GdiObject::Kind::Stock ? 0 : 1;
    return count;
}

} // namespace hostui
