// Property-list files: bytes become values through libplist and values bytes,
// each exactly; files are read within the budgets and replaced atomically.

#include <plist/plist.h>

#include <bit>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/device_path.h"
#include "platform/file.h"
#include "platform/plist/budget.h"
#include "platform/plist/plist.h"
#include "platform/text.h"

namespace platform::plist {
namespace {

using Node = std::unique_ptr<void, decltype(&plist_free)>;

// --- One object in its binary form -------------------------------------------
//
// libplist's getters give some values short (a date's seconds in 32 bits, an
// integer without its sign) and its makers cannot make others (an unsigned
// integer above INT64_MAX, a date to the bit, text holding a NUL). The binary
// form of the one object carries each whole: a one-object list is "bplist00",
// the object, an offset table of one entry and the 32-byte trailer.

std::string bigEndianBytes(std::uint64_t n, std::size_t width) {
  std::string out(width, '\0');
  for (std::size_t i = width; i-- > 0; n >>= 8) out[i] = static_cast<char>(n & 0xff);
  return out;
}

// The object's bytes as libplist writes the node on its own.
std::string encodingOf(plist_t node) {
  Node copy(plist_copy(node), plist_free);
  char* bytes = nullptr;  // libplist leaves it alone unless it starts as NULL
  uint32_t length = 0;
  plist_to_bin(copy.get(), &bytes, &length);
  std::string list = bytes ? std::string(bytes, length) : std::string();
  plist_to_bin_free(bytes);
  if (list.size() < 8 + 32) return {};
  std::uint64_t table = bigEndian(reinterpret_cast<const unsigned char*>(list.data()) + list.size() - 8, 8);
  return table > 8 && table <= list.size() - 32 ? list.substr(8, table - 8) : std::string();
}

Node nodeOfEncoding(std::string_view object) {
  std::string list = "bplist00" + std::string(object) + '\x08' + std::string(6, '\0') + "\x01\x01" +
                     bigEndianBytes(1, 8) + bigEndianBytes(0, 8) + bigEndianBytes(8 + object.size(), 8);
  plist_t node = nullptr;  // libplist leaves it alone unless it starts as NULL
  plist_from_bin(list.data(), static_cast<uint32_t>(list.size()), &node);
  return Node(node, plist_free);
}

// A binary object's marker with its length, which takes an integer object of
// its own from 15 on.
std::string marker(unsigned char kind, std::uint64_t length) {
  if (length < 15) return std::string(1, static_cast<char>(kind << 4 | length));
  return std::string(1, static_cast<char>(kind << 4 | 0xF)) + "\x13" + bigEndianBytes(length, 8);
}

// --- libplist's tree to values --------------------------------------------------

// Where a node stands in a binary file, when the tree needs the file beside
// it: libplist keeps 8-bit text only up to a NUL, where the file holds it
// whole, so such text is taken from the file. Null elsewhere.
struct InFile {
  const BinaryTable* table;
  std::uint64_t index;
};

std::optional<Value> fromNode(plist_t node, const InFile* at);

// The child of a container in the file, checked to be what the tree holds
// there: the walk beside the tree stops at the first disagreement.
std::optional<InFile> childInFile(const InFile* at, std::uint64_t count, std::uint64_t i, bool dictionaryValue) {
  auto container = at->table->object(at->index);
  if (!container || container->length != count) return std::nullopt;
  return InFile{at->table, at->table->reference(*container, dictionaryValue ? count + i : i)};
}

// libplist keeps a key that a file holds twice; a dictionary holds it once:
// the later value, in the earlier place.
Dictionary withoutRepeatedKeys(std::vector<DictionaryEntry> entries) {
  std::unordered_map<std::string_view, std::size_t> place;  // of each key among the entries kept
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    auto [at, isNew] = place.try_emplace(entries[i].key, kept.size());
    if (isNew) kept.push_back(i);
    else entries[kept[at->second]].value = std::move(entries[i].value);
  }
  Dictionary dictionary;
  dictionary.reserve(kept.size());
  for (std::size_t i : kept) dictionary.add(std::move(entries[i].key), std::move(entries[i].value));
  return dictionary;
}

std::optional<Value> arrayFromNode(plist_t node, const InFile* at) {
  Array array;
  uint32_t count = plist_array_get_size(node);
  array.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    std::optional<InFile> child;
    if (at && !(child = childInFile(at, count, i, false))) return std::nullopt;
    auto element = fromNode(plist_array_get_item(node, i), at ? &*child : nullptr);
    if (!element) return std::nullopt;
    array.push_back(std::move(*element));
  }
  return Value(std::move(array));
}

