// Owners for the COM resources the MSXML backend holds: the apartment, interface pointers,
// BSTRs and VARIANTs. Each releases exactly once; copying is forbidden because a copied owner
// would release twice.
#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <string_view>
#include <utility>

namespace tolvex::platform::win32 {

// COM on the calling thread for the owner's lifetime.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    // S_FALSE ("already initialised on this thread") is a success and needs its matching
    // CoUninitialize as well; RPC_E_CHANGED_MODE (the thread is multi-threaded already) is a
    // failure that leaves COM usable and must not be undone.
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

// One reference to a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For out-parameters: drops the current reference first, so that a reused owner never
  // leaks the interface it held.
  T** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  void Reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  T* pointer_ = nullptr;
};

// A BSTR allocated by the system allocator (SysAllocStringLen / SysFreeString).
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR Get() const { return value_; }
  BSTR* Put() {
    SysFreeString(std::exchange(value_, nullptr));
    return &value_;
  }
  // SysStringLen counts characters and is 0 for a null BSTR, which COM uses for "".
  std::wstring_view View() const {
    return {value_ == nullptr ? L"" : value_, SysStringLen(value_)};
  }

 private:
  BSTR value_ = nullptr;
};

// A VARIANT that is cleared (releasing any BSTR or interface it holds) when it goes.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  // A VT_BSTR holding a fresh copy of `text`.
  void SetText(std::wstring_view text) {
    VariantClear(&value_);
    V_VT(&value_) = VT_BSTR;
    V_BSTR(&value_) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  // A VT_UNKNOWN holding its own reference to `object`.
  void SetObject(IUnknown* object) {
    VariantClear(&value_);
    object->AddRef();
    V_VT(&value_) = VT_UNKNOWN;
    V_UNKNOWN(&value_) = object;
  }
  // A VT_DISPATCH holding its own reference to `object` (a DOM node, as MSXML expects one).
  void SetDispatch(IDispatch* object) {
    VariantClear(&value_);
    object->AddRef();
    V_VT(&value_) = VT_DISPATCH;
    V_DISPATCH(&value_) = object;
  }
  void SetBool(bool value) {
    VariantClear(&value_);
    V_VT(&value_) = VT_BOOL;
    V_BOOL(&value_) = value ? VARIANT_TRUE : VARIANT_FALSE;
  }

  const VARIANT& Get() const { return value_; }
  // For out-parameters: clears what the VARIANT held first.
  VARIANT* Put() {
    VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

}  // namespace tolvex::platform::win32
