#include "awt/Component.h"

#include "awt/AWTException.h"
#include "awt/Container.h"
#include "awt/GdiObject.h"
#include "awt/TextMetrics.h"
#include "awt/Toolkit.h"

// Repainting, the queued layout and update work, colours and fonts.

namespace awt {

namespace {

constexpr UINT REDRAW_NOW = RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;

}  // namespace

void Component::setForeground(COLORREF color) {
    if (color == foreground) {
        return;
    }
    foreground = color;
    repaintRect(0, 0, width, height);
}

void Component::setBackground(COLORREF color) {
    if (color == background) {
        return;
    }
    background = color;
    backgroundBrush.release();
    repaintRect(0, 0, width, height);
}

void Component::repaint(int px, int py, int pwidth, int pheight) {
    repaintRect(px, py, pwidth, pheight);
}

void Component::update() {
    if (handle == nullptr) {
        return;
    }
    HRGN const created = CreateRectRgn(0, 0, 0, 0);
    if (created == nullptr) {
        throwLastError(L"::CreateRectRgn");
    }
    GdiObject region(created);
    if (GetUpdateRgn(handle, created, FALSE) == ERROR) {
        throwLastError(L"::GetUpdateRgn");
    }
    DWORD error = 0;
    const BOOL redrawn = Toolkit::sendingMessages([&] {
        const BOOL done = RedrawWindow(handle, nullptr, created, REDRAW_NOW);
        error = GetLastError();
        return done;
    });
    if (!redrawn) {
        throwFailure(L"::RedrawWindow", error);
    }
    region.release();
}

void Component::queueIn(Toolkit* toolkit) noexcept {
    queuedToolkit = toolkit;
}

void Component::invalidate() {
    if (handle == nullptr || !isVisible()) {
        return;
    }
    Toolkit* const toolkit = getToolkit();
    toolkit->queueValidate(this);
    queueIn(toolkit);
    repaintRect(0, 0, width, height);
}

void Component::repaintRect(int px, int py, int pwidth, int pheight) {
    if (handle == nullptr || !isVisible()) {
        return;
    }
    const Point offset = getClientOffset();
    const RECT area{px - offset.x, py - offset.y, px - offset.x + pwidth, py - offset.y + pheight};
    check(InvalidateRect(handle, &area, TRUE), L"::InvalidateRect");
    Toolkit* const toolkit = getToolkit();
    toolkit->queueUpdate(this);
    queueIn(toolkit);
}

HFONT Component::getFont() const {
    return reinterpret_cast<HFONT>(sendMessage(WM_GETFONT, 0, 0));
}

void Component::setFont(HFONT font) {
    sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    fontChanged();
}

void Component::measureText(const std::wstring& text, SIZE* extent, TEXTMETRICW* metrics) const {
    const HFONT font = getFont();
    const WindowDC dc(GetDC(handle), handle);
    Selection selection = select(dc.get(), font);
    if (extent != nullptr) {
        getTextExtent(dc.get(), text.c_str(), static_cast<int>(text.size()), extent);
    }
    if (metrics != nullptr) {
        getTextMetrics(dc.get(), metrics);
    }
    selection.release();
}

LRESULT Component::handleControlColor(UINT msg, HDC dc, bool* handled) {
    if (background == SYSTEM_COLOR) {
        if (foreground == SYSTEM_COLOR || parent == nullptr) {
            return 0;
        }
        // The parent's default answer carries the system brush; only the text colour changes.
        const LRESULT brush = parent->callDefault(msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(handle));
        SetTextColor(dc, foreground);
        *handled = true;
        return brush;
    }
    if (foreground != SYSTEM_COLOR) {
        SetTextColor(dc, foreground);
    }
    SetBkColor(dc, background);
    if (backgroundBrush.get() == nullptr) {
        HBRUSH const brush = CreateSolidBrush(background);
        if (brush == nullptr) {
            throwLastError(L"::CreateSolidBrush");
        }
        backgroundBrush.reset(brush);
    }
    *handled = true;
    return reinterpret_cast<LRESULT>(backgroundBrush.get());
}

}  // namespace awt