std::optional<Value> dictionaryFromNode(plist_t node, const InFile* at) {
  std::vector<DictionaryEntry> entries;
  uint32_t count = plist_dict_get_size(node);
  entries.reserve(count);
  plist_dict_iter it = nullptr;
  plist_dict_new_iter(node, &it);
  std::unique_ptr<void, decltype(&free)> iterator(it, free);
  for (uint32_t i = 0;; ++i) {
    // The budget check refused keys with a NUL, the one kind this call would
    // abort on.
    char* key = nullptr;
    plist_t item = nullptr;
    plist_dict_next_item(node, it, &key, &item);
    std::unique_ptr<char, decltype(&free)> name(key, free);
    if (!item) break;
    std::optional<InFile> child;
    if (at && !(child = childInFile(at, count, i, true))) return std::nullopt;
    auto element = fromNode(item, at ? &*child : nullptr);
    if (!element) return std::nullopt;
    entries.push_back({key ? key : "", std::move(*element)});
  }
  return Value(withoutRepeatedKeys(std::move(entries)));
}

// The value of a tree from parse (so no deeper than kMaxDepth, the depth that
// bounds this recursion).
std::optional<Value> fromNode(plist_t node, const InFile* at) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      uint64_t u = 0;
      plist_get_uint_val(node, &u);
      // Stored unsigned, meant signed, unless the file held it in sixteen
      // bytes, as only an integer above INT64_MAX is.
      if (u > static_cast<uint64_t>(INT64_MAX) && encodingOf(node).starts_with('\x14')) return Value(u);
      return Value(static_cast<std::int64_t>(u));
    }
    case PLIST_UID: {
      uint64_t u = 0;
      plist_get_uid_val(node, &u);
      return Value(Uid{u});
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return Value(d);
    }
    case PLIST_STRING: {
      if (at) {
        auto text = at->table->object(at->index);
        if (text && text->kind == BinaryTable::kString && BinaryTable::holdsNul(*text))
          return Value(std::string(reinterpret_cast<const char*>(text->body), text->length));
      }
      // The pointer and length, not plist_get_string_val: that one aborts on
      // a string holding a NUL, which binary lists may well carry.
      uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      return Value(s ? std::string(s, length) : std::string());
    }
    case PLIST_DATA: {
      uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return Value(bytes ? Data(bytes, bytes + length) : Data());
    }
    case PLIST_DATE: {
      // "\x33" and the seconds as a big-endian double.
      std::string encoding = encodingOf(node);
      if (encoding.size() != 9 || encoding[0] != '\x33') return std::nullopt;
      std::uint64_t bits = bigEndian(reinterpret_cast<const unsigned char*>(encoding.data()) + 1, 8);
      return Value(Date{std::bit_cast<double>(bits)});
    }
    case PLIST_ARRAY: return arrayFromNode(node, at);
    case PLIST_DICT: return dictionaryFromNode(node, at);
    default: return std::nullopt;
  }
}

// --- Values to libplist's tree --------------------------------------------------

// Why value cannot be written in the format without changing it, or nothing.
// Worked out without recursion, since a value made in memory may be as deep
// as memory allows.
std::optional<std::string> whyUnwritable(const Value& value, Format format) {
  // XML dates are written to the second, their years in four digits only
  // from 1000 to 9999: 1000-01-01 to 9999-12-31, in seconds from 2001.
  constexpr double kFirstXmlDate = -31588531200.0, kEndOfXmlDates = 252423993600.0;
  struct Pending {
    const Value* value;
    std::size_t depth;  // of the arrays and dictionaries around it, itself included
  };
  const bool xml = format == Format::xml;
  std::vector<Pending> pending{{&value, 1}};
  while (!pending.empty()) {
    auto [v, depth] = pending.back();
    pending.pop_back();
    if (const std::string* text = v->get<std::string>()) {
      if (xml && holdsControlXmlCannotCarry(*text))
        return "it holds text with a control character that XML cannot carry";
      if (!xml && text->find('\0') != std::string::npos && !isValidUtf8(*text))
        return "it holds text with a NUL character that is not UTF-8";
    }
    if (const Date* date = v->get<Date>();
        date && xml && !(date->secondsSince2001 >= kFirstXmlDate && date->secondsSince2001 < kEndOfXmlDates))
      return "it holds a date that XML cannot carry";
    if ((v->is<Array>() || v->is<Dictionary>()) && depth > kMaxDepth)
      return "it is nested deeper than " + std::to_string(kMaxDepth) + " levels";
    if (const Array* array = v->get<Array>())
      for (const Value& element : *array) pending.push_back({&element, depth + 1});
    if (const Dictionary* dictionary = v->get<Dictionary>())
      for (const auto& entry : dictionary->entries()) {
        if (xml && holdsControlXmlCannotCarry(entry.key))
          return "it holds a key with a control character that XML cannot carry";
        if (!xml && entry.key.find('\0') != std::string::npos) return "it holds a key with a NUL character";
        pending.push_back({&entry.value, depth + 1});
      }
  }
  return std::nullopt;
}

