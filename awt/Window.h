#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "awt/Container.h"
#include "awt/Events.h"
#include "awt/Geometry.h"
#include "awt/Listeners.h"
#include "awt/Toolkit.h"

namespace awt {

class Window;

// Key of a window's accelerator table: a virtual-key code and a mask of MOD_ALT, MOD_CONTROL,
// MOD_SHIFT and MOD_WIN.
struct KeyStroke {
    int keyCode;
    int modifiers;
    bool onKeyRelease;  // false in every use; takes no part in comparisons
};

// Ordered by key code (compared unsigned), then by modifiers.
bool operator<(const KeyStroke& a, const KeyStroke& b) noexcept;
bool operator==(const KeyStroke& a, const KeyStroke& b) noexcept;

// What a window needs of a menu bar; no concrete menu bar exists in this program.
class MenuBar {
public:
    MenuBar() = default;
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;
    virtual ~MenuBar() = default;

    // Create and destroy the native menu.
    virtual void addNotify() = 0;
    virtual void removeNotify() = 0;
    virtual void setEnabled(bool enabled) = 0;

    Window* getWindow() const noexcept { return window; }
    void setWindow(Window* w) noexcept { window = w; }

private:
    Window* window = nullptr;  // not owned; set while the bar is installed
};

// A top-level popup window of the class "awt::Window". Adds an owner and the windows it owns, window
// listeners and a close operation, key accelerators active while the window is active, memory of the
// focused and hovered descendants, live re-layout while dragging, a menu-bar slot, pack and center.
class Window : public Container {
public:
    // What an unconsumed close request does.
    static constexpr int CLOSE_DO_NOTHING = 0;
    static constexpr int CLOSE_HIDE = 1;
    static constexpr int CLOSE_DISPOSE = 2;
    static constexpr int CLOSE_DISPOSE_AND_DELETE = 3;  // the window must live on the heap
    static constexpr int CLOSE_QUIT = 4;  // ends the innermost message loop with 0

    // Sees key presses of the whole window while it is active.
    class KeyAcceleratorHandler final : public MessagePreprocessor {
    public:
        explicit KeyAcceleratorHandler(Window* window) noexcept : window(window) {}
        KeyAcceleratorHandler(const KeyAcceleratorHandler&) = delete;
        KeyAcceleratorHandler& operator=(const KeyAcceleratorHandler&) = delete;

        void preprocess(const MSG* msg, bool* handled) override;

        // Keeps an existing entry for stroke.
        void add(const KeyStroke& stroke, KeyListener* listener);

    private:
        Window* window;  // not owned: the owner of this handler
        std::map<KeyStroke, KeyListener*> accelerators;  // listeners not owned
    };

    // Follows the window's component tree to remember the focused descendant and to forget components
    // that leave the tree.
    class ChildrenMonitor : public RecursiveListener, public FocusListener {
    public:
        explicit ChildrenMonitor(Window* window) noexcept : window(window) {}

        void attach(Component* c) override;
        void detach(Component* c) override;
        void focusGained(FocusEvent& event) override;
        void focusLost(FocusEvent& event) override;

    private:
        Window* window;  // not owned: the owner of this monitor
    };

    // Registers with owner (which may be null); the owner deletes this window with itself.
    explicit Window(Window* owner);
    // Deletes the owned windows, the last constructed first, then leaves the owner's list.
    ~Window() noexcept(false) override;

    Toolkit* getToolkit() override;
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    const wchar_t* getClassName() const override;
    DWORD getStyle() const override;
    DWORD getExStyle() const override;
    // Sets the stored bounds to the window's real rectangle. Throws "::GetWindowRect() failed".
    HWND createWindow() override;
    bool isChild() const override;
    Dimension getMinimumSize() const override;
    // Showing creates the native window (and its children and owned windows) first.
    void setVisible(bool visible) override;
    void setTreeEnabled(bool enabled) override;
    void addNotify() override;
    void removeNotify() override;

    // Takes ownership of menuBar. Throws klib::NullPointerException "menuBar".
    virtual void setMenuBar(MenuBar* menuBar);
    virtual void setAlwaysOnTop(bool alwaysOnTop);
    // The minimum tracking size while the user resizes the window.
    virtual void setMinimumSize(int width, int height);
    virtual void setDefaultCloseOperation(int operation);
    virtual void toFront();
    virtual void toBack();
    // Hides and destroys the native window; the object can be shown again.
    virtual void dispose();

    // Detaches the menu bar without deleting it; the caller owns it again.
    void removeMenuBar();
    MenuBar* getMenuBar() const noexcept { return menuBar.get(); }
    bool isAlwaysOnTop() const noexcept { return alwaysOnTop; }
    int getDefaultCloseOperation() const noexcept { return defaultCloseOperation; }
    Window* getOwner() const noexcept;
    const std::vector<Window*>& getOwnedWindows() const noexcept { return ownedWindows; }

    // Sizes the window to its preferred size, creating the native window first.
    void pack();
    // Centres on the owner, or without owner on the work area of the window's monitor.
    void center();

    void addWindowListener(WindowListener* listener);
    void removeWindowListener(WindowListener* listener);
    // The first registration of a stroke stays. Takes effect at the window's next activation.
    void addKeyAccelerator(const KeyStroke& stroke, KeyListener* listener);

    // A component of this window tells that the mouse entered it at (x, y) in its coordinates; the
    // previously hovered component gets its mouseExited.
    void setMouseOwner(Component* c, int x, int y);
    Component* getMouseOwner() const noexcept { return mouseOwner; }
    Component* getLastFocused() const noexcept { return lastFocused; }

private:
    void closeRequested();
    void notifyWindowListeners(void (WindowListener::*operation)(WindowEvent&));

    std::unique_ptr<MenuBar> menuBar;  // owned while installed
    bool alwaysOnTop;
    std::vector<Window*> ownedWindows;  // owned: deleted by ~Window, the last first
    std::unique_ptr<Dimension> minimumSize;  // null until set
    int defaultCloseOperation;
    Component* mouseOwner;  // not owned
    Component* lastFocused;  // not owned
    std::unique_ptr<ChildrenMonitor> childrenMonitor;  // made by the first addNotify
    std::unique_ptr<KeyAcceleratorHandler> keyAccelerators;  // made by the first addKeyAccelerator
};

}  // namespace awt
