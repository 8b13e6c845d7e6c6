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
