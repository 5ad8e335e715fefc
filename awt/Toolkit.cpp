// The toolkit's process services: each thread's toolkit, the module instance, window classes, string
// and icon resources, and the exceptions parked inside Win32 callbacks.
#include "awt/Toolkit.h"

#include <memory>

#include "awt/AWTException.h"
#include "klib/Exception.h"
#include "klib/ManagedThread.h"
#include "klib/ReservedBuffer.h"
#include "klib/Strings.h"
#include "klib/ThreadLocal.h"

namespace awt {

namespace {

// Process-wide state, created before the main routine runs.
const klib::ThreadLocal toolkitSlot;  // each thread's Toolkit*
klib::CriticalSection processLock;  // lazy toolkit creation and window-class registration
HINSTANCE instanceHandle = nullptr;
ATOM windowClass = 0;

constexpr DWORD THREAD_ALL_ACCESS_RIGHTS = 0x1F03FF;
constexpr DWORD STRING_CAPACITY = 0x100000;
constexpr DWORD FIRST_STRING_LENGTH = 256;

Toolkit* currentToolkit() noexcept {
    return static_cast<Toolkit*>(toolkitSlot.get());
}

// A line of text about an exception that cannot be thrown any more.
std::wstring describe(const std::exception_ptr& exception) {
    try {
        std::rethrow_exception(exception);
    } catch (const klib::Exception& e) {
        return e.toString();
    } catch (const std::exception& e) {
        return klib::widen(e.what());
    } catch (...) {
        return L"an exception of unknown type";
    }
}

}  // namespace

void Toolkit::initialize(HINSTANCE instance, int /*showCommand*/) {
    instanceHandle = instance;
    // A second call keeps the thread's toolkit instead of leaking it.
    if (currentToolkit() == nullptr) {
        auto toolkit = std::make_unique<Toolkit>();
        toolkitSlot.set(toolkit.release());  // owned by the slot for the rest of the process
    }
}

Toolkit* Toolkit::forCurrentThread() {
    klib::Lock guard(processLock);
    if (Toolkit* const existing = currentToolkit()) {
        return existing;
    }
    auto created = std::make_unique<Toolkit>();
    Toolkit* const toolkit = created.get();
    toolkitSlot.set(created.release());  // stays in the slot even if the thread turns out unmanaged
    try {
        auto deleter = std::make_unique<klib::Deleter<Toolkit>>(toolkit);
        klib::currentThread().addExitAction(deleter.get());
        deleter.release();  // owned by the thread's exit actions
    } catch (const klib::IllegalThreadStateException&) {
        throw AWTException(L"using awt without klib management", -1);
    }
    return toolkit;
}

HINSTANCE Toolkit::getInstanceHandle() noexcept {
    return instanceHandle;
}

ATOM Toolkit::registerWindowClass(const std::wstring& name, UINT style, HICON icon, HICON smallIcon,
                                  HBRUSH background) {
    WNDCLASSEXW windowClassInfo{};
    windowClassInfo.cbSize = sizeof(windowClassInfo);
    windowClassInfo.style = style;
    windowClassInfo.lpfnWndProc = DefWindowProcW;
    windowClassInfo.cbClsExtra = 0;
    windowClassInfo.cbWndExtra = 0;
    windowClassInfo.hInstance = instanceHandle;
    windowClassInfo.hIcon = icon;
    windowClassInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClassInfo.hbrBackground = background;
    windowClassInfo.lpszMenuName = nullptr;
    windowClassInfo.lpszClassName = name.c_str();
    windowClassInfo.hIconSm = smallIcon;
    const ATOM atom = RegisterClassExW(&windowClassInfo);
    if (atom == 0) {
        throwLastError(L"::RegisterClassEx", name.c_str());
    }
    return atom;
}

ATOM Toolkit::getWindowClass() {
    klib::Lock guard(processLock);
    if (windowClass == 0) {
        windowClass = registerWindowClass(L"awt::Window", 0, nullptr, nullptr,
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    }
    return windowClass;
}

std::wstring Toolkit::loadString(UINT id) {
    // Reserved once so the buffer keeps its address while it grows; memory is committed as needed.
    klib::ReservedBuffer buffer(STRING_CAPACITY);
    DWORD length = FIRST_STRING_LENGTH;
    for (;;) {
        buffer.commit(length);
        const int count = LoadStringW(instanceHandle, id, buffer.data(), static_cast<int>(length));
        if (count <= 0) {
            return klib::nullString;
        }
        // A string that filled the buffer may have been cut off.
        if (static_cast<DWORD>(count) < length - 1) {
            return std::wstring(buffer.data(), static_cast<std::size_t>(count));
        }
        length *= 2;
        if (length > STRING_CAPACITY) {
            throw klib::Exception(L"Can't Happen", -1);
        }
    }
}

HICON Toolkit::loadIcon(HINSTANCE instance, int id, int width, int height) {
    const HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(static_cast<WORD>(id)), IMAGE_ICON, width, height,
                                   LR_VGACOLOR);
    if (icon == nullptr) {
        throwLastError(L"::LoadImage");
    }
    return static_cast<HICON>(icon);
}

HICON Toolkit::loadIcon(int id, int width, int height) {
    return loadIcon(instanceHandle, id, width, height);
}

void Toolkit::parkException(std::exception_ptr exception) noexcept {
    Toolkit* const toolkit = currentToolkit();
    if (toolkit == nullptr) {
        // No loop on this thread could ever rethrow it; unwinding into Win32 would be worse.
        klib::reportIgnoredFailure(L"awt: exception in a Win32 callback on a thread without toolkit");
        std::terminate();
    }
    if (!toolkit->parked) {
        toolkit->parked = exception;
        return;
    }
    // Only the first one is rethrown; a later one must not vanish without a trace.
    try {
        klib::reportIgnoredFailure(L"a second exception in a Win32 callback: " + describe(exception));
    } catch (...) {
        klib::reportIgnoredFailure(L"a second exception in a Win32 callback");
    }
}

void Toolkit::rethrowParked() {
    Toolkit* const toolkit = currentToolkit();
    if (toolkit != nullptr && toolkit->parked) {
        std::exception_ptr exception = toolkit->parked;
        toolkit->parked = nullptr;
        std::rethrow_exception(exception);
    }
}

Toolkit::Toolkit() : threadId(GetCurrentThreadId()), thread(OpenThread(THREAD_ALL_ACCESS_RIGHTS, FALSE, threadId)) {
    if (thread == nullptr) {
        throwLastError(L"::OpenThread", L"awt::Toolkit::thread");
    }
}

Toolkit::~Toolkit() noexcept(false) {
    // A managed thread's exit action deletes its toolkit; the slot must not keep pointing at it.
    if (currentToolkit() == this) {
        toolkitSlot.set(nullptr);
    }
    if (thread != nullptr && !CloseHandle(thread)) {
        const DWORD error = GetLastError();
        if (std::uncaught_exceptions() > 0) {
            klib::reportIgnoredFailure(klib::failureText(L"::CloseHandle", L"awt::Toolkit::thread"));
        } else {
            throwFailure(L"::CloseHandle", L"awt::Toolkit::thread", error);
        }
    }
}

}  // namespace awt
