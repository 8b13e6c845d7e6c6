// The option file through MSXML's version-independent DOMDocument. Queries use XPath (the
// version-independent class defaults to the older XSL pattern language), document type
// declarations are refused, nothing external is fetched, and a save goes to memory so that
// the caller decides how the bytes reach the disk.
#include <msxml2.h>
#include <windows.h>

#include "platform/win32/com_win32.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"
#include "platform/xml_document.h"

namespace tolvex::platform {
namespace {

using win32::Bstr;
using win32::ComApartment;
using win32::ComPtr;
using win32::Utf16FromUtf8;
using win32::Utf8FromUtf16;
using win32::Variant;

// IXMLDOMDocument2 (setProperty); mingw-w64's import libraries do not carry its IID.
constexpr IID kIidXmlDomDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// IXMLDOMElement, for the same reason.
constexpr IID kIidXmlDomElement = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::unique_ptr<XmlNode> WrapNode(ComPtr<IXMLDOMNode> node);

// The first match of `xpath` with `context` as context node. selectSingleNode answers S_FALSE
// for no match and an error for a query that is not XPath: both mean "nothing".
std::unique_ptr<XmlNode> SelectFirst(IXMLDOMNode* context, std::string_view xpath) {
  if (context == nullptr) return nullptr;
  const Bstr query(Utf16FromUtf8(xpath));
  ComPtr<IXMLDOMNode> found;
  if (context->selectSingleNode(query.Get(), found.Put()) != S_OK || !found) return nullptr;
  return WrapNode(std::move(found));
}

class MsxmlNode final : public XmlNode {
 public:
  explicit MsxmlNode(ComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}

  std::string Text() const override {
    DOMNodeType type = NODE_INVALID;
    node_->get_nodeType(&type);
    if (type == NODE_ATTRIBUTE) {
      // An attribute's value exactly as the file has it after unescaping; `text` may trim it.
      Variant value;
      if (node_->get_nodeValue(value.Put()) != S_OK || V_VT(&value.Get()) != VT_BSTR) return {};
      return Utf8FromUtf16(win32::BstrView(V_BSTR(&value.Get())));
    }
    Bstr text;
    if (node_->get_text(text.Put()) != S_OK) return {};
    return Utf8FromUtf16(text.View());
  }

  bool SetText(std::string_view text) override {
    DOMNodeType type = NODE_INVALID;
    if (node_->get_nodeType(&type) != S_OK) return false;
    if (type != NODE_ATTRIBUTE && type != NODE_ELEMENT) return false;
    // An element's text replaces all its children with one text node; either way the text is
    // stored as it is and escaped when saved.
    const Bstr value(Utf16FromUtf8(text));
    return node_->put_text(value.Get()) == S_OK;
  }

  bool SetAttribute(std::string_view name, std::string_view value) override {
    const ComPtr<IXMLDOMElement> element = Element();
    if (!element) return false;
    const Bstr attribute(Utf16FromUtf8(name));
    Variant text;
    text.SetText(Utf16FromUtf8(value));
    return element->setAttribute(attribute.Get(), text.Get()) == S_OK;
  }

  bool RemoveAttribute(std::string_view name) override {
    const ComPtr<IXMLDOMElement> element = Element();
    if (!element) return false;
    const Bstr attribute(Utf16FromUtf8(name));
    // S_FALSE: there was no such attribute, which is as good.
    return SUCCEEDED(element->removeAttribute(attribute.Get()));
  }

