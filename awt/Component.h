#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "awt/Events.h"
#include "awt/GdiObject.h"
#include "awt/Geometry.h"
#include "awt/ListenerList.h"
#include "awt/Listeners.h"
#include "awt/WindowProcedure.h"

namespace awt {

class Container;
class Toolkit;
class Window;

// Base of every widget. Keeps bounds, visibility, enabled state and colours whether or not the native
// window (the peer) exists; addNotify creates the peer from them, removeNotify destroys it, and setters
// update a live peer. Focus, key and mouse messages become events for the listener list (ComponentInput);
// invalidate and repaint queue work for the toolkit's idle step.
//
// Coordinates are component coordinates: the origin is the top-left corner of the whole window, frame
// included. A child's location is in its parent's component coordinates, a top-level window's in screen
// coordinates.
//
// Typical use, through a container:
//   auto* const panel = new awt::Panel();          // owned by the frame once added
//   panel->add(new awt::Label(IDS_SIZE, awt::Label::LEFT), &plain);
//   frame.add(panel, &awt::BorderLayout::CENTER);
//   frame.pack();                                  // creates the peers (addNotify) and lays out (validate)
//   frame.setVisible(true);                        // later changes invalidate(): the idle step lays out
class Component : public WindowProcedure {
public:
    Component();
    // Unbinds the peer (its last messages go to DefWindowProcW), then the base destroys it.
    ~Component() noexcept(false) override;

    // Parentless components use the thread's toolkit; children inherit their parent's.
    Toolkit* getToolkit() override;
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The window class of the peer: a name, or an atom made with MAKEINTATOM.
    virtual const wchar_t* getClassName() const = 0;
    // The text the peer is created with; null here.
    virtual const wchar_t* getWindowText() const;
    virtual DWORD getStyle() const;
    virtual DWORD getExStyle() const;
    // Creates the peer at the stored bounds. Throws "::CreateWindowEx() failed".
    virtual HWND createWindow();
    // Called once the peer is bound: gives it the default GUI font.
    virtual void initWindow();
    // Notifications the parent received from this component's control. They return 0 and leave
    // *handled false unless a subclass acts on them.
    virtual LRESULT handleCommand(WORD notifyCode, WPARAM wParam, bool* handled);
    virtual LRESULT handleNotify(UINT code, NMHDR* header, bool* handled);
    virtual LRESULT handleScroll(WPARAM wParam, WORD position, bool* handled);
    // False for top-level windows.
    virtual bool isChild() const;
    virtual void setLocation(int x, int y);
    virtual void setSize(int width, int height);
    virtual void setBounds(int x, int y, int width, int height);
    virtual Dimension getMinimumSize() const;
    // Not const: widgets measure their text with the peer's font and keep the result.
    virtual Dimension getPreferredSize() = 0;
    virtual Dimension getMaximumSize() const;
    virtual void setVisible(bool visible);
    virtual void setEnabled(bool enabled);
    // Containers pass the state on to their children as well.
    virtual void setTreeEnabled(bool enabled);
    // -1 (0xFFFFFFFF) means the system colour.
    virtual void setForeground(COLORREF color);
    virtual void setBackground(COLORREF color);
    virtual void requestFocus();
    // Creates and binds the peer if there is none.
    virtual void addNotify();
    // Destroys the peer; the component survives and can get a new one.
    virtual void removeNotify();
    // Forgets the client offset; containers also lay out their children.
    virtual void validate();
    // Requests a repaint of an area in component coordinates; containers pass it on to their children.
    virtual void repaint(int x, int y, int width, int height);
    // Repaints the pending update region at once; the toolkit calls it in its idle step.
    virtual void update();
    // The peer's font changed (setFont): widgets forget the sizes they measured with the old one.
    virtual void fontChanged();

    Container* getParent() const noexcept { return parent; }
    int getX() const noexcept { return x; }
    int getY() const noexcept { return y; }
    int getWidth() const noexcept { return width; }
    int getHeight() const noexcept { return height; }
    Point getLocation() const noexcept { return Point{x, y}; }
    Dimension getSize() const noexcept { return Dimension{width, height}; }
    Rectangle getBounds() const noexcept { return Rectangle{x, y, width, height}; }
    bool isVisible() const noexcept { return (state & VISIBLE) != 0; }
    bool isEnabled() const noexcept { return (state & ENABLED) != 0; }
    COLORREF getForeground() const noexcept { return foreground; }
    COLORREF getBackground() const noexcept { return background; }