// A new tree for a value that whyUnwritable passed; the caller owns it.
plist_t toNode(const Value& value) {
  return std::visit(
      [](const auto& v) -> plist_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return plist_new_bool(v);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return plist_new_uint(static_cast<uint64_t>(v));
        } else if constexpr (std::is_same_v<T, std::uint64_t>) {
          // Sixteen bytes, the upper eight zero: unsigned in either format.
          return nodeOfEncoding("\x14" + std::string(8, '\0') + bigEndianBytes(v, 8)).release();
        } else if constexpr (std::is_same_v<T, double> || std::is_same_v<T, float>) {
          return plist_new_real(static_cast<double>(v));
        } else if constexpr (std::is_same_v<T, std::string>) {
          if (v.find('\0') == std::string::npos) return plist_new_string(v.c_str());
          // Made from UTF-16, which libplist reads whole; whyUnwritable let
          // only UTF-8 through.
          std::string text;
          std::u16string units = *utf16Units(v, false);
          for (char16_t unit : units) text += bigEndianBytes(unit, 2);
          return nodeOfEncoding(marker(BinaryTable::kUtf16, text.size() / 2) + text).release();
        } else if constexpr (std::is_same_v<T, Data>) {
          return plist_new_data(reinterpret_cast<const char*>(v.data()), v.size());
        } else if constexpr (std::is_same_v<T, Date>) {
          return nodeOfEncoding("\x33" + bigEndianBytes(std::bit_cast<std::uint64_t>(v.secondsSince2001), 8)).release();
        } else if constexpr (std::is_same_v<T, Uid>) {
          return plist_new_uid(v.value);
        } else if constexpr (std::is_same_v<T, Array>) {
          plist_t array = plist_new_array();
          for (const auto& element : v) plist_array_append_item(array, toNode(element));
          return array;
        } else {
          static_assert(std::is_same_v<T, Dictionary>);
          plist_t dict = plist_new_dict();
          for (const auto& entry : v.entries()) plist_dict_set_item(dict, entry.key.c_str(), toNode(entry.value));
          return dict;
        }
      },
      value.storage());
}

}  // namespace

// --- Bytes and files ----------------------------------------------------------

std::optional<Value> parse(std::string_view bytes, std::string* why) {
  auto refuse = [&](std::string reason) -> std::optional<Value> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  if (bytes.empty() || bytes.size() > UINT32_MAX) return refuse(kNotAList);
  bool cutAtNul = false;
  if (auto problem = budgetProblem(bytes, &cutAtNul)) return refuse(std::move(*problem));
  plist_t root = nullptr;  // libplist leaves it alone unless it starts as NULL
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  if (!root) return refuse(kNotAList);
  Node tree(root, plist_free);
  std::optional<BinaryTable> table = cutAtNul ? BinaryTable::of(bytes) : std::nullopt;
  std::optional<InFile> top = table ? std::optional<InFile>(InFile{&*table, table->top()}) : std::nullopt;
  std::optional<Value> value = fromNode(root, top ? &*top : nullptr);
  if (!value) return refuse(kNotAList);
  return value;
}

std::optional<Encoded> encode(const Value& value, Format format, std::string* why) {
  if (auto problem = whyUnwritable(value, format)) {
    if (why) *why = std::move(*problem);
    return std::nullopt;
  }
  Node root(toNode(value), plist_free);
  char* bytes = nullptr;  // libplist leaves it alone unless it starts as NULL
  uint32_t length = 0;
  if (format == Format::binary) plist_to_bin(root.get(), &bytes, &length);
  else plist_to_xml(root.get(), &bytes, &length);
  Encoded file{bytes ? std::string(bytes, length) : std::string()};
  if (format == Format::binary) plist_to_bin_free(bytes);
  else plist_to_xml_free(bytes);
  if (file.bytes.empty()) {
    if (why) *why = "it cannot be written";
    return std::nullopt;
  }
  return file;
}

std::string toXml(const Value& value) {
  auto file = encode(value, Format::xml);
  return file ? std::move(file->bytes) : std::string();
}

std::optional<Value> read(std::string_view devicePath, std::string* why) {
  auto bytes = readRegularFile(hostPath(devicePath), kMaxFileSize, why);
  if (!bytes) return std::nullopt;
  return parse(*bytes, why);
}

std::optional<Dictionary> readDictionary(std::string_view devicePath, std::string* why) {
  auto document = Document::read(devicePath, why);
  if (!document) return std::nullopt;
  return std::move(document->entries());
}

std::optional<Document> Document::read(std::string_view devicePath, std::string* why) {
  auto bytes = readRegularFile(hostPath(devicePath), kMaxFileSize, why);
  if (!bytes) return std::nullopt;
  auto value = parse(*bytes, why);
  if (value && !value->is<Dictionary>() && why) *why = "not a dictionary";
  if (!value || !value->is<Dictionary>()) return std::nullopt;
  bool binary = plist_is_binary(bytes->data(), static_cast<uint32_t>(bytes->size()));
  return Document{std::move(*value), binary ? Format::binary : Format::xml};
}

WriteResult write(std::string_view devicePath, const Encoded& file, std::optional<Owner> owner) {
  return writeAtomically(hostPath(devicePath), file.bytes, owner);
}

WriteResult write(std::string_view devicePath, const Value& value, std::optional<Owner> owner) {
  auto file = encode(value, Format::xml);
  return file ? write(devicePath, *file, owner) : WriteResult::failed;
}

}  // namespace platform::plist
