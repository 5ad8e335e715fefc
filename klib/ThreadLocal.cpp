#include "klib/ThreadLocal.h"

#include "klib/Exception.h"

namespace klib {

ThreadLocal::ThreadLocal() : index_(TlsAlloc()) {
    if (index_ == TLS_OUT_OF_INDEXES) {
        throw Exception(L"::TlsAlloc() failed", static_cast<int>(GetLastError()));
    }
}

ThreadLocal::~ThreadLocal() {
    if (index_ != TLS_OUT_OF_INDEXES) {
        TlsFree(index_);
    }
}

}  // namespace klib
