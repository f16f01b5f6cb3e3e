#pragma once

// Capstone, read one instruction at a time with its details.

#include <capstone/capstone.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace substrate {

class Disassembler {
 public:
  Disassembler(cs_arch architecture, cs_mode mode) {
    if (cs_open(architecture, mode, &handle_) != CS_ERR_OK) return;
    cs_option(handle_, CS_OPT_DETAIL, CS_OPT_ON);
    instruction_ = cs_malloc(handle_);
  }
  ~Disassembler() {
    if (instruction_) cs_free(instruction_, 1);
    if (handle_) cs_close(&handle_);
  }
  Disassembler(const Disassembler&) = delete;
  Disassembler& operator=(const Disassembler&) = delete;

  // The instruction at offset of code, which runs at address + offset; null
  // when the bytes there are no instruction.
  const cs_insn* at(std::span<const std::uint8_t> code, std::uintptr_t address, std::size_t offset) {
    if (!instruction_ || offset >= code.size()) return nullptr;
    const std::uint8_t* bytes = code.data() + offset;
    std::size_t left = code.size() - offset;
    std::uint64_t where = address + offset;
    return cs_disasm_iter(handle_, &bytes, &left, &where, instruction_) ? instruction_ : nullptr;
  }

  bool inGroup(const cs_insn& instruction, cs_group_type group) const {
    return cs_insn_group(handle_, &instruction, group);
  }

  // Whether the instruction reads (or writes) the register, by its operands
  // or by its nature.
  bool accesses(const cs_insn& instruction, unsigned reg, bool write) const {
    cs_regs read, written;
    std::uint8_t readCount = 0, writtenCount = 0;
    if (cs_regs_access(handle_, &instruction, read, &readCount, written, &writtenCount) != CS_ERR_OK) return true;
    const std::uint16_t* list = write ? written : read;
    for (std::uint8_t i = 0, count = write ? writtenCount : readCount; i < count; ++i)
      if (list[i] == reg) return true;
    return false;
  }

 private:
  csh handle_ = 0;
  cs_insn* instruction_ = nullptr;
};

}  // namespace substrate
