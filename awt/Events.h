#pragma once

namespace awt {

class Component;

// Event records. Each starts with its source and a consumed flag; listeners set consumed to claim an
// event, and the firing code decides afterwards whether its own default processing still runs.

// Modifier mask of key events, read from the keyboard state when the event is built.
enum Modifier : int {
    SHIFT_MASK = 1,
    CTRL_MASK = 2,
    ALT_MASK = 4,
    WINDOWS_MASK = 8,  // either Windows key
};

// The current modifier mask: a bit is set while the high bit of GetKeyState for its key is set.
int getModifiers() noexcept;

struct ActionEvent {
    void* source;  // the firing component, menu item, or the object bound to a timer's window
    bool consumed;
};

struct FocusEvent {
    void* source;
    bool consumed;
};

struct TextEvent {
    void* source;
    bool consumed;
};

struct WindowEvent {
    void* source;
    bool consumed;
};

struct ContainerEvent {
    static constexpr int COMPONENT_ADDED = 1;
    static constexpr int COMPONENT_REMOVED = -1;

    void* source;
    bool consumed;
    int id;
    Component* child;
};

struct AdjustmentEvent {
    void* source;
    bool consumed;
    int adjustmentType;
    int value;
};

// A choice among items: the index of the item now selected.
struct ItemEvent {
    void* source;
    bool consumed;
    int item;
};

struct KeyEvent {
    static constexpr int KEY_PRESSED = 0;
    static constexpr int KEY_RELEASED = 1;
    static constexpr int KEY_TYPED = 2;

    void* source;
    bool consumed;
    int id;
    int keyCode;    // wParam of the key message: a virtual-key code, or the character when typed
    int modifiers;  // Modifier mask
};

struct MouseEvent {
    static constexpr int MOUSE_ENTERED = 0;
    static constexpr int MOUSE_EXITED = 1;
    static constexpr int MOUSE_PRESSED = 2;
    static constexpr int MOUSE_RELEASED = 3;
    static constexpr int MOUSE_DOUBLE_CLICKED = 4;

    static constexpr int NOBUTTON = 0;
    static constexpr int BUTTON_LEFT = 1;
    static constexpr int BUTTON_RIGHT = 2;
    static constexpr int BUTTON_MIDDLE = 3;

    void* source;
    bool consumed;
    int id;
    int button;
    int x;  // in the source's component coordinates
    int y;
    int clickCount;  // 0 entered/exited, 1 pressed/released, 2 double click
};

}  // namespace awt
