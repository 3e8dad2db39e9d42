#pragma once
#include <windows.h>

#include <utility>

namespace base {

// Owns one Windows handle and closes it exactly once. Traits give the empty value and the
// close call; the close result is ignored because nothing useful can be done when
// releasing a handle fails.
template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Type Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Empty(); }

    Type Release() noexcept { return std::exchange(handle_, Traits::Empty()); }
    void Reset(Type handle = Traits::Empty()) noexcept
    {
        const Type old = std::exchange(handle_, handle);
        if (old != Traits::Empty())
            Traits::Close(old);
    }

private:
    Type handle_ = Traits::Empty();
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
// Kernel objects that report failure as a null handle: processes, threads, events.
struct KernelObjectTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { RegCloseKey(h); }
};
// A FindFirstFile search, which is ended by FindClose, not CloseHandle.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { FindClose(h); }
};
// A view of a file mapping, which keeps the mapping and its file open until it is unmapped.
struct MappedViewTraits {
    using Type = void*;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type view) noexcept { UnmapViewOfFile(view); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using KernelHandle = UniqueHandle<KernelObjectTraits>;
using MappedView = UniqueHandle<MappedViewTraits>;
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

} // namespace base
