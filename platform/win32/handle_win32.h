// An owner for kernel handles closed with CloseHandle (files, processes, threads).
#pragma once

#include <windows.h>

#include <utility>

namespace tolvex::platform::win32 {

class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  ~KernelHandle() { Close(); }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  HANDLE Get() const { return handle_; }
  // CreateFileW reports failure as INVALID_HANDLE_VALUE, most other calls as null.
  bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

  // Closes now and tells whether the close worked (for a file, whether the last writes did).
  bool Close() {
    if (!IsValid()) {
      handle_ = nullptr;
      return true;
    }
    return CloseHandle(std::exchange(handle_, nullptr)) != FALSE;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace tolvex::platform::win32
