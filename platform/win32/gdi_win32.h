// An owner for GDI objects (fonts, bitmaps, brushes) deleted with DeleteObject.
#pragma once

#include <windows.h>

#include <utility>

namespace tolvex::platform::win32 {

template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T object) : object_(object) {}
  ~GdiObject() { Reset(); }
  // A copied owner would delete the object twice, and a font still selected into a window
  // would be deleted under it.
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }

  T Get() const { return object_; }
  void Reset() {
    if (object_ != nullptr) DeleteObject(std::exchange(object_, nullptr));
  }

 private:
  T object_ = nullptr;
};

}  // namespace tolvex::platform::win32

namespace tolvex::platform::win32 {

// An icon loaded at a size of its own (not LR_SHARED, which hands back the first size loaded
// for every later request), destroyed with DestroyIcon.
class IconHandle {
 public:
  IconHandle() = default;
  explicit IconHandle(HICON icon) : icon_(icon) {}
  ~IconHandle() {
    if (icon_ != nullptr) DestroyIcon(icon_);
  }
  IconHandle(const IconHandle&) = delete;
  IconHandle& operator=(const IconHandle&) = delete;
  IconHandle(IconHandle&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
  IconHandle& operator=(IconHandle&& other) noexcept {
    if (this != &other) {
      if (icon_ != nullptr) DestroyIcon(icon_);
      icon_ = std::exchange(other.icon_, nullptr);
    }
    return *this;
  }
  HICON Get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

}  // namespace tolvex::platform::win32
