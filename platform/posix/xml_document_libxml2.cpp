// The option file through libxml2. Parsing is hardened: no network, no DTD loading, no entity
// substitution, and a document type declaration stops the parse and fails the load.
#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>
#include <sys/stat.h>

#include <vector>

#include "platform/posix/file_system_posix.h"
#include "platform/xml_document.h"

namespace tolvex::platform {
namespace {

// libxml2 reports errors by printing them; the option store reports its own.
void IgnoreStructuredError(void*, xmlErrorPtr) {}
void IgnoreGenericError(void*, const char*, ...) {}

void SilenceLibxml2() {
  static const bool silenced = [] {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
    xmlSetStructuredErrorFunc(nullptr, IgnoreStructuredError);
    return true;
  }();
  (void)silenced;
}

const xmlChar* Xml(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

struct XmlFree {
  void operator()(xmlChar* text) const { xmlFree(text); }
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
  void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
  void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};
template <typename T>
using XmlPtr = std::unique_ptr<T, XmlFree>;

// Runs an XPath location path with `context` as the context node; the node set in document
// order, or null when the query is invalid or yields no node set. The XPath context belongs
// to the document: creating one registers every XPath function, which costs more than a query.
XmlPtr<xmlXPathObject> Evaluate(xmlXPathContext* xpath_context, xmlNode* context,
                                std::string_view xpath) {
  if (xpath_context == nullptr) return nullptr;
  xpath_context->node = context;
  const std::string query(xpath);
  XmlPtr<xmlXPathObject> result(xmlXPathEvalExpression(Xml(query.c_str()), xpath_context));
  if (!result || result->type != XPATH_NODESET || result->nodesetval == nullptr) return nullptr;
  return result;
}

// What the nodes of one loaded document share: its XPath context, and the nodes taken out of
// it, which live on (unlinked) until the document goes so that no node handed out dangles.
struct Libxml2Tree {
  XmlPtr<xmlXPathContext> xpath;
  std::vector<xmlNode*> removed;

  ~Libxml2Tree() { FreeRemoved(); }
  void FreeRemoved() {
    for (xmlNode* node : removed) xmlFreeNode(node);  // an attribute too (xmlFreeNode knows it)
    removed.clear();
  }
  void Unlink(xmlNode* node) {
    xmlUnlinkNode(node);
    removed.push_back(node);
  }
};

class Libxml2Node final : public XmlNode {
 public:
  Libxml2Node(Libxml2Tree* tree, xmlNode* node) : tree_(tree), node_(node) {}

  std::string Text() const override {
    XmlPtr<xmlChar> content(xmlNodeGetContent(node_));
    return content ? std::string(reinterpret_cast<const char*>(content.get())) : std::string();
  }

  bool SetText(std::string_view text) override {
    const std::string value(text);
    if (node_->type == XML_ELEMENT_NODE) {
      // A text node holds its content as plain text: nothing in it is read as markup or as an
      // entity reference, and serialisation escapes it.
      xmlNode* content = xmlNewDocTextLen(node_->doc, Xml(value.c_str()), Length(value));
      if (content == nullptr) return false;
      while (node_->children != nullptr) tree_->Unlink(node_->children);
      return xmlAddChild(node_, content) != nullptr;
    }
    if (node_->type != XML_ATTRIBUTE_NODE || node_->parent == nullptr) return false;
    // xmlSetNsProp stores the value as plain text; serialisation escapes it.
    auto* attribute = reinterpret_cast<xmlAttr*>(node_);
    return xmlSetNsProp(node_->parent, attribute->ns, node_->name, Xml(value.c_str())) != nullptr;
  }

  bool SetAttribute(std::string_view name, std::string_view value) override {
    if (node_->type != XML_ELEMENT_NODE) return false;
    const std::string name_text(name);
    const std::string value_text(value);
    return xmlSetProp(node_, Xml(name_text.c_str()), Xml(value_text.c_str())) != nullptr;
  }

  bool RemoveAttribute(std::string_view name) override {
    if (node_->type != XML_ELEMENT_NODE) return false;
    const std::string name_text(name);
    if (xmlAttr* attribute = xmlHasProp(node_, Xml(name_text.c_str())); attribute != nullptr) {
      tree_->Unlink(reinterpret_cast<xmlNode*>(attribute));
    }
    return true;
  }

  std::unique_ptr<XmlNode> AppendElement(std::string_view name,
                                         std::string_view text_before) override {
    if (node_->type != XML_ELEMENT_NODE) return nullptr;
    const std::string name_text(name);
    xmlNode* element = xmlNewDocNode(node_->doc, node_->ns, Xml(name_text.c_str()), nullptr);
    if (element == nullptr) return nullptr;
    xmlNode* last_element = xmlLastElementChild(node_);
    if (last_element != nullptr) {
      xmlAddNextSibling(last_element, element);
    } else if (node_->children != nullptr) {
      xmlAddPrevSibling(node_->children, element);
    } else {
      xmlAddChild(node_, element);
    }
    if (!text_before.empty()) {
      // Added after the element is in place: a text placed next to another text merges with it.
      const std::string before(text_before);
      xmlNode* text = xmlNewDocTextLen(node_->doc, Xml(before.c_str()), Length(before));
      if (text != nullptr) xmlAddPrevSibling(element, text);
    }
    return std::make_unique<Libxml2Node>(tree_, element);
  }

  bool Remove() override {
    switch (node_->type) {
      case XML_ELEMENT_NODE:
        if (node_->parent == nullptr || node_->parent->type == XML_DOCUMENT_NODE) return false;
        break;
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
      case XML_COMMENT_NODE:
      case XML_PI_NODE:
        if (node_->parent == nullptr) return false;
        break;
      default:
        return false;
    }
    tree_->Unlink(node_);
    return true;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
    const auto result = Evaluate(tree_->xpath.get(), node_, xpath);
    if (!result || result->nodesetval->nodeNr == 0) return nullptr;
    return std::make_unique<Libxml2Node>(tree_, result->nodesetval->nodeTab[0]);
  }

 private:
  static int Length(const std::string& text) { return static_cast<int>(text.size()); }

  Libxml2Tree* tree_;
  xmlNode* node_;
};

// Stops the parse as soon as a document type declaration appears.
void RefuseDoctype(void* parser_context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* context = static_cast<xmlParserCtxt*>(parser_context);
  *static_cast<bool*>(context->_private) = true;
  xmlStopParser(context);
}

class Libxml2Document final : public XmlDocument {
 public:
  bool Load(const std::string& path) override {
    SilenceLibxml2();
    tree_.reset();
    document_.reset();
    XmlPtr<xmlParserCtxt> context(xmlNewParserCtxt());
    if (!context) return false;
    bool saw_doctype = false;
    context->_private = &saw_doctype;
    context->sax->internalSubset = RefuseDoctype;
    context->sax->externalSubset = RefuseDoctype;
    // Only a regular file is read: a FIFO or a device would keep the reader waiting for ever,
    // a folder holds no document. Opened without waiting, and checked before the parse.
    const posix::FileDescriptor file(
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!file || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    XmlPtr<xmlDoc> document(
        xmlCtxtReadFd(context.get(), file.get(), path.c_str(), nullptr, kOptions));
    if (!document || saw_doctype || context->wellFormed == 0) return false;
    // The program's files never put their root in a namespace; queries by name would not find
    // such a root's elements, and the file would read as empty.
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (root == nullptr || root->ns != nullptr) return false;
    XmlPtr<xmlXPathContext> xpath(xmlXPathNewContext(document.get()));
    if (!xpath) return false;
    document_ = std::move(document);
    tree_ = std::make_unique<Libxml2Tree>();
    tree_->xpath = std::move(xpath);
    return true;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
    if (!tree_) return nullptr;
    const auto result = Evaluate(tree_->xpath.get(), DocumentNode(), xpath);
    if (!result || result->nodesetval->nodeNr == 0) return nullptr;
    return std::make_unique<Libxml2Node>(tree_.get(), result->nodesetval->nodeTab[0]);
  }

  std::vector<std::unique_ptr<XmlNode>> SelectNodes(std::string_view xpath) const override {
    std::vector<std::unique_ptr<XmlNode>> nodes;
    if (!tree_) return nodes;
    const auto result = Evaluate(tree_->xpath.get(), DocumentNode(), xpath);
    if (!result) return nodes;
    for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
      nodes.push_back(std::make_unique<Libxml2Node>(tree_.get(), result->nodesetval->nodeTab[i]));
    }
    return nodes;
  }

  std::optional<std::string> Serialize() const override {
    if (!document_) return std::nullopt;
    // Written in the encoding the file declared (UTF-8 when it declared none).
    const char* encoding = document_->encoding != nullptr
                               ? reinterpret_cast<const char*>(document_->encoding)
                               : "UTF-8";
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(document_.get(), &bytes, &size, encoding);
    XmlPtr<xmlChar> owned(bytes);
    if (!owned || size <= 0) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(owned.get()), static_cast<std::size_t>(size));
  }

 private:
  xmlNode* DocumentNode() const { return reinterpret_cast<xmlNode*>(document_.get()); }

  // Freed before the document: the removed nodes' names may live in the document's dictionary.
  XmlPtr<xmlDoc> document_;
  std::unique_ptr<Libxml2Tree> tree_;
};

}  // namespace

std::unique_ptr<XmlDocument> CreateXmlDocument() { return std::make_unique<Libxml2Document>(); }

}  // namespace tolvex::platform
