#pragma once

#include "awt/Events.h"

namespace awt {

// Common root of the listener interfaces, so one list can hold listeners of every kind next to their
// tag. Convert with static_cast through the concrete interface (a class may implement several).
// The destructor may throw so that components, whose destructors report a failed release by
// throwing, can implement listener interfaces themselves.
class EventListener {
public:
    virtual ~EventListener() noexcept(false) = default;
};

// Each interface's TAG names its kind in a component's listener list; equal tags mean the same kind.

class ActionListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::ActionListener";
    virtual void actionPerformed(ActionEvent& event) = 0;
};

class AdjustmentListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::AdjustmentListener";
    virtual void adjustmentValueChanged(AdjustmentEvent& event) = 0;
};

class ContainerListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::ContainerListener";
    virtual void componentAdded(ContainerEvent& event) = 0;
    virtual void componentRemoved(ContainerEvent& event) = 0;
};

class FocusListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::FocusListener";
    virtual void focusGained(FocusEvent& event) = 0;
    virtual void focusLost(FocusEvent& event) = 0;
};

class ItemListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::ItemListener";
    virtual void itemStateChanged(ItemEvent& event) = 0;
};

class KeyListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::KeyListener";
    virtual void keyPressed(KeyEvent& event) = 0;
    virtual void keyReleased(KeyEvent& event) = 0;
    virtual void keyTyped(KeyEvent& event) = 0;
};

class MouseListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::MouseListener";
    virtual void mouseEntered(MouseEvent& event) = 0;
    virtual void mouseExited(MouseEvent& event) = 0;
    virtual void mousePressed(MouseEvent& event) = 0;
    virtual void mouseReleased(MouseEvent& event) = 0;
    virtual void mouseDoubleClicked(MouseEvent& event) = 0;
};

class TextListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::TextListener";
    virtual void textValueChanged(TextEvent& event) = 0;
};

class WindowListener : public EventListener {
public:
    static constexpr const wchar_t* TAG = L"awt::WindowListener";
    virtual void windowActivated(WindowEvent& event) = 0;
    virtual void windowDeactivated(WindowEvent& event) = 0;
    virtual void windowClosing(WindowEvent& event) = 0;
    virtual void windowClosed(WindowEvent& event) = 0;
};

}  // namespace awt
