// One owner for every Win32 resource the program frees itself: UniqueHandle<T, Deleter>, where
// T is the handle (or pointer) type and Deleter frees one. Each kind of handle is its own owner
// type and cannot be freed the wrong way. A null handle is "no handle" for every kind; a deleter
// whose kind has another such value says so with a static IsNoHandle. Copies are deleted (a copy
// would free twice); moves hand the handle over and leave no handle behind.
//
// The pitfall of each deleter:
// - CloseKernelHandle, CloseHandle (files, processes, threads): CreateFileW reports failure
//   as INVALID_HANDLE_VALUE, most other calls as null; both are "no handle". Closing a file
//   is when its last writes can fail: where that matters, check Reset()'s result instead of
//   leaving the close to the destructor.
// - DeleteGdiObject, DeleteObject (fonts, bitmaps, brushes): an object still selected into a
//   device context or set as a window's font would be deleted under it. Hand every user the
//   new object first (WM_SETFONT, SelectObject), then let the old owner go.
// - DestroyIconHandle, DestroyIcon: only for icons loaded without LR_SHARED (a shared icon
//   belongs to the system and must never be destroyed); a window's icon (WM_SETICON) is
//   replaced before its old owner goes, as for GDI objects.
// - DeleteMemoryDc, DeleteDC (CreateCompatibleDC): select the device context's original
//   objects back before it goes. A DC from GetDC is released with ReleaseDC, never here.
// - DestroyMenuHandle, DestroyMenu: a menu attached to a window is destroyed with the window;
//   own a menu only until a window has taken it (Release()).
// The COM pointer and the BSTR owner (com_win32.h) are owners of this kind as well.
#pragma once

#include <windows.h>

#include <utility>

namespace tolvex::platform::win32 {

template <typename T, typename Deleter>
class UniqueHandle {
 public:
  using Handle = T;

  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.Release();
    }
    return *this;
  }

  T Get() const { return handle_; }
  bool IsValid() const { return IsHandle(handle_); }
  explicit operator bool() const { return IsValid(); }

  // Frees the handle now; false when the system reported that freeing it failed.
  bool Reset() {
    const T handle = Release();
    return !IsHandle(handle) || Deleter{}(handle);
  }

  // Gives the handle up without freeing it.
  T Release() { return std::exchange(handle_, T{}); }

  // For out-parameters: frees the current handle first, so that a reused owner never leaks
  // what it held.
  T* Put() {
    Reset();
    return &handle_;
  }

 private:
  static bool IsHandle(T handle) {
    if constexpr (requires { Deleter::IsNoHandle(handle); }) {
      if (Deleter::IsNoHandle(handle)) return false;
    }
    return handle != T{};
  }

  T handle_{};
};

struct CloseKernelHandle {
  static bool IsNoHandle(HANDLE handle) { return handle == INVALID_HANDLE_VALUE; }
  bool operator()(HANDLE handle) const { return CloseHandle(handle) != FALSE; }
};

struct DeleteGdiObject {
  bool operator()(HGDIOBJ object) const { return DeleteObject(object) != FALSE; }
};

struct DestroyIconHandle {
  bool operator()(HICON icon) const { return DestroyIcon(icon) != FALSE; }
};

struct DeleteMemoryDc {
  bool operator()(HDC dc) const { return DeleteDC(dc) != FALSE; }
};

struct DestroyMenuHandle {
  bool operator()(HMENU menu) const { return DestroyMenu(menu) != FALSE; }
};

using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
template <typename T>
using GdiObject = UniqueHandle<T, DeleteGdiObject>;
using IconHandle = UniqueHandle<HICON, DestroyIconHandle>;
using MemoryDc = UniqueHandle<HDC, DeleteMemoryDc>;
using MenuHandle = UniqueHandle<HMENU, DestroyMenuHandle>;

}  // namespace tolvex::platform::win32
