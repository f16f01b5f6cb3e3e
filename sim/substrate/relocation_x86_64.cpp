// x86_64: the entry gets a five-byte relative jump to a stub within 2 GiB;
// the moved instructions keep their meaning by having their RIP-relative
// displacements recomputed and their relative branches made absolute.

#include <cstring>
#include <string>

#include "disassembler.h"
#include "relocation.h"

namespace substrate {

const std::uintptr_t kStubReach = std::uintptr_t{1} << 31;

namespace {

constexpr std::uint8_t kJumpRelative = 0xE9;
constexpr std::size_t kEntryJump = 5;  // jmp rel32

void append(std::vector<std::uint8_t>& code, std::initializer_list<std::uint8_t> bytes) {
  code.insert(code.end(), bytes);
}

void appendWord(std::vector<std::uint8_t>& code, std::uint64_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) code.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// jmp *0(%rip) followed by the target: reaches anywhere, and changes no register.
void appendAbsoluteJump(std::vector<std::uint8_t>& code, std::uintptr_t target) {
  append(code, {0xFF, 0x25, 0, 0, 0, 0});
  appendWord(code, target, 8);
}

bool fitsInt32(std::int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

// The target of a direct relative branch, or 0 when the instruction is none.
std::uintptr_t relativeTarget(Disassembler& disassembler, const cs_insn& instruction) {
  if (!disassembler.inGroup(instruction, CS_GRP_BRANCH_RELATIVE)) return 0;
  const cs_x86& details = instruction.detail->x86;
  return details.op_count == 1 && details.operands[0].type == X86_OP_IMM
             ? static_cast<std::uintptr_t>(details.operands[0].imm)
             : 0;
}

// Whether execution cannot go on past the instruction: a return, an
// unconditional jump, a trap.
bool endsFlow(const cs_insn& instruction) {
  switch (instruction.id) {
    case X86_INS_RET:
    case X86_INS_RETF:
    case X86_INS_JMP:
    case X86_INS_LJMP:
    case X86_INS_UD2:
    case X86_INS_HLT:
    case X86_INS_INT3: return true;
    default: return false;
  }
}

// Appends the instruction, as it must be written at `at` to do what it did
// at its own address; false when that cannot be done.
bool appendMoved(Disassembler& disassembler, const cs_insn& instruction, std::uintptr_t at,
                 std::vector<std::uint8_t>& code, std::string& refusal) {
  if (std::uintptr_t target = relativeTarget(disassembler, instruction)) {
    const cs_x86& details = instruction.detail->x86;
    switch (instruction.id) {
      case X86_INS_JMP: appendAbsoluteJump(code, target); return true;
      case X86_INS_CALL:
        // call *2(%rip); jmp over the target; the target: the call returns
        // to the jump, which lands after the target.
        append(code, {0xFF, 0x15, 2, 0, 0, 0, 0xEB, 8});
        appendWord(code, target, 8);
        return true;
      case X86_INS_JCXZ:
      case X86_INS_JECXZ:
      case X86_INS_JRCXZ:
      case X86_INS_LOOP:
      case X86_INS_LOOPE:
      case X86_INS_LOOPNE:
        refusal = "a counter branch (" + std::string(instruction.mnemonic) + ") among its first instructions";
        return false;
      default: {
        // A conditional jump: the opposite condition (the lowest bit of the
        // condition code) skips the absolute jump to the target.
        std::uint8_t condition = details.opcode[0] == 0x0F ? details.opcode[1] & 0x0F : details.opcode[0] & 0x0F;
        append(code, {static_cast<std::uint8_t>(0x70 | (condition ^ 1)), 14});
        appendAbsoluteJump(code, target);
        return true;
      }
    }
  }
  std::size_t start = code.size();
  code.insert(code.end(), instruction.bytes, instruction.bytes + instruction.size);
  const cs_x86& details = instruction.detail->x86;
  for (std::uint8_t i = 0; i < details.op_count; ++i) {
    const cs_x86_op& operand = details.operands[i];
    if (operand.type != X86_OP_MEM || operand.mem.base != X86_REG_RIP) continue;
    // The displacement counts from the instruction's end; it must reach the
    // same address from the new place.
    std::int64_t moved =
        operand.mem.disp + static_cast<std::int64_t>(instruction.address) - static_cast<std::int64_t>(at);
    if (details.encoding.disp_size != 4 || !fitsInt32(moved)) {
      refusal = "a RIP-relative operand its trampoline cannot reach";
      return false;
    }
    auto value = static_cast<std::int32_t>(moved);
    std::memcpy(code.data() + start + details.encoding.disp_offset, &value, 4);
  }
  return true;
}

}  // namespace

std::variant<Relocation, std::string> relocate(const FunctionCode& function, std::uintptr_t copyAt,
                                               std::uintptr_t stubAt) {
  Disassembler disassembler(CS_ARCH_X86, CS_MODE_64);
  Relocation relocation;
  std::string refusal;
  std::size_t covered = 0;
  while (covered < kEntryJump) {
    const cs_insn* instruction = disassembler.at(function.bytes, function.address, covered);
    if (!instruction) return "the function is too short, or unreadable, for a jump over its first instructions";
    if (!appendMoved(disassembler, *instruction, copyAt + relocation.copy.size(), relocation.copy, refusal))
      return refusal;
    covered += instruction->size;
    if (endsFlow(*instruction) && covered < kEntryJump)
      return "the function is too short for a jump: it ends after " + std::to_string(covered) + " bytes";
  }
  appendAbsoluteJump(relocation.copy, function.address + covered);

  // A branch anywhere in the function to an instruction that the jump
  // overwrites would land in the middle of it.
  for (std::size_t offset = 0; offset < function.bytes.size();) {
    const cs_insn* instruction = disassembler.at(function.bytes, function.address, offset);
    if (!instruction) break;
    std::uintptr_t target = relativeTarget(disassembler, *instruction);
    if (target > function.address && target < function.address + covered)
      return "a branch at +" + std::to_string(offset) + " goes back into its first " + std::to_string(covered) +
             " bytes";
    offset += instruction->size;
  }

  std::int64_t distance = static_cast<std::int64_t>(stubAt) - static_cast<std::int64_t>(function.address + 5);
  if (!fitsInt32(distance)) return std::string("its stub is out of reach");
  relocation.entryJump = {kJumpRelative};
  appendWord(relocation.entryJump, static_cast<std::uint64_t>(distance), 4);
  relocation.copyEntry = copyAt;
  return relocation;
}

std::vector<std::uint8_t> stubJump(std::uintptr_t, std::uintptr_t target) {
  std::vector<std::uint8_t> code;
  appendAbsoluteJump(code, target);
  return code;
}

}  // namespace substrate
