// One owner for every Win32 handle the program frees itself. The deleter is the template
// parameter (a traits struct: the handle type, what counts as no handle, how it is freed), so
// each kind of handle is its own owner type and cannot be freed the wrong way. Copies are
// deleted (a copy would free twice); moves hand the handle over and leave no handle behind.
//
// The pitfall of each deleter:
// - KernelHandleTraits, CloseHandle (files, processes, threads): CreateFileW reports failure
//   as INVALID_HANDLE_VALUE, most other calls as null; both are "no handle". Closing a file
//   is when its last writes can fail: where that matters, check Reset()'s result instead of
//   leaving the close to the destructor.
// - GdiObjectTraits, DeleteObject (fonts, bitmaps, brushes): an object still selected into a
//   device context or set as a window's font would be deleted under it. Hand every user the
//   new object first (WM_SETFONT, SelectObject), then let the old owner go.
// - IconTraits, DestroyIcon: only for icons loaded without LR_SHARED (a shared icon belongs
//   to the system and must never be destroyed); a window's icon (WM_SETICON) is replaced
//   before its old owner goes, as for GDI objects.
// - MemoryDcTraits, DeleteDC (CreateCompatibleDC): select the device context's original
//   objects back before it goes. A DC from GetDC is released with ReleaseDC, never here.
// - MenuTraits, DestroyMenu: a menu attached to a window is destroyed with the window; own a
//   menu only until a window has taken it (Release()).
#pragma once

#include <windows.h>

#include <utility>

namespace tolvex::platform::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
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

  Handle Get() const { return handle_; }
  bool IsValid() const { return Traits::IsValid(handle_); }

  // Frees the handle now; false when the system reported that freeing it failed.
  bool Reset() {
    const Handle handle = Release();
    return !Traits::IsValid(handle) || Traits::Free(handle);
  }

  // Gives the handle up without freeing it.
  Handle Release() { return std::exchange(handle_, Handle{}); }

 private:
  Handle handle_{};
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Free(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static bool IsValid(T object) { return object != nullptr; }
  static bool Free(T object) { return DeleteObject(object) != FALSE; }
};

struct IconTraits {
  using Handle = HICON;
  static bool IsValid(HICON icon) { return icon != nullptr; }
  static bool Free(HICON icon) { return DestroyIcon(icon) != FALSE; }
};

struct MemoryDcTraits {
  using Handle = HDC;
  static bool IsValid(HDC dc) { return dc != nullptr; }
  static bool Free(HDC dc) { return DeleteDC(dc) != FALSE; }
};

struct MenuTraits {
  using Handle = HMENU;
  static bool IsValid(HMENU menu) { return menu != nullptr; }
  static bool Free(HMENU menu) { return DestroyMenu(menu) != FALSE; }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
template <typename T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
using IconHandle = UniqueHandle<IconTraits>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;

}  // namespace tolvex::platform::win32
