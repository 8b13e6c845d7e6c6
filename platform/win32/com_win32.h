// Owners for the COM resources the MSXML backend holds: the apartment, interface pointers,
// BSTRs and VARIANTs. Each releases exactly once; copying is forbidden because a copied owner
// would release twice. Interface pointers and BSTRs are handles with a deleter of their own
// (unique_handle_win32.h); the apartment and the VARIANT are values, not handles.
#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <string_view>
#include <utility>

#include "platform/win32/unique_handle_win32.h"

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

// Releases an interface reference. The pitfall: an interface is released, never deleted, and
// only a reference the owner was given is released: an out-parameter (Put) hands one over, a
// raw pointer from elsewhere does not, and needs its own AddRef before an owner takes it.
struct ReleaseInterface {
  bool operator()(IUnknown* object) const {
    object->Release();
    return true;
  }
};

// One reference to a COM interface.
template <typename T>
class ComPtr : public UniqueHandle<T*, ReleaseInterface> {
 public:
  using UniqueHandle<T*, ReleaseInterface>::UniqueHandle;

  T* operator->() const { return this->Get(); }
  // For CoCreateInstance and QueryInterface, which hand the reference over as void**.
  void** PutVoid() { return reinterpret_cast<void**>(this->Put()); }
};

// The characters of a BSTR. SysStringLen reads the length prefix (a BSTR may hold L'\0') and is
// 0 for a null BSTR, which COM uses for "".
inline std::wstring_view BstrView(BSTR value) {
  return {value == nullptr ? L"" : value, SysStringLen(value)};
}

// Frees a BSTR. The pitfall: only a string from SysAllocString* (or handed out by COM) is a
// BSTR; a wide string literal has no length prefix, so it is never passed or freed as one.
struct FreeBstr {
  bool operator()(BSTR value) const {
    SysFreeString(value);
    return true;
  }
};

// A BSTR allocated by the system allocator (SysAllocStringLen / SysFreeString).
class Bstr : public UniqueHandle<BSTR, FreeBstr> {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : UniqueHandle(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

  std::wstring_view View() const { return BstrView(Get()); }
};

// Frees memory that COM handed out (SHGetKnownFolderPath's path). The pitfall: such memory
// comes from the task allocator and goes back with CoTaskMemFree, never free or LocalFree, and
// is the caller's also when the call failed.
struct FreeTaskMemory {
  bool operator()(void* memory) const {
    CoTaskMemFree(memory);
    return true;
  }
};
template <typename T>
using TaskMemory = UniqueHandle<T, FreeTaskMemory>;

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
