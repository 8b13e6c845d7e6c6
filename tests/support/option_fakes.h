// What the option window's and the place card's logic tests share: a fake window of a logic's
// view, the shell, a document that counts its nodes, and a fixture with an option file in a
// folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_replace.h"
#include "platform/shell.h"
#include "platform/xml_document.h"
#include "tests/support/temp_dir.h"

namespace tolvex::test {

struct Message {
  std::string text;
  std::string title;
  bool operator==(const Message&) const = default;
};

// A window of a logic's view interface: what it shows, its messages, and whether it closed.
template <typename View, typename Form, typename Events>
class FakeWindow : public View {
 public:
  Form form;
  std::vector<Message> messages;
  bool closed = false;
  Events* events = nullptr;

  void Show(const Form& shown) override { form = shown; }
  Form Read() const override { return form; }
  void ShowError(std::string_view text, std::string_view title) override {
    messages.push_back({std::string(text), std::string(title)});
  }
  void Close() override {
    closed = true;
    if (events != nullptr) events->OnUnload();
  }
};

class FakeShell final : public platform::Shell {
 public:
  std::vector<std::pair<std::string, std::optional<std::string>>> opened;
  platform::ShellResult result = platform::ShellResult::kNothingStarted;
  bool SchemeOpensThisProgram(std::string_view scheme) override { return scheme == "tolvex"; }
  platform::ShellOutcome Open(std::string_view file,
                              const std::optional<std::string>& directory) override {
    opened.emplace_back(std::string(file), directory);
    return result;  // by default nothing: a missing manual changes nothing
  }
};

// The platform's document, counting the nodes that it and its nodes hand out: `orphans` grows
// by those still alive when the document goes. A node must not outlive its document, and the
// window's Close unloads the document at once.
class NodeCountingDocument final : public platform::XmlDocument {
 public:
  explicit NodeCountingDocument(int& orphans) : orphans_(orphans) {}
  ~NodeCountingDocument() override { orphans_ += *live_; }
  NodeCountingDocument(const NodeCountingDocument&) = delete;
  NodeCountingDocument& operator=(const NodeCountingDocument&) = delete;

  bool Load(const std::string& path) override { return document_->Load(path); }
  std::unique_ptr<platform::XmlNode> SelectSingleNode(std::string_view xpath) const override {
    return Counted(document_->SelectSingleNode(xpath), live_);
  }
  std::vector<std::unique_ptr<platform::XmlNode>> SelectNodes(
      std::string_view xpath) const override {
    auto nodes = document_->SelectNodes(xpath);
    for (auto& node : nodes) node = Counted(std::move(node), live_);
    return nodes;
  }
  std::optional<std::string> Serialize() const override { return document_->Serialize(); }

 private:
  class Node final : public platform::XmlNode {
   public:
    Node(std::unique_ptr<platform::XmlNode> node, std::shared_ptr<int> live)
        : node_(std::move(node)), live_(std::move(live)) {
      ++*live_;
    }
    ~Node() override { --*live_; }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    std::string Text() const override { return node_->Text(); }
    bool SetText(std::string_view text) override { return node_->SetText(text); }
    bool SetAttribute(std::string_view name, std::string_view value) override {
      return node_->SetAttribute(name, value);
    }
    bool RemoveAttribute(std::string_view name) override { return node_->RemoveAttribute(name); }
    std::unique_ptr<platform::XmlNode> AppendElement(std::string_view name,
                                                     std::string_view text_before) override {
      return Counted(node_->AppendElement(name, text_before), live_);
    }
    bool Remove() override { return node_->Remove(); }
    std::unique_ptr<platform::XmlNode> SelectSingleNode(std::string_view xpath) const override {
      return Counted(node_->SelectSingleNode(xpath), live_);
    }

   private:
    std::unique_ptr<platform::XmlNode> node_;
    std::shared_ptr<int> live_;
  };

  static std::unique_ptr<platform::XmlNode> Counted(std::unique_ptr<platform::XmlNode> node,
                                                    const std::shared_ptr<int>& live) {
    if (node == nullptr) return nullptr;
    return std::make_unique<Node>(std::move(node), live);
  }

  int& orphans_;
  std::shared_ptr<int> live_ = std::make_shared<int>(0);
  std::unique_ptr<platform::XmlDocument> document_ = platform::CreateXmlDocument();
};

const Message kCantSave{"Can't Save Option File", "TolVex Gateway: Error"};
// The ids of the two options of the files that both tests load.
const std::vector<std::string> kViewerAtlas = {"Viewer", "Atlas"};

// The shell, and an option file in a folder of the test's own; the save's file replacement is
// real until a test makes it fail. No node may outlive its document.
class OptionFileTest : public ::testing::Test {
 protected:
  std::string File() const { return ReadFile(path_); }
  void TearDown() override { EXPECT_EQ(orphaned_nodes_, 0) << "a node outlived its document"; }

  TempDir dir_;
  const std::string path_ = dir_.File("tolvexgwoption.xml");
  FakeShell shell_;
  std::function<bool(const std::string&, std::string_view)> replace_file_ =
      [](const std::string& path, std::string_view data) {
        return platform::ReplaceFileContents(path, data);
      };
  int orphaned_nodes_ = 0;
};

}  // namespace tolvex::test
