// Move-only owners for Windows resources, so every early return releases what was
// acquired: handles freed by one function, COM interface pointers, GDI selections, and
// the CoInitialize/CoUninitialize pair.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <utility>

namespace lv::win32 {

// Owns a handle that Traits::Close frees. A traits type rather than a function
// pointer, because the address of an imported function is no constant expression and
// some invalid values (INVALID_HANDLE_VALUE) are casts.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle window) { ::DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle module) { ::FreeLibrary(module); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

struct HookTraits {
    using Handle = HHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle hook) { ::UnhookWindowsHookEx(hook); }
};
using UniqueHook = UniqueHandle<HookTraits>;

// GDI objects (bitmaps, fonts) are freed with DeleteObject, a memory DC with DeleteDC.
template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle object) { ::DeleteObject(object); }
};
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle icon) { ::DestroyIcon(icon); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

// Selects an object into a DC and puts the previous one back, so the object can be
// freed afterwards (an object still selected cannot be). Check it before relying on it.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {
        if (previous_ == HGDI_ERROR) previous_ = nullptr;
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    ~ScopedSelectObject() {
        if (previous_) ::SelectObject(dc_, previous_);
    }
    explicit operator bool() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Kernel objects whose failed open is null rather than INVALID_HANDLE_VALUE (processes).
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Read-write memory committed in another process; the process handle must outlive it.
class RemoteMemory {
public:
    RemoteMemory() = default;
    RemoteMemory(HANDLE process, SIZE_T size)
        : process_(process),
          address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    RemoteMemory(RemoteMemory&& other) noexcept
        : process_(other.process_), address_(std::exchange(other.address_, nullptr)) {}
    RemoteMemory& operator=(RemoteMemory&& other) noexcept {
        if (this != &other) {
            Reset();
            process_ = other.process_;
            address_ = std::exchange(other.address_, nullptr);
        }
        return *this;
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() { Reset(); }

    void* Get() const { return address_; }
    explicit operator bool() const { return address_ != nullptr; }
    void Reset() {
        if (address_) ::VirtualFreeEx(process_, std::exchange(address_, nullptr), 0, MEM_RELEASE);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// Owns one reference to a COM object.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For out parameters: drops the current reference first, so nothing leaks.
    Interface** Put() {
        Reset();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};

// CoInitialize for the lifetime of the object. CoUninitialize only balances a
// successful call (S_FALSE included); after RPC_E_CHANGED_MODE the thread already has
// a multithreaded apartment that COM calls can use, and that one is not ours to end.
class ComApartment {
public:
    ComApartment() : result_(::CoInitialize(nullptr)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }

private:
    HRESULT result_;
};

}  // namespace lv::win32
