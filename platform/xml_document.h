// The XML document the option store works on: load a whole file, run XPath location paths,
// read and replace node texts, add and remove elements and attributes, serialise. One backend
// per OS (libxml2 on Linux, MSXML on Windows). Texts are UTF-8 whatever the file's own encoding.
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

  // Attribute: replaces its value. Element: replaces all its content with one text holding
  // `text`. The text is stored as it is (serialisation escapes it); false when the node cannot
  // take a text.
  virtual bool SetText(std::string_view text) = 0;

  // The editing of an element; each is false (and changes nothing) on any other node.
  // Sets attribute `name` to `value`, adding it after the others when the element lacks it.
  virtual bool SetAttribute(std::string_view name, std::string_view value) = 0;
  // Removes attribute `name`; true also when the element did not have it.
  virtual bool RemoveAttribute(std::string_view name) = 0;
  // Adds an empty element `name` right after this element's last child element (as the first
  // child when it has none), preceded by the text `text_before` unless that is empty: the
  // indentation of its new line. The new element, or null.
  virtual std::unique_ptr<XmlNode> AppendElement(std::string_view name,
                                                 std::string_view text_before) = 0;

  // Takes this node (an element, a text, a comment) out of its document with everything in
  // it. Nodes that refer to it or into it stay valid, outside the document, until the document
  // goes. False for the root element, the document or an attribute.
  virtual bool Remove() = 0;

  // First match of an XPath location path evaluated with this node as context, or null
  // (also for a query that is not valid XPath).
  virtual std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const = 0;
};

class XmlDocument {
 public:
  virtual ~XmlDocument() = default;

  // Parses the whole file synchronously. False when the file is missing, unreadable, no
  // regular file (a FIFO, a device, a folder: refused at once, never waited on), not
  // well-formed, carries a document type declaration (option files never need one, and
  // refusing it closes external-entity and entity-expansion attacks), or has its root element
  // in a namespace (the program's files never do). Never touches the network.
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
