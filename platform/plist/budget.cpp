// The budget check: a walk over the binary object table, or over the XML tags,
// that counts without building anything.

#include "platform/plist/budget.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform::plist {

std::uint64_t bigEndian(const unsigned char* bytes, std::size_t width) {
  std::uint64_t n = 0;
  for (std::size_t i = 0; i < width; ++i) n = (n << 8) | bytes[i];
  return n;
}

// --- Binary ------------------------------------------------------------------

std::optional<BinaryTable> BinaryTable::of(std::string_view bytes) {
  std::size_t size = bytes.size();
  if (size < 8 + 32) return std::nullopt;
  BinaryTable t;
  t.data_ = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* trailer = t.data_ + size - 32;
  t.offsetWidth_ = trailer[6];
  t.refWidth_ = trailer[7];
  std::uint64_t count = bigEndian(trailer + 8, 8), top = bigEndian(trailer + 16, 8), table = bigEndian(trailer + 24, 8);
  if (t.offsetWidth_ < 1 || t.offsetWidth_ > 8 || t.refWidth_ < 1 || t.refWidth_ > 8 || count == 0 || top >= count ||
      table < 8 || table >= size - 32 || count > (size - 32 - table) / t.offsetWidth_)
    return std::nullopt;
  t.tableStart_ = table;
  t.count_ = count;
  t.top_ = top;
  return t;
}

std::optional<BinaryTable::Object> BinaryTable::object(std::uint64_t index) const {
  if (index >= count_) return std::nullopt;
  std::uint64_t offset = bigEndian(data_ + tableStart_ + index * offsetWidth_, offsetWidth_);
  if (offset < 8 || offset >= tableStart_) return std::nullopt;
  Object o;
  o.kind = data_[offset] >> 4;
  o.length = data_[offset] & 0xF;
  std::uint64_t body = offset + 1;
  if (o.length == 0xF && (o.kind == kData || o.kind == kString || o.kind == kUtf16 || isContainer(o.kind))) {
    if (body >= tableStart_ || data_[body] >> 4 != kInteger || (data_[body] & 0xF) > 3) return std::nullopt;
    std::size_t width = std::size_t{1} << (data_[body] & 0xF);
    if (body + 1 + width > tableStart_) return std::nullopt;
    o.length = bigEndian(data_ + body + 1, width);
    body += 1 + width;
  }
  o.body = data_ + body;
  std::uint64_t room = tableStart_ - body;
  if (isContainer(o.kind) && o.length > room / refWidth_ / (o.kind == kDict ? 2 : 1)) return std::nullopt;
  if ((o.kind == kString && o.length > room) || (o.kind == kUtf16 && o.length > room / 2)) return std::nullopt;
  return o;
}

std::uint64_t BinaryTable::reference(const Object& o, std::uint64_t i) const {
  return bigEndian(o.body + i * refWidth_, refWidth_);
}

bool BinaryTable::isContainer(unsigned char kind) {
  return kind == kArray || kind == kOrderedSet || kind == kSet || kind == kDict;
}

bool BinaryTable::holdsNul(const Object& o) {
  if (o.kind == kString) return std::memchr(o.body, 0, o.length) != nullptr;
  if (o.kind == kUtf16)
    for (std::uint64_t i = 0; i < o.length; ++i)
      if (o.body[2 * i] == 0 && o.body[2 * i + 1] == 0) return true;
  return false;
}

