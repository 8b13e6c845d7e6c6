// The XML document the option store works on: load a whole file, run XPath location paths,
// read and replace node texts, serialise. One backend per OS (libxml2 on Linux, MSXML on
// Windows). Texts are UTF-8 whatever the file's own encoding.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::platform {

// A node of a loaded document. Nodes must not outlive their document.
class XmlNode {
 public:
  virtual ~XmlNode() = default;

  // Element: the concatenated text of all its descendants. Attribute: its value.
  virtual std::string Text() const = 0;

  // Replaces the text of an attribute node. False when the node cannot take a text.
  virtual bool SetText(std::string_view text) = 0;

  // First match of an XPath location path evaluated with this node as context, or null
  // (also for a query that is not valid XPath).
  virtual std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const = 0;
};

class XmlDocument {
 public:
  virtual ~XmlDocument() = default;

  // Parses the whole file synchronously. False when the file is missing, unreadable, not
  // well-formed, or carries a document type declaration (option files never need one, and
  // refusing it closes external-entity and entity-expansion attacks). Never touches the network.
  virtual bool Load(const std::string& path) = 0;

  // XPath queries with the document as context node; null / empty when nothing matches or the
  // query is not valid XPath. Matches come in document order.
  virtual std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const = 0;
  virtual std::vector<std::unique_ptr<XmlNode>> SelectNodes(std::string_view xpath) const = 0;

  // The whole document as the bytes of a file, in the encoding it was loaded with; nullopt
  // when nothing is loaded or serialisation fails.
  virtual std::optional<std::string> Serialize() const = 0;
};

// A new, empty document of this platform's backend.
std::unique_ptr<XmlDocument> CreateXmlDocument();

}  // namespace tolvex::platform
