#include "platform/plist_document.h"

#include <cmath>
#include <cstdlib>

#include "platform/device_path.h"
#include "platform/plist_node.h"
#include "platform/text.h"

namespace platform::plist {

struct Document::Tree {
  Node root;
  bool binary;
  bool cutAtNul;  // the parser kept some text only up to a NUL
};

Document::Document(std::unique_ptr<Tree> tree) : tree_(std::move(tree)) {}
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;
Document::~Document() = default;

std::optional<Document> Document::read(std::string_view devicePath, std::string* why) {
  auto bytes = readRegularFile(hostPath(devicePath), kMaxFileSize, why);
  if (!bytes) return std::nullopt;
  bool cutAtNul = false;
  Node root = parseTree(*bytes, why, &cutAtNul);
  if (!root) return std::nullopt;
  if (plist_get_node_type(root.get()) != PLIST_DICT) {
    if (why) *why = "not a dictionary";
    return std::nullopt;
  }
  bool binary = plist_is_binary(bytes->data(), static_cast<uint32_t>(bytes->size()));
  return Document(std::make_unique<Tree>(Tree{std::move(root), binary, cutAtNul}));
}

Dictionary Document::entries() const {
  auto value = fromNode(tree_->root.get());
  return value && value->is<Dictionary>() ? std::move(*value->get<Dictionary>()) : Dictionary{};
}

std::optional<Value> Document::find(std::string_view key) const {
  plist_t item = plist_dict_get_item(tree_->root.get(), std::string(key).c_str());
  if (!item) return std::nullopt;
  return fromNode(item);
}

void Document::set(std::string_view key, const Value& value) {
  plist_dict_set_item(tree_->root.get(), std::string(key).c_str(), toNode(value));
}

void Document::erase(std::string_view key) {
  std::string name(key);
  if (plist_dict_get_item(tree_->root.get(), name.c_str())) plist_dict_remove_item(tree_->root.get(), name.c_str());
}

namespace {

// The first value below node that the format cannot carry back; recursion is
// bounded by kMaxDepth, which the reader enforced.
std::optional<std::string> unkeepable(plist_t node, bool binary) {
  switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      std::string_view text(s ? s : "", s ? length : 0);
      if (!binary && holdsControlXmlCannotCarry(text)) return "it holds text with a control character that XML cannot carry";
      return std::nullopt;
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      if (!binary && d == 0 && std::signbit(d)) return "it holds the real number -0, which XML would write as 0";
      return std::nullopt;
    }
    case PLIST_ARRAY: {
      for (uint32_t i = 0, n = plist_array_get_size(node); i < n; ++i)
        if (auto problem = unkeepable(plist_array_get_item(node, i), binary)) return problem;
      return std::nullopt;
    }
    case PLIST_DICT: {
      plist_dict_iter it = nullptr;
      plist_dict_new_iter(node, &it);
      std::optional<std::string> problem;
      for (;;) {
        char* key = nullptr;  // never with a NUL: the reader refused those
        plist_t item = nullptr;
        plist_dict_next_item(node, it, &key, &item);
        std::unique_ptr<char, decltype(&free)> owned(key, free);
        if (!item) break;
        if (!binary && key && holdsControlXmlCannotCarry(key))
          problem = "it holds a key with a control character that XML cannot carry";
        else
          problem = unkeepable(item, binary);
        if (problem) break;
      }
      free(it);
      return problem;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> Document::whyNotRewritable() const {
  // Reported even when the text is under the key being replaced: the tree
  // cannot tell which text it was.
  if (tree_->cutAtNul) return "it holds text with a NUL character, which would be cut short";
  return unkeepable(tree_->root.get(), tree_->binary);
}

WriteResult Document::write(std::string_view devicePath, std::optional<Owner> owner) const {
  char* bytes = nullptr;  // libplist leaves it alone unless it starts as NULL
  uint32_t length = 0;
  if (tree_->binary)
    plist_to_bin(tree_->root.get(), &bytes, &length);
  else
    plist_to_xml(tree_->root.get(), &bytes, &length);
  if (!bytes) return WriteResult::failed;
  std::string text(bytes, length);
  if (tree_->binary)
    plist_to_bin_free(bytes);
  else
    plist_to_xml_free(bytes);
  return writeAtomically(hostPath(devicePath), text, owner);
}

}  // namespace platform::plist
