#pragma once

// A property-list file held as the platform's own tree, for a tool that
// changes top-level keys and must write every other value back exactly as it
// was read, whatever its type or range: dates beyond what Date holds, integers
// above INT64_MAX, text with a NUL. Nothing untouched goes through Value, and
// the file keeps its format: binary stays binary, XML stays XML.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/plist.h"

namespace platform::plist {

class Document {
 public:
  // The file at a device path, read as read() does; nothing, with the reason
  // in *why, unless its top level is a dictionary.
  static std::optional<Document> read(std::string_view devicePath, std::string* why);
  Document(Document&&) noexcept;
  Document& operator=(Document&&) noexcept;
  ~Document();

  // The whole dictionary, or one top-level value, as Values for showing.
  Dictionary entries() const;
  std::optional<Value> find(std::string_view key) const;

  void set(std::string_view key, const Value& value);
  void erase(std::string_view key);

  // Why the file, as it now stands, cannot be written back without changing
  // a value, or nothing: in XML, text with a control character XML cannot
  // carry, or a real -0 (written as 0); in binary, 8-bit text with a NUL
  // (which the parser keeps only up to the NUL).
  std::optional<std::string> whyNotRewritable() const;
  // Writes the file back in the format it was read in, as write() does.
  WriteResult write(std::string_view devicePath, std::optional<Owner> owner) const;

 private:
  struct Tree;
  explicit Document(std::unique_ptr<Tree> tree);
  std::unique_ptr<Tree> tree_;
};

}  // namespace platform::plist
