// 64-bit ARM: the entry gets adrp of the stub's page (the stub is within
// 4 GiB, at the start of its page) and a branch through x17 (IP1, which the
// linker's veneers use at any call too): two instructions, as functions of
// two or three instructions are common here.
// The moved instructions that are relative to their own address (branches,
// compare-and-branch, test-and-branch, adr, adrp, literal loads) are
// written as absolute forms that do the same from the trampoline.

#include <string>

#include "disassembler.h"
#include "relocation.h"

namespace substrate {

// adrp reaches 4 GiB either way, from the page of the instruction.
const std::uintptr_t kStubReach = (std::uintptr_t{1} << 32) - (std::uintptr_t{1} << 20);

namespace {

constexpr std::uint32_t kLoadX17Literal8 = 0x58000051;  // ldr x17, #8
constexpr std::uint32_t kBranchX17 = 0xD61F0220;        // br x17
constexpr std::uint32_t kCallX17 = 0xD63F0220;          // blr x17
constexpr std::uint32_t kSkipLiteral = 0x14000003;      // b #12: over the 8 bytes behind it

void appendWord(std::vector<std::uint8_t>& code, std::uint32_t word) {
  for (int i = 0; i < 4; ++i) code.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
}

void appendAddress(std::vector<std::uint8_t>& code, std::uint64_t value) {
  appendWord(code, static_cast<std::uint32_t>(value));
  appendWord(code, static_cast<std::uint32_t>(value >> 32));
}

void appendJump(std::vector<std::uint8_t>& code, std::uint64_t target) {
  appendWord(code, kLoadX17Literal8);
  appendWord(code, kBranchX17);
  appendAddress(code, target);
}

// reg = value, by a load of the value from behind a branch over it.
void appendValue(std::vector<std::uint8_t>& code, unsigned reg, std::uint64_t value) {
  appendWord(code, 0x58000040 | reg);  // ldr reg, #8
  appendWord(code, kSkipLiteral);
  appendAddress(code, value);
}

std::int64_t signExtend(std::uint64_t value, unsigned bits) {
  std::uint64_t sign = std::uint64_t{1} << (bits - 1);
  return static_cast<std::int64_t>((value ^ sign) - sign);
}

std::uint32_t wordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

// The load from [x17] that a literal load becomes, by its opc and V fields;
// 0 for a prefetch, which is a hint and is dropped.
std::uint32_t loadThroughX17(std::uint32_t word) {
  static constexpr std::uint32_t kLoads[2][4] = {
      {0xB9400000, 0xF9400000, 0xB9800000, 0},  // ldr w, ldr x, ldrsw x, prfm
      {0xBD400000, 0xFD400000, 0x3DC00000, 0},  // ldr s, ldr d, ldr q
  };
  std::uint32_t load = kLoads[word >> 26 & 1][word >> 30];
  return load ? load | 17 << 5 | (word & 31) : 0;
}

// Appends the instruction at pc as it must be written in the copy; false
// when it cannot be.
bool appendMoved(std::uint32_t word, std::uint64_t pc, std::vector<std::uint8_t>& code, std::string& refusal) {
  if ((word & 0x7C000000) == 0x14000000) {  // b, bl
    std::uint64_t target = pc + 4 * signExtend(word & 0x03FFFFFF, 26);
    if (word & 0x80000000) {
      appendWord(code, kLoadX17Literal8);
      appendWord(code, kSkipLiteral);
      appendAddress(code, target);
      appendWord(code, kCallX17);
    } else {
      appendJump(code, target);
    }
    return true;
  }
  // The conditional branches skip the jump to their target on the opposite
  // condition: b.cond (the condition's lowest bit), cbz/cbnz and tbz/tbnz
  // (bit 24), each with an offset of 5 instructions.
  std::uint64_t target = 0;
  std::uint32_t opposite = 0;
  if ((word & 0xFF000010) == 0x54000000) {
    if ((word & 0xE) == 0xE) {
      refusal = "a branch on the condition always among its first instructions";
      return false;
    }
    target = pc + 4 * signExtend(word >> 5 & 0x7FFFF, 19);
    opposite = (word & 0xFF00001F) ^ 1;
  } else if ((word & 0x7E000000) == 0x34000000) {
    target = pc + 4 * signExtend(word >> 5 & 0x7FFFF, 19);
    opposite = (word & 0xFF00001F) ^ 1 << 24;
  } else if ((word & 0x7E000000) == 0x36000000) {
    target = pc + 4 * signExtend(word >> 5 & 0x3FFF, 14);
    opposite = (word & 0xFFF8001F) ^ 1 << 24;
  }
  if (opposite) {
    appendWord(code, opposite | 5 << 5);
    appendJump(code, target);
    return true;
  }
  if ((word & 0x1F000000) == 0x10000000) {  // adr, adrp
    std::int64_t immediate = signExtend((word >> 5 & 0x7FFFF) << 2 | (word >> 29 & 3), 21);
    bool page = word & 0x80000000;
    appendValue(code, word & 31, page ? (pc & ~std::uint64_t{0xFFF}) + (immediate << 12) : pc + immediate);
    return true;
  }
  if ((word & 0x3B000000) == 0x18000000) {  // a literal load
    std::uint64_t address = pc + 4 * signExtend(word >> 5 & 0x7FFFF, 19);
    std::uint32_t load = loadThroughX17(word);
    if (!load) return true;
    appendValue(code, 17, address);
    appendWord(code, load);
    return true;
  }
  appendWord(code, word);
  return true;
}

// Whether execution cannot go on past the instruction.
bool endsFlow(const cs_insn& instruction) {
  switch (instruction.id) {
    case ARM64_INS_B: {
      arm64_cc cc = instruction.detail->arm64.cc;
      return cc == ARM64_CC_INVALID || cc == ARM64_CC_AL;
    }
    case ARM64_INS_BR:
    case ARM64_INS_RET:
    case ARM64_INS_BRK:
    case ARM64_INS_HLT: return true;
    default: return false;
  }
}

// The target of a direct branch, or 0.
std::uintptr_t branchTarget(const cs_insn& instruction) {
  switch (instruction.id) {
    case ARM64_INS_B:
    case ARM64_INS_BL:
    case ARM64_INS_CBZ:
    case ARM64_INS_CBNZ:
    case ARM64_INS_TBZ:
    case ARM64_INS_TBNZ: {
      const cs_arm64& details = instruction.detail->arm64;
      const cs_arm64_op& last = details.operands[details.op_count - 1];
      return details.op_count > 0 && last.type == ARM64_OP_IMM ? static_cast<std::uintptr_t>(last.imm) : 0;
    }
    default: return 0;
  }
}

}  // namespace

std::variant<Relocation, std::string> relocate(const FunctionCode& function, std::uintptr_t copyAt,
                                               std::uintptr_t stubAt) {
  Disassembler disassembler(CS_ARCH_ARM64, CS_MODE_ARM);
  Relocation relocation;
  const std::int64_t pages =
      static_cast<std::int64_t>(stubAt >> 12) - static_cast<std::int64_t>(function.address >> 12);
  if (pages < -(std::int64_t{1} << 20) || pages >= (std::int64_t{1} << 20) || stubAt % 4096 != 0)
    return std::string("its stub is out of reach");
  auto page = static_cast<std::uint32_t>(pages);
  appendWord(relocation.entryJump, 0x90000011 | (page & 3) << 29 | (page >> 2 & 0x7FFFF) << 5);  // adrp x17
  appendWord(relocation.entryJump, kBranchX17);
  const std::size_t jumpSize = relocation.entryJump.size();
  std::string refusal;
  std::size_t covered = 0;
  while (covered < jumpSize) {
    const cs_insn* instruction = disassembler.at(function.bytes, function.address, covered);
    if (!instruction) return "the function is too short, or unreadable, for a jump over its first instructions";
    if (!appendMoved(wordAt(function.bytes, covered), function.address + covered, relocation.copy, refusal))
      return refusal;
    covered += 4;
    if (endsFlow(*instruction) && covered < jumpSize)
      return "the function is too short for a jump: it ends after " + std::to_string(covered) + " bytes";
  }
  appendJump(relocation.copy, function.address + covered);

  // A branch anywhere in the function to an instruction that the jump
  // overwrites would land in the middle of it.
  for (std::size_t offset = 0; offset + 4 <= function.bytes.size(); offset += 4) {
    const cs_insn* instruction = disassembler.at(function.bytes, function.address, offset);
    std::uintptr_t target = instruction ? branchTarget(*instruction) : 0;
    if (target > function.address && target < function.address + covered)
      return "a branch at +" + std::to_string(offset) + " goes back into its first " + std::to_string(covered) +
             " bytes";
  }

  relocation.copyEntry = copyAt;
  return relocation;
}

std::vector<std::uint8_t> stubJump(std::uintptr_t, std::uintptr_t target) {
  std::vector<std::uint8_t> code;
  appendJump(code, target);
  return code;
}

}  // namespace substrate