  std::unique_ptr<XmlNode> AppendElement(std::string_view name,
                                         std::string_view text_before) override {
    if (!Element()) return nullptr;
    ComPtr<IXMLDOMDocument> document;
    if (node_->get_ownerDocument(document.Put()) != S_OK || !document) return nullptr;
    const Bstr element_name(Utf16FromUtf8(name));
    ComPtr<IXMLDOMElement> created;
    if (document->createElement(element_name.Get(), created.Put()) != S_OK || !created) {
      return nullptr;
    }
    // The new element goes before the node after the last child element: before the first
    // child when there is no child element, at the end when nothing follows.
    ComPtr<IXMLDOMNode> next;
    ComPtr<IXMLDOMNode> child;
    node_->get_lastChild(child.Put());
    while (child && NodeType(child.Get()) != NODE_ELEMENT) {
      ComPtr<IXMLDOMNode> previous;
      child->get_previousSibling(previous.Put());
      child = std::move(previous);
    }
    if (child) {
      child->get_nextSibling(next.Put());
    } else {
      node_->get_firstChild(next.Put());
    }
    ComPtr<IXMLDOMNode> inserted;
    if (InsertBefore(created.Get(), next.Get(), inserted) != S_OK || !inserted) return nullptr;
    if (!text_before.empty()) {
      const Bstr before(Utf16FromUtf8(text_before));
      ComPtr<IXMLDOMText> text;
      ComPtr<IXMLDOMNode> inserted_text;
      if (document->createTextNode(before.Get(), text.Put()) == S_OK && text) {
        InsertBefore(text.Get(), inserted.Get(), inserted_text);
      }
    }
    return WrapNode(std::move(inserted));
  }

  bool Remove() override {
    switch (NodeType(node_.Get())) {
      case NODE_ELEMENT:
      case NODE_TEXT:
      case NODE_CDATA_SECTION:
      case NODE_COMMENT:
      case NODE_PROCESSING_INSTRUCTION:
        break;
      default:
        return false;
    }
    ComPtr<IXMLDOMNode> parent;
    if (node_->get_parentNode(parent.Put()) != S_OK || !parent) return false;
    if (NodeType(parent.Get()) == NODE_DOCUMENT && NodeType(node_.Get()) == NODE_ELEMENT) {
      return false;
    }
    ComPtr<IXMLDOMNode> removed;
    return parent->removeChild(node_.Get(), removed.Put()) == S_OK;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
    return SelectFirst(node_.Get(), xpath);
  }

 private:
  static DOMNodeType NodeType(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    if (node == nullptr || node->get_nodeType(&type) != S_OK) return NODE_INVALID;
    return type;
  }

  // This node as an element; null for any other node.
  ComPtr<IXMLDOMElement> Element() const {
    ComPtr<IXMLDOMElement> element;
    if (NodeType(node_.Get()) == NODE_ELEMENT) {
      node_->QueryInterface(kIidXmlDomElement, element.PutVoid());
    }
    return element;
  }

  // Inserts `child` into this node before `next` (at the end when null).
  HRESULT InsertBefore(IXMLDOMNode* child, IXMLDOMNode* next, ComPtr<IXMLDOMNode>& inserted) {
    Variant reference;
    if (next != nullptr) reference.SetDispatch(next);
    return node_->insertBefore(child, reference.Get(), inserted.Put());
  }

  ComPtr<IXMLDOMNode> node_;
};

std::unique_ptr<XmlNode> WrapNode(ComPtr<IXMLDOMNode> node) {
  return std::make_unique<MsxmlNode>(std::move(node));
}

class MsxmlDocument final : public XmlDocument {
 public:
  MsxmlDocument() {
    CLSID clsid;
    if (CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid) != S_OK) return;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument2,
                     document_.PutVoid());
  }