namespace {

const std::string kTooDeep = "nested deeper than " + std::to_string(kMaxDepth) + " levels";

// Depth first from the top object with an explicit stack, never deeper than
// kMaxDepth. Each object's expanded size is worked out once and remembered,
// so a shared object costs its size at every use without being walked again;
// an object met again while still open is a cycle. cutAtNul is set for 8-bit
// text with a NUL inside.
std::optional<std::string> scanBinary(const BinaryTable& table, std::uint64_t budget, bool& cutAtNul) {
  enum class State : unsigned char { unseen, open, done };
  struct Frame {
    std::uint64_t index;
    BinaryTable::Object object;
    std::uint64_t nextChild = 0;
  };
  const std::uint64_t top = table.top(), count = table.count();
  std::vector<State> state(count, State::unseen);
  std::vector<std::uint64_t> values(count, 0);  // expanded count, capped just above the budget
  std::vector<Frame> stack;
  auto add = [&](std::uint64_t& total, std::uint64_t more) { total = std::min(total + more, budget + 1); };
  // Scalars are done at once; containers go on the stack, which is the
  // nesting, so it never holds more than kMaxDepth of them.
  auto enter = [&](std::uint64_t index) -> std::optional<std::string> {
    if (index >= count) return kNotAList;
    if (state[index] == State::open) return std::string("refers to itself");
    if (state[index] == State::done) return std::nullopt;
    auto o = table.object(index);
    if (!o) return kNotAList;
    values[index] = 1;
    if (!BinaryTable::isContainer(o->kind)) {
      if (o->kind == BinaryTable::kString && BinaryTable::holdsNul(*o)) cutAtNul = true;
      state[index] = State::done;
      return std::nullopt;
    }
    if (stack.size() == kMaxDepth) return kTooDeep;
    state[index] = State::open;
    stack.push_back({index, *o});
    return std::nullopt;
  };
  if (auto problem = enter(top)) return problem;
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const BinaryTable::Object& o = frame.object;
    bool isDict = o.kind == BinaryTable::kDict;
    if (frame.nextChild == o.length * (isDict ? 2 : 1)) {
      std::uint64_t finished = frame.index;
      state[finished] = State::done;
      stack.pop_back();
      if (!stack.empty()) add(values[stack.back().index], values[finished]);
      continue;
    }
    std::uint64_t child = table.reference(o, frame.nextChild);
    bool isKey = isDict && frame.nextChild < o.length;
    ++frame.nextChild;
    if (isKey) {
      auto key = table.object(child);
      if (!key || (key->kind != BinaryTable::kString && key->kind != BinaryTable::kUtf16)) return kNotAList;
      if (BinaryTable::holdsNul(*key)) return std::string("a dictionary key holds a NUL character");
      add(values[frame.index], 1);
      continue;
    }
    std::uint64_t parent = frame.index;  // frame may move when enter grows the stack
    if (auto problem = enter(child)) return problem;
    if (state[child] == State::done) add(values[parent], values[child]);
  }
  if (values[top] > budget)
    return "its shared references expand to more than " + std::to_string(budget) + " values, one per byte";
  return std::nullopt;
}

// --- XML ---------------------------------------------------------------------
//
// Only the nesting needs counting: XML cannot share, so every value costs its
// own tags. Comments, CDATA, processing instructions and the DOCTYPE are
// stepped over, so tags written inside them count for nothing.

std::optional<std::string> xmlProblem(std::string_view xml) {
  if (xml.find('\0') != std::string_view::npos) return std::string("holds a NUL byte, which XML never does");
  std::size_t depth = 0;
  auto skipPast = [&](std::size_t from, std::string_view end) {
    std::size_t at = xml.find(end, from);
    return at == std::string_view::npos ? xml.size() : at + end.size();
  };
  auto isContainerTag = [&](std::size_t nameStart) {
    for (std::string_view name : {"array", "dict"}) {
      if (xml.compare(nameStart, name.size(), name) != 0) continue;
      std::size_t after = nameStart + name.size();
      if (after < xml.size() && std::strchr(" \t\r\n/>", xml[after])) return true;
    }
    return false;
  };
  // What is stepped over, by its opening and its end; the DOCTYPE's "<!" last.
  constexpr struct {
    std::string_view opening, end;
  } kSkipped[] = {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}, {"<!", ">"}};
  for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at)) {
    std::string_view rest = xml.substr(at);
    auto skipped = std::find_if(std::begin(kSkipped), std::end(kSkipped),
                                [&](const auto& skip) { return rest.starts_with(skip.opening); });
    if (skipped != std::end(kSkipped)) {
      at = skipPast(at + skipped->opening.size(), skipped->end);
      continue;
    }
    std::size_t end = skipPast(at + 1, ">");
    if (rest.starts_with("</")) {
      if (isContainerTag(at + 2) && depth > 0) --depth;
    } else if (isContainerTag(at + 1) && xml[end - 2] != '/') {
      if (++depth > kMaxDepth) return kTooDeep;
    }
    at = end;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> budgetProblem(std::string_view bytes, bool* cutAtNul) {
  if (bytes.starts_with("bplist")) {
    auto table = BinaryTable::of(bytes);
    if (!table) return kNotAList;
    bool nul = false;
    auto problem = scanBinary(*table, bytes.size(), nul);
    if (cutAtNul) *cutAtNul = nul;
    return problem;
  }
  return xmlProblem(bytes);
}

}  // namespace platform::plist
