#include "awt/Component.h"

#include <exception>

#include "awt/AWTException.h"
#include "awt/Container.h"
#include "awt/TextMetrics.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "klib/Exception.h"

namespace awt {

namespace {

constexpr COLORREF SYSTEM_COLOR = 0xFFFFFFFF;
constexpr UINT REDRAW_NOW = RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;

[[noreturn]] void throwWin32(const wchar_t* message, DWORD error) {
    throw AWTException(message, static_cast<int>(error));
}

// Win32 reports the focus, hover and paint messages it sends synchronously through our own window
// procedures; what they parked is thrown here, in our own frames.
void rethrowParked() {
    Toolkit::rethrowParked();
}

}  // namespace

Component::Component()
    : x(0),
      y(0),
      width(0),
      height(0),
      foreground(SYSTEM_COLOR),
      background(SYSTEM_COLOR),
      parent(nullptr),
      cachedToolkit(nullptr),
      state(VISIBLE | ENABLED),
      clientOffset{-1, -1},
      hovered(false),
      queuedToolkit(nullptr) {}

Component::~Component() noexcept(false) {
    if (queuedToolkit != nullptr) {
        // The idle step must never reach a deleted component.
        queuedToolkit->cancelPending(this);
    }
    if (handle != nullptr) {
        // Unbound first, so the destruction messages the base causes go to DefWindowProcW only.
        try {
            unbindWindow(handle);
        } catch (const klib::Exception& failure) {
            if (std::uncaught_exceptions() == 0) {
                throw;
            }
            klib::reportIgnoredFailure(L"~Component(): " + failure.toString());
        }
    }
}

Toolkit* Component::getToolkit() {
    if (parent == nullptr) {
        return Toolkit::forCurrentThread();
    }
    if (cachedToolkit == nullptr) {
        cachedToolkit = parent->getToolkit();
    }
    return cachedToolkit;
}

const wchar_t* Component::getWindowText() const {
    return nullptr;
}

DWORD Component::getStyle() const {
    DWORD style = WS_CLIPSIBLINGS;
    if (isVisible()) {
        style |= WS_VISIBLE;
    }
    if (!isEnabled()) {
        style |= WS_DISABLED;
    }
    if (isChild()) {
        style |= WS_CHILD;
    }
    return style;
}

DWORD Component::getExStyle() const {
    return WS_EX_NOPARENTNOTIFY;
}

HWND Component::createWindow() {
    const Point location = toPeerLocation(x, y);
    // The order of the four calls is part of the contract with subclasses.
    const DWORD style = getStyle();
    const wchar_t* const text = getWindowText();
    const wchar_t* const className = getClassName();
    const DWORD exStyle = getExStyle();
    const HWND parentWindow = parent != nullptr ? parent->getHandle() : nullptr;
    const HWND window = CreateWindowExW(exStyle, className, text, style, location.x, location.y, width, height,
                                        parentWindow, nullptr, Toolkit::getInstanceHandle(), nullptr);
    const DWORD error = GetLastError();
    if (window == nullptr) {
        rethrowParked();
        throwWin32(L"::CreateWindowEx() failed", error);
    }
    try {
        rethrowParked();
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

void Component::initWindow() {
    const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    if (font == nullptr) {
        return;
    }
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    rethrowParked();
}

void Component::fontChanged() {}

LRESULT Component::handleCommand(WORD, WPARAM, bool*) {
    return 0;
}

LRESULT Component::handleNotify(UINT, NMHDR*, bool*) {
    return 0;
}

LRESULT Component::handleScroll(WPARAM, WORD, bool*) {
    return 0;
}

bool Component::isChild() const {
    return true;
}

Point Component::toPeerLocation(int px, int py) {
    if (isChild() && parent != nullptr) {
        const Point offset = parent->getClientOffset();
        return Point{px - offset.x, py - offset.y};
    }
    return Point{px, py};
}

void Component::setLocation(int newX, int newY) {
    if (newX == x && newY == y) {
        return;
    }
    const int oldX = x;
    const int oldY = y;
    x = newX;
    y = newY;
    if (handle == nullptr) {
        return;
    }
    const Point location = toPeerLocation(x, y);
    setWindowPos(nullptr, location.x, location.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    if (parent != nullptr && isChild()) {
        parent->repaintRect(oldX, oldY, width, height);
    }
    repaint(0, 0, width, height);
}

void Component::setSize(int newWidth, int newHeight) {
    if (newWidth == width && newHeight == height) {
        return;
    }
    const int oldWidth = width;
    const int oldHeight = height;
    width = newWidth;
    height = newHeight;
    if (handle == nullptr) {
        return;
    }
    setWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    repaintParentShrunkStrips(oldWidth, oldHeight);
    invalidate();
    repaintGrownStrips(oldWidth, oldHeight);
}

void Component::setBounds(int newX, int newY, int newWidth, int newHeight) {
    const bool moved = newX != x || newY != y;
    const bool resized = newWidth != width || newHeight != height;
    if (!moved && !resized) {
        return;
    }
    const Rectangle old = getBounds();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    if (handle == nullptr) {
        return;
    }
    const Point location = toPeerLocation(x, y);
    setWindowPos(nullptr, location.x, location.y, width, height, SWP_NOZORDER | SWP_NOREDRAW);
    if (parent != nullptr && isChild()) {
        parent->repaintRect(old.x, old.y, old.width, old.height);
    }
    if (resized) {
        invalidate();
    }
    if (moved) {
        repaint(0, 0, width, height);
    } else {
        repaintGrownStrips(old.width, old.height);
    }
}

void Component::repaintParentShrunkStrips(int oldWidth, int oldHeight) {
    if (parent == nullptr || !isChild()) {
        return;
    }
    // Each strip spans the larger of the old and new extent, so the corner uncovered when both
    // dimensions shrink is repainted as well.
    if (width < oldWidth) {
        parent->repaintRect(x + width, y, oldWidth - width, oldHeight > height ? oldHeight : height);
    }
    if (height < oldHeight) {
        parent->repaintRect(x, y + height, oldWidth > width ? oldWidth : width, oldHeight - height);
    }
}

void Component::repaintGrownStrips(int oldWidth, int oldHeight) {
    if (width > oldWidth) {
        repaint(oldWidth, 0, width - oldWidth, height);
    }
    if (height > oldHeight) {
        repaint(0, oldHeight, width, height - oldHeight);
    }
}

Dimension Component::getMinimumSize() const {
    return Dimension{0, 0};
}

Dimension Component::getMaximumSize() const {
    return Dimension{32000, 32000};
}

void Component::setVisibleFlag(bool visible) noexcept {
    if (visible) {
        state |= VISIBLE;
    } else {
        state &= static_cast<unsigned char>(~VISIBLE);
    }
}

void Component::setVisible(bool visible) {
    if (isVisible() == visible) {
        return;
    }
    setVisibleFlag(visible);
    if (handle == nullptr) {
        return;
    }
    if (visible) {
        ShowWindow(handle, SW_SHOW);
        rethrowParked();
        invalidate();
        repaint(0, 0, width, height);
    } else {
        ShowWindow(handle, SW_HIDE);
        rethrowParked();
    }
    if (parent != nullptr && isChild()) {
        parent->invalidate();
    }
}

void Component::setEnabled(bool enabled) {
    if (isEnabled() == enabled) {
        return;
    }
    if (enabled) {
        state |= ENABLED;
    } else {
        state &= static_cast<unsigned char>(~ENABLED);
    }
    if (handle != nullptr) {
        EnableWindow(handle, enabled ? TRUE : FALSE);
        rethrowParked();
    }
}

void Component::setTreeEnabled(bool enabled) {
    setEnabled(enabled);
}

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

void Component::requestFocus() {
    if (handle != nullptr) {
        SetFocus(handle);
        rethrowParked();
    }
}

void Component::addNotify() {
    if (handle != nullptr) {
        return;
    }
    const HWND window = createWindow();
    handle = window;
    try {
        bindWindow(window, this);
    } catch (...) {
        handle = nullptr;
        DestroyWindow(window);
        throw;
    }
    initWindow();
}

void Component::removeNotify() {
    if (handle == nullptr) {
        return;
    }
    if (!DestroyWindow(handle)) {
        const DWORD error = GetLastError();
        rethrowParked();
        throwWin32(L"::DestroyWindow() failed", error);
    }
    // WM_DESTROY normally cleared it already; a handler that threw before unbinding may have left it.
    handle = nullptr;
    if (queuedToolkit != nullptr) {
        queuedToolkit->cancelPending(this);
        queuedToolkit = nullptr;
    }
    cachedToolkit = nullptr;
    clientOffset.x = -1;
    backgroundBrush.release();
    rethrowParked();
}

void Component::validate() {
    clientOffset.x = -1;
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
        throwWin32(L"::CreateRectRgn() failed", GetLastError());
    }
    GdiObject region(created);
    if (GetUpdateRgn(handle, created, FALSE) == ERROR) {
        throwWin32(L"::GetUpdateRgn() failed", GetLastError());
    }
    const BOOL redrawn = RedrawWindow(handle, nullptr, created, REDRAW_NOW);
    const DWORD error = GetLastError();
    rethrowParked();
    if (!redrawn) {
        throwWin32(L"::RedrawWindow() failed", error);
    }
    region.release();
}

bool Component::isShowing() const {
    if (handle == nullptr || !IsWindowVisible(handle)) {
        return false;
    }
    POINT origin{0, 0};
    if (!ClientToScreen(handle, &origin)) {
        return false;
    }
    const HWND top = WindowFromPoint(origin);
    rethrowParked();
    return top == handle;
}

bool Component::hasTabStop() const {
    // Child windows only: for a top-level window the bit is WS_MAXIMIZEBOX.
    return isChild() && handle != nullptr && (GetWindowLongPtrW(handle, GWL_STYLE) & WS_TABSTOP) != 0;
}

Window* Component::getTopLevelWindow() {
    if (!isChild()) {
        return dynamic_cast<Window*>(this);
    }
    Component* ancestor = parent;
    while (ancestor != nullptr && ancestor->isChild()) {
        ancestor = ancestor->parent;
    }
    return dynamic_cast<Window*>(ancestor);
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
    if (!InvalidateRect(handle, &area, TRUE)) {
        throwWin32(L"::InvalidateRect() failed", GetLastError());
    }
    Toolkit* const toolkit = getToolkit();
    toolkit->queueUpdate(this);
    queueIn(toolkit);
}

void Component::setWindowText(const wchar_t* text) {
    const BOOL done = SetWindowTextW(handle, text);
    const DWORD error = GetLastError();
    rethrowParked();
    if (!done) {
        throwWin32(L"::SetWindowText() failed", error);
    }
}

HFONT Component::getFont() const {
    const LRESULT font = SendMessageW(handle, WM_GETFONT, 0, 0);
    rethrowParked();
    return reinterpret_cast<HFONT>(font);
}

void Component::setFont(HFONT font) {
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    rethrowParked();
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

void Component::addStyle(DWORD bits) {
    changeStyle(0, bits);
}

void Component::removeStyle(DWORD bits) {
    changeStyle(bits, 0);
}

void Component::changeStyle(DWORD remove, DWORD add) {
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    SetWindowLongPtrW(handle, GWL_STYLE, (style & ~static_cast<LONG_PTR>(remove)) | static_cast<LONG_PTR>(add));
    rethrowParked();
}

void Component::setWindowPos(HWND insertAfter, int px, int py, int cx, int cy, UINT flags) {
    const BOOL done = SetWindowPos(handle, insertAfter, px, py, cx, cy, flags);
    const DWORD error = GetLastError();
    rethrowParked();
    if (!done) {
        throwWin32(L"::SetWindowPos() failed", error);
    }
}

void Component::getWindowRect(RECT* rect) const {
    if (!GetWindowRect(handle, rect)) {
        throwWin32(L"::GetWindowRect() failed", GetLastError());
    }
}

void Component::getClientRect(RECT* rect) const {
    if (!GetClientRect(handle, rect)) {
        throwWin32(L"::GetClientRect() failed", GetLastError());
    }
}

void Component::screenToClient(POINT* point) const {
    if (!ScreenToClient(handle, point)) {
        throwWin32(L"::ScreenToClient() failed", GetLastError());
    }
}

Point Component::getClientOffset() {
    if (handle == nullptr) {
        return Point{0, 0};
    }
    if (clientOffset.x == -1) {
        RECT rect;
        getWindowRect(&rect);
        POINT corner{rect.left, rect.top};
        screenToClient(&corner);
        clientOffset = Point{-corner.x, -corner.y};
    }
    return clientOffset;
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
            throwWin32(L"::CreateSolidBrush() failed", GetLastError());
        }
        backgroundBrush.reset(brush);
    }
    *handled = true;
    return reinterpret_cast<LRESULT>(backgroundBrush.get());
}

void Component::addMouseListener(MouseListener* listener) {
    addListener(MouseListener::TAG, listener);
}

void Component::removeMouseListener(MouseListener* listener) {
    removeListener(MouseListener::TAG, listener);
}

void Component::addKeyListener(KeyListener* listener) {
    addListener(KeyListener::TAG, listener);
}

void Component::removeKeyListener(KeyListener* listener) {
    removeListener(KeyListener::TAG, listener);
}

void Component::addFocusListener(FocusListener* listener) {
    addListener(FocusListener::TAG, listener);
}

void Component::removeFocusListener(FocusListener* listener) {
    removeListener(FocusListener::TAG, listener);
}

void Component::addListener(const wchar_t* tag, EventListener* listener) {
    listeners.add(tag, listener);
}

void Component::removeListener(const wchar_t* tag, EventListener* listener) {
    listeners.remove(tag, listener);
}

}  // namespace awt
