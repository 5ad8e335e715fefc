#include "klib/ThreadLocal.h"
#include "klib/Win32Failure.h"

#include "klib/Exception.h"

namespace klib {

ThreadLocal::ThreadLocal() : index_(TlsAlloc()) {
    if (index_ == TLS_OUT_OF_INDEXES) {
        throwLastError(L"::TlsAlloc");
    }
}

ThreadLocal::~ThreadLocal() {
    if (index_ != TLS_OUT_OF_INDEXES) {
        TlsFree(index_);
    }
}

}  // namespace klib
