#pragma once

#include <memory>
#include <vector>

#include "awt/Events.h"
#include "awt/Listeners.h"

namespace awt {

// Listener adapters that call a method without arguments of an owning object.

// What every adapter is: a listener of one kind that holds the owner and its method.
template <class T, class Listener>
class MemberAdapter : public Listener {
public:
    using Method = void (T::*)();
    MemberAdapter(T* owner, Method method) noexcept : owner(owner), method(method) {}

protected:
    void call() const { (owner->*method)(); }

private:
    T* owner;  // not owned
    Method method;
};

template <class T>
class ActionListener_mem_fun_t : public MemberAdapter<T, ActionListener> {
public:
    using MemberAdapter<T, ActionListener>::MemberAdapter;
    void actionPerformed(ActionEvent&) override { this->call(); }
};

template <class T>
class AdjustmentListener_mem_fun_t : public MemberAdapter<T, AdjustmentListener> {
public:
    using MemberAdapter<T, AdjustmentListener>::MemberAdapter;
    // The kind of adjustment and the value are the caller's to read from the source.
    void adjustmentValueChanged(AdjustmentEvent&) override { this->call(); }
};

template <class T>
class ItemListener_mem_fun_t : public MemberAdapter<T, ItemListener> {
public:
    using MemberAdapter<T, ItemListener>::MemberAdapter;
    // The item is the caller's to read from the source.
    void itemStateChanged(ItemEvent&) override { this->call(); }
};

// Claims the key press it handles, so it goes no further.
template <class T>
class KeyListener_mem_fun_t : public MemberAdapter<T, KeyListener> {
public:
    using MemberAdapter<T, KeyListener>::MemberAdapter;
    void keyPressed(KeyEvent& event) override {
        this->call();
        event.consumed = true;
    }
    void keyReleased(KeyEvent&) override {}
    void keyTyped(KeyEvent&) override {}
};

// Makes adapters of one kind bound to one owner and keeps them until it goes.
template <class T, template <class> class Adapter>
class AdapterList {
public:
    explicit AdapterList(T* owner) noexcept : owner(owner) {}
    AdapterList(const AdapterList&) = delete;
    AdapterList& operator=(const AdapterList&) = delete;

    Adapter<T>* make(typename Adapter<T>::Method method) {
        adapters.push_back(std::make_unique<Adapter<T>>(owner, method));
        return adapters.back().get();
    }
    // Deletes every adapter made so far.
    void clear() noexcept { adapters.clear(); }

private:
    T* owner;  // not owned
    std::vector<std::unique_ptr<Adapter<T>>> adapters;  // owned
};

}  // namespace awt