  bool Load(const std::string& path) override {
    if (!document_ || loaded_) return false;
    document_->put_async(VARIANT_FALSE);
    document_->put_validateOnParse(VARIANT_FALSE);
    document_->put_resolveExternals(VARIANT_FALSE);
    // White space between elements stays in the document, so that a save keeps the file's
    // layout and an added element can be indented as its neighbours.
    document_->put_preserveWhiteSpace(VARIANT_TRUE);
    SetProperty(L"SelectionLanguage", [](Variant& v) { v.SetText(L"XPath"); });
    SetProperty(L"ProhibitDTD", [](Variant& v) { v.SetBool(true); });

    // Only a file on a disk is read: a pipe or a device would keep the reader waiting, a
    // folder holds no document. Opened for its attributes only, which waits for nothing and
    // takes no share of the file.
    const std::wstring wide_path = Utf16FromUtf8(path);
    {
      const win32::KernelHandle file(
          CreateFileW(wide_path.c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      BY_HANDLE_FILE_INFORMATION info{};
      if (!file.IsValid() || GetFileType(file.Get()) != FILE_TYPE_DISK ||
          !GetFileInformationByHandle(file.Get(), &info) ||
          (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
      }
    }
    Variant source;
    source.SetText(wide_path);
    VARIANT_BOOL success = VARIANT_FALSE;
    if (document_->load(source.Get(), &success) != S_OK || success != VARIANT_TRUE) return false;
    // Not every MSXML honours ProhibitDTD (Wine's ignores it): a declaration that slipped
    // through still makes the load fail, as the interface promises.
    ComPtr<IXMLDOMDocumentType> doctype;
    if (document_->get_doctype(doctype.Put()) == S_OK && doctype) return false;
    ComPtr<IXMLDOMElement> root;
    if (document_->get_documentElement(root.Put()) != S_OK || !root) return false;
    // The program's files never put their root in a namespace; queries by name would not find
    // such a root's elements, and the file would read as empty.
    Bstr root_namespace;  // left empty (S_FALSE) for a root in no namespace
    if (FAILED(root->get_namespaceURI(root_namespace.Put())) || !root_namespace.View().empty()) {
      return false;
    }
    loaded_ = true;
    return true;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
    if (!loaded_) return nullptr;
    return SelectFirst(document_.Get(), xpath);
  }

  std::vector<std::unique_ptr<XmlNode>> SelectNodes(std::string_view xpath) const override {
    std::vector<std::unique_ptr<XmlNode>> nodes;
    if (!loaded_) return nodes;
    const Bstr query(Utf16FromUtf8(xpath));
    ComPtr<IXMLDOMNodeList> list;
    if (document_->selectNodes(query.Get(), list.Put()) != S_OK || !list) return nodes;
    long length = 0;
    if (list->get_length(&length) != S_OK) return nodes;
    for (long i = 0; i < length; ++i) {
      ComPtr<IXMLDOMNode> item;
      if (list->get_item(i, item.Put()) == S_OK && item) nodes.push_back(WrapNode(std::move(item)));
    }
    return nodes;
  }

  std::optional<std::string> Serialize() const override {
    if (!loaded_) return std::nullopt;
    // MSXML writes the bytes of the document's own encoding into the stream, the same bytes a
    // save to a path would put on disk.
    ComPtr<IStream> stream;
    if (CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()) != S_OK) return std::nullopt;
    Variant destination;
    destination.SetObject(stream.Get());
    if (document_->save(destination.Get()) != S_OK) return std::nullopt;
    HGLOBAL memory = nullptr;
    if (GetHGlobalFromStream(stream.Get(), &memory) != S_OK) return std::nullopt;
    STATSTG stat{};
    if (stream->Stat(&stat, STATFLAG_NONAME) != S_OK) return std::nullopt;
    const auto size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    if (size == 0) return std::string();
    const void* bytes = GlobalLock(memory);
    if (bytes == nullptr) return std::nullopt;
    std::string out(static_cast<const char*>(bytes), size);
    GlobalUnlock(memory);
    return out;
  }

 private:
  template <typename Fill>
  void SetProperty(const wchar_t* name, Fill fill) {
    // An MSXML that lacks a property refuses it; loading then goes on with its default.
    const Bstr property(name);
    Variant value;
    fill(value);
    document_->setProperty(property.Get(), value.Get());
  }

  ComApartment apartment_;  // first member: COM outlives the document's interfaces
  ComPtr<IXMLDOMDocument2> document_;
  bool loaded_ = false;
};

}  // namespace

std::unique_ptr<XmlDocument> CreateXmlDocument() { return std::make_unique<MsxmlDocument>(); }

}  // namespace tolvex::platform