    // The peer is visible and its top-left client pixel is not covered by another window.
    bool isShowing() const;
    bool hasTabStop() const;
    // The top-level window this component lies in; null if there is none.
    Window* getTopLevelWindow();

    // Queues layout and a repaint of the whole component (only with a visible peer).
    void invalidate();
    // Invalidates an area of this component's own window and queues the repaint.
    // Throws "::InvalidateRect() failed".
    void repaintRect(int x, int y, int width, int height);

    // Throws "::SetWindowText() failed".
    void setWindowText(const wchar_t* text);
    HFONT getFont() const;
    // Gives the peer another font and redraws it; the component measures itself again (fontChanged).
    // Laying out again is the caller's business: usually once, for the whole window. The font is not
    // owned and must outlive the peer.
    void setFont(HFONT font);
    // Measures text with the peer's current font; either output may be null.
    void measureText(const std::wstring& text, SIZE* extent, TEXTMETRICW* metrics) const;
    void addStyle(DWORD bits);
    void removeStyle(DWORD bits);
    void changeStyle(DWORD remove, DWORD add);
    // Throws "::SetWindowPos() failed".
    void setWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    // Throw "::GetWindowRect() failed", "::GetClientRect() failed", "::ScreenToClient() failed".
    void getWindowRect(RECT* rect) const;
    void getClientRect(RECT* rect) const;
    void screenToClient(POINT* point) const;
    // Where the client area starts in component coordinates; (0, 0) without a peer.
    Point getClientOffset();

    // Colours for this component's WM_CTLCOLOR* messages, asked by the parent.
    LRESULT handleControlColor(UINT msg, HDC dc, bool* handled);
    // Moves the keyboard focus to the next (or previous) enabled, showing tab stop; wraps around
    // within the top-level window.
    void transferFocus(bool forward);
    // The top-level window tells the previously hovered component that the mouse moved on.
    void mouseExited(int x, int y);

    void addMouseListener(MouseListener* listener);
    void removeMouseListener(MouseListener* listener);
    void addKeyListener(KeyListener* listener);
    void removeKeyListener(KeyListener* listener);
    void addFocusListener(FocusListener* listener);
    void removeFocusListener(FocusListener* listener);

protected:
    // Listener list: one (tag, listener) entry per registration, for every kind of listener.
    // Adding an entry that is already there does nothing.
    void addListener(const wchar_t* tag, EventListener* listener);
    // Removes every entry with this tag and listener.
    void removeListener(const wchar_t* tag, EventListener* listener);

    // Calls operation on every listener of kind L, the most recently added first, whatever the
    // consumed flag says (see ListenerList::notify).
    template <typename L, typename E>
    void notifyListeners(void (L::*operation)(E&), E& event) {
        listeners.notify(operation, event);
    }

    int x;
    int y;
    int width;
    int height;
    COLORREF foreground;
    COLORREF background;
    Container* parent;  // not owned; for a top-level window, its owner
    Toolkit* cachedToolkit;  // not owned

    // Win32 calls that send messages synchronously through our own window procedures: what those
    // parked is rethrown here.
    LRESULT sendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const;
    void showWindow(int command);
    void focusWindow();

    void setVisibleFlag(bool visible) noexcept;
    // For a peer the toolkit did not create: its client offset as its owner measured it.
    void setClientOffset(const Point& offset) noexcept { clientOffset = offset; }

private:
    friend class Container;

    static constexpr COLORREF SYSTEM_COLOR = 0xFFFFFFFF;
    static constexpr unsigned char VISIBLE = 1;
    static constexpr unsigned char ENABLED = 2;

    // The location in the parent's client coordinates, as the peer needs it.
    Point toPeerLocation(int x, int y);
    void repaintGrownStrips(int oldWidth, int oldHeight);
    void repaintParentShrunkStrips(int oldWidth, int oldHeight);
    LRESULT handleKey(UINT msg, WPARAM wParam, LPARAM lParam, int id);
    LRESULT handleMouse(UINT msg, WPARAM wParam, LPARAM lParam, bool clientArea);
    LRESULT handleFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool gained);
    void hover(int x, int y);
    void queueIn(Toolkit* toolkit) noexcept;

    unsigned char state;  // VISIBLE | ENABLED
    GdiObject backgroundBrush;  // solid brush of background, made on first need
    Point clientOffset;  // x == -1: not computed
    ListenerList listeners;
    bool hovered;
    Toolkit* queuedToolkit;  // not owned: the toolkit whose queues may hold this component
};

}  // namespace awt
