#pragma once

namespace klib {

// Work handed to Toolkit::invokeLater or a managed thread's exit actions. The runner does not delete it;
// a heap runnable deletes itself at the end of run(), as Deleter does.
class Runnable {
public:
    virtual ~Runnable() = default;
    virtual void run() = 0;
};

// Destroys an object when run, then itself. Create it with new; after run() it is gone.
template <typename T>
class Deleter : public Runnable {
public:
    explicit Deleter(T* object) noexcept : object_(object) {}
    Deleter(const Deleter&) = delete;
    Deleter& operator=(const Deleter&) = delete;
    // Leaves the object alone: only run() deletes it.
    ~Deleter() override = default;

    void run() override {
        // Frees the deleter even if the object's destructor throws.
        struct SelfDelete {
            Deleter* self;
            ~SelfDelete() { delete self; }
        } selfDelete{this};
        delete object_;
    }

private:
    T* object_;  // owned, may be null; deleted by run()
};

}  // namespace klib
