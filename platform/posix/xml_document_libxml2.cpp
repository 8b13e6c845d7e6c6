// The option file through libxml2. Parsing is hardened: no network, no DTD loading, no entity
// substitution, and a document type declaration stops the parse and fails the load.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>

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

class Libxml2Node final : public XmlNode {
 public:
  Libxml2Node(xmlXPathContext* xpath, xmlNode* node) : xpath_(xpath), node_(node) {}

  std::string Text() const override {
    XmlPtr<xmlChar> content(xmlNodeGetContent(node_));
    return content ? std::string(reinterpret_cast<const char*>(content.get())) : std::string();
  }

  bool SetText(std::string_view text) override {
    if (node_->type != XML_ATTRIBUTE_NODE || node_->parent == nullptr) return false;
    // xmlSetNsProp stores the value as plain text; serialisation escapes it.
    const std::string value(text);
    auto* attribute = reinterpret_cast<xmlAttr*>(node_);
    return xmlSetNsProp(node_->parent, attribute->ns, node_->name, Xml(value.c_str())) != nullptr;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
    const auto result = Evaluate(xpath_, node_, xpath);
    if (!result || result->nodesetval->nodeNr == 0) return nullptr;
    return std::make_unique<Libxml2Node>(xpath_, result->nodesetval->nodeTab[0]);
  }

 private:
  xmlXPathContext* xpath_;
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
    xpath_.reset();
    document_.reset();
    XmlPtr<xmlParserCtxt> context(xmlNewParserCtxt());
    if (!context) return false;
    bool saw_doctype = false;
    context->_private = &saw_doctype;
    context->sax->internalSubset = RefuseDoctype;
    context->sax->externalSubset = RefuseDoctype;
    constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    XmlPtr<xmlDoc> document(xmlCtxtReadFile(context.get(), path.c_str(), nullptr, kOptions));
    if (!document || saw_doctype || context->wellFormed == 0 ||
        xmlDocGetRootElement(document.get()) == nullptr) {
      return false;
    }
    XmlPtr<xmlXPathContext> xpath(xmlXPathNewContext(document.get()));
    if (!xpath) return false;
    document_ = std::move(document);
    xpath_ = std::move(xpath);
    return true;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
    const auto result = Evaluate(xpath_.get(), DocumentNode(), xpath);
    if (!result || result->nodesetval->nodeNr == 0) return nullptr;
    return std::make_unique<Libxml2Node>(xpath_.get(), result->nodesetval->nodeTab[0]);
  }

  std::vector<std::unique_ptr<XmlNode>> SelectNodes(std::string_view xpath) const override {
    std::vector<std::unique_ptr<XmlNode>> nodes;
    const auto result = Evaluate(xpath_.get(), DocumentNode(), xpath);
    if (!result) return nodes;
    for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
      nodes.push_back(std::make_unique<Libxml2Node>(xpath_.get(), result->nodesetval->nodeTab[i]));
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

  // Declared after the document so that it is freed first.
  XmlPtr<xmlDoc> document_;
  XmlPtr<xmlXPathContext> xpath_;
};

}  // namespace

std::unique_ptr<XmlDocument> CreateXmlDocument() { return std::make_unique<Libxml2Document>(); }

}  // namespace tolvex::platform
