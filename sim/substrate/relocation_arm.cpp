// 32-bit ARM, in ARM and in Thumb state: the entry gets a load of the stub's
// address into the program counter, which reaches anywhere and follows the
// address into either state. The moved instructions that read the program
// counter (branches, calls, literal loads, adr) are written as absolute
// forms that do the same from the trampoline.

#include <string>

#include "disassembler.h"
#include "relocation.h"

namespace substrate {

const std::uintptr_t kStubReach = 0;

namespace {

constexpr std::uint32_t kAlways = 0xE;
constexpr unsigned kProgramCounter = 15;

// Appends code at a known address, in halfwords and words as the processor
// reads them (little-endian; a 32-bit Thumb instruction as its two halfwords).
class Writer {
 public:
  Writer(std::vector<std::uint8_t>& code, std::uintptr_t base) : code_(code), base_(base) {}
  std::uintptr_t here() const { return base_ + code_.size(); }
  void half(std::uint32_t value) {
    code_.push_back(static_cast<std::uint8_t>(value));
    code_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void word(std::uint32_t value) {
    half(value & 0xFFFF);
    half(value >> 16);
  }
  void wide(std::uint32_t first, std::uint32_t second) {
    half(first);
    half(second);
  }
  void setHalf(std::size_t at, std::uint32_t value) {
    code_[at] = static_cast<std::uint8_t>(value);
    code_[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  std::size_t size() const { return code_.size(); }

  // ARM: ldr<cond> pc, [pc, #0] with the target behind a branch over it, or
  // ldr pc, [pc, #-4] with the target right behind it when unconditional.
  void armJump(std::uint32_t condition, std::uint32_t target) {
    if (condition == kAlways) {
      word(0xE51FF004);
    } else {
      word(condition << 28 | 0x059FF000);
      word(0xEA000000);  // b over the target
    }
    word(target);
  }
  // ARM: lr is set to behind the target before the load into pc.
  void armCall(std::uint32_t condition, std::uint32_t target) {
    word(condition << 28 | 0x028FE008);  // add<cond> lr, pc, #8
    word(condition << 28 | 0x059FF000);  // ldr<cond> pc, [pc, #0]
    word(0xEA000000);                    // b over the target
    word(target);
  }
  void armMove(std::uint32_t condition, unsigned reg, std::uint32_t value) {
    word(condition << 28 | 0x03000000 | (value >> 12 & 0xF) << 16 | reg << 12 | (value & 0xFFF));  // movw
    word(condition << 28 | 0x03400000 | (value >> 28) << 16 | reg << 12 | (value >> 16 & 0xFFF));  // movt
  }

  // Thumb: ldr.w pc, [pc, #0] from a word boundary, the target behind it.
  void thumbJump(std::uint32_t target) {
    if (here() % 4) half(0xBF00);  // nop
    wide(0xF8DF, 0xF000);
    word(target);
  }
  void thumbMove(unsigned reg, std::uint32_t value) {
    for (std::uint32_t opcode : {0xF240u, 0xF2C0u}) {  // movw, then movt with the upper half
      std::uint32_t half16 = opcode == 0xF240 ? value & 0xFFFF : value >> 16;
      wide(opcode | (half16 >> 11 & 1) << 10 | half16 >> 12, (half16 >> 8 & 7) << 12 | reg << 8 | (half16 & 0xFF));
    }
  }

 private:
  std::vector<std::uint8_t>& code_;
  std::uintptr_t base_;
};

std::uint32_t halfAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8;
}

std::uint32_t rotateRight(std::uint32_t value, unsigned by) { return by ? value >> by | value << (32 - by) : value; }

// The architecture's condition field of a capstone condition (unconditional
// for none).
std::uint32_t conditionOf(const cs_insn& instruction) {
  arm_cc cc = instruction.detail->arm.cc;
  return cc == ARM_CC_INVALID || cc == ARM_CC_AL ? kAlways : static_cast<std::uint32_t>(cc - ARM_CC_EQ);
}

// The target of a direct branch or call, or 0 for any other instruction.
std::uintptr_t branchTarget(const cs_insn& instruction) {
  switch (instruction.id) {
    case ARM_INS_B:
    case ARM_INS_BL:
    case ARM_INS_BLX:
    case ARM_INS_CBZ:
    case ARM_INS_CBNZ: {
      const cs_arm& details = instruction.detail->arm;
      const cs_arm_op& last = details.operands[details.op_count - 1];
      return details.op_count > 0 && last.type == ARM_OP_IMM ? static_cast<std::uint32_t>(last.imm) : 0;
    }
    default: return 0;
  }
}

class Mover {
 public:
  Mover(const FunctionCode& function, std::vector<std::uint8_t>& code, std::uintptr_t copyAt)
      : function_(function),
        disassembler_(CS_ARCH_ARM, function.thumb ? CS_MODE_THUMB : CS_MODE_ARM),
        out_(code, copyAt) {}

  Disassembler& disassembler() { return disassembler_; }

  // Appends the instruction at offset as it must be written in the copy;
  // false, with the reason, when it cannot be.
  bool move(const cs_insn& instruction, std::size_t offset, std::string& refusal) {
    const auto pc = static_cast<std::uint32_t>(instruction.address);
    const std::uint32_t condition = conditionOf(instruction);
    std::uintptr_t target = branchTarget(instruction);
    if (function_.thumb && itLeft_ > 0 && (target || disassembler_.accesses(instruction, ARM_REG_PC, false))) {
      refusal = "an instruction reading the program counter inside an IT block";
      return false;
    }
    if (instruction.id == ARM_INS_IT) itLeft_ = 4 - __builtin_ctz(halfAt(function_.bytes, offset) & 0xF) + 1;
    if (itLeft_ > 0) --itLeft_;

    if (target) return moveBranch(instruction, condition, static_cast<std::uint32_t>(target), offset);
    if (function_.thumb) {
      if (moveThumbLiteral(instruction, offset, pc)) return true;
    } else if (moveArmLiteral(condition, offset, pc)) {
      return true;
    }
    if (disassembler_.accesses(instruction, ARM_REG_PC, false)) {
      refusal = std::string("an instruction reading the program counter (") + instruction.mnemonic + " " +
                instruction.op_str + ") among its first instructions";
      return false;
    }
    for (std::size_t i = 0; i < instruction.size; i += 2) out_.half(halfAt(function_.bytes, offset + i));
    return true;
  }

  bool insideIt() const { return itLeft_ > 0; }

  void jumpBack(std::uintptr_t target) {
    if (function_.thumb) out_.thumbJump(static_cast<std::uint32_t>(target | 1));
    else out_.armJump(kAlways, static_cast<std::uint32_t>(target));
  }

 private:
  bool moveBranch(const cs_insn& instruction, std::uint32_t condition, std::uint32_t target, std::size_t offset) {
    bool call = instruction.id == ARM_INS_BL || instruction.id == ARM_INS_BLX;
    // A call keeps the state it is in, blx changes it; a branch keeps it.
    bool targetThumb = function_.thumb != (instruction.id == ARM_INS_BLX);
    std::uint32_t destination = targetThumb ? target | 1 : target & ~3u;
    if (!function_.thumb) {
      if (call) out_.armCall(condition, destination);
      else out_.armJump(condition, destination);
      return true;
    }
    if (call) {
      // ip is free at a call: the veneers of the linker use it too.
      out_.thumbMove(12, destination);
      out_.half(0x47E0);  // blx ip
      return true;
    }
    std::uint32_t first = halfAt(function_.bytes, offset);
    bool compare = instruction.id == ARM_INS_CBZ || instruction.id == ARM_INS_CBNZ;
    if (!compare && condition == kAlways) {
      out_.thumbJump(destination);
      return true;
    }
    // The opposite test skips the jump to the target.
    std::size_t skip = out_.size();
    out_.half(0);
    out_.thumbJump(destination);
    std::uint32_t distance = static_cast<std::uint32_t>(out_.size() - skip - 4);
    if (compare)
      out_.setHalf(skip, 0xB100 | ((first ^ 0x0800) & 0x0800) | (distance >> 6 & 1) << 9 | (distance >> 1 & 31) << 3 |
                             (first & 7));
    else out_.setHalf(skip, 0xD000 | (condition ^ 1) << 8 | distance >> 1);
    return true;
  }

  // ARM literal loads (ldr, ldrb) and adr: the address or value is made
  // with movw and movt.
  bool moveArmLiteral(std::uint32_t condition, std::size_t offset, std::uint32_t pc) {
    std::uint32_t word = halfAt(function_.bytes, offset) | halfAt(function_.bytes, offset + 2) << 16;
    unsigned reg = word >> 12 & 0xF;
    if (word >> 28 == 0xF) return false;                                // the unconditional space: pld and others
    if ((word & 0x0F3F0000) == 0x051F0000 && reg != kProgramCounter) {  // ldr{b} reg, [pc, #+/-imm]
      std::uint32_t address = pc + 8 + ((word & 1 << 23) ? (word & 0xFFF) : -(word & 0xFFF));
      out_.armMove(condition, reg, address);
      out_.word(condition << 28 | ((word & 1 << 22) ? 0x05D00000 : 0x05900000) | reg << 16 | reg << 12);
      return true;
    }
    bool add = (word & 0x0FFF0000) == 0x028F0000, subtract = (word & 0x0FFF0000) == 0x024F0000;
    if ((add || subtract) && reg != kProgramCounter) {
      std::uint32_t immediate = rotateRight(word & 0xFF, 2 * (word >> 8 & 0xF));
      out_.armMove(condition, reg, add ? pc + 8 + immediate : pc + 8 - immediate);
      return true;
    }
    return false;
  }

  // Thumb literal loads (ldr, ldr.w, ldrb.w) and adr (16 and 32 bits).
  bool moveThumbLiteral(const cs_insn& instruction, std::size_t offset, std::uint32_t pc) {
    std::uint32_t first = halfAt(function_.bytes, offset);
    std::uint32_t base = (pc + 4) & ~3u;
    if (instruction.size == 2) {
      unsigned reg = first >> 8 & 7;
      if ((first & 0xF800) == 0x4800) return load(reg, base + (first & 0xFF) * 4, false);
      if ((first & 0xF800) != 0xA000) return false;
      out_.thumbMove(reg, base + (first & 0xFF) * 4);
      return true;
    }
    std::uint32_t second = halfAt(function_.bytes, offset + 2);
    if ((first & 0xFF7F) == 0xF85F || (first & 0xFF7F) == 0xF81F) {
      unsigned reg = second >> 12;
      if (reg == kProgramCounter) return false;
      std::uint32_t immediate = second & 0xFFF;
      return load(reg, (first & 0x80) ? base + immediate : base - immediate, (first & 0xFF7F) == 0xF81F);
    }
    bool add = (first & 0xFBFF) == 0xF20F, subtract = (first & 0xFBFF) == 0xF2AF;
    if ((add || subtract) && !(second & 0x8000)) {
      std::uint32_t immediate = (first >> 10 & 1) << 11 | (second >> 12 & 7) << 8 | (second & 0xFF);
      out_.thumbMove(second >> 8 & 0xF, add ? base + immediate : base - immediate);
      return true;
    }
    return false;
  }

  bool load(unsigned reg, std::uint32_t address, bool byte) {
    out_.thumbMove(reg, address);
    out_.wide((byte ? 0xF890 : 0xF8D0) | reg, reg << 12);  // ldr{b}.w reg, [reg]
    return true;
  }

  const FunctionCode& function_;
  Disassembler disassembler_;
  Writer out_;
  int itLeft_ = 0;  // instructions left in the current IT block
};

// Whether execution cannot go on past the instruction.
bool endsFlow(Disassembler& disassembler, const cs_insn& instruction) {
  // A conditional instruction may fall through, and a call returns.
  if (conditionOf(instruction) != kAlways || instruction.id == ARM_INS_BL || instruction.id == ARM_INS_BLX)
    return false;
  return instruction.id == ARM_INS_B || instruction.id == ARM_INS_BX ||
         disassembler.accesses(instruction, ARM_REG_PC, true);
}

}  // namespace

std::variant<Relocation, std::string> relocate(const FunctionCode& function, std::uintptr_t copyAt,
                                               std::uintptr_t stubAt) {
  Relocation relocation;
  Mover mover(function, relocation.copy, copyAt);
  const std::size_t jumpSize = function.thumb && function.address % 4 ? 10 : 8;
  std::string refusal;
  std::size_t covered = 0;
  // An IT block is moved whole: the jump back must not land inside one.
  while (covered < jumpSize || mover.insideIt()) {
    const cs_insn* instruction = mover.disassembler().at(function.bytes, function.address, covered);
    if (!instruction) return "the function is too short, or unreadable, for a jump over its first instructions";
    if (!mover.move(*instruction, covered, refusal)) return refusal;
    covered += instruction->size;
    if (endsFlow(mover.disassembler(), *instruction) && covered < jumpSize)
      return "the function is too short for a jump: it ends after " + std::to_string(covered) + " bytes";
  }
  mover.jumpBack(function.address + covered);

  // A branch anywhere in the function to an instruction that the jump
  // overwrites would land in the middle of it. Bytes that are no
  // instruction (a literal pool) are stepped over.
  const std::size_t step = function.thumb ? 2 : 4;
  for (std::size_t offset = 0; offset < function.bytes.size();) {
    const cs_insn* instruction = mover.disassembler().at(function.bytes, function.address, offset);
    if (!instruction) {
      offset += step;
      continue;
    }
    std::uintptr_t target = branchTarget(*instruction) & ~std::uintptr_t{1};
    if (target > function.address && target < function.address + covered)
      return "a branch at +" + std::to_string(offset) + " goes back into its first " + std::to_string(covered) +
             " bytes";
    offset += instruction->size;
  }

  Writer entry(relocation.entryJump, function.address);
  if (function.thumb) {
    entry.thumbJump(static_cast<std::uint32_t>(stubAt));
  } else {
    entry.armJump(kAlways, static_cast<std::uint32_t>(stubAt));
  }
  relocation.copyEntry = function.thumb ? copyAt | 1 : copyAt;
  return relocation;
}

std::vector<std::uint8_t> stubJump(std::uintptr_t at, std::uintptr_t target) {
  std::vector<std::uint8_t> code;
  Writer(code, at).armJump(kAlways, static_cast<std::uint32_t>(target));
  return code;
}

}  // namespace substrate
