#pragma once

// Memory for code the substrate writes: pages of its own for trampolines,
// and writes into code that is mapped read-only and may be running.

#include <cstddef>
#include <cstdint>
#include <span>

namespace substrate {

// A fresh page, readable and writable, within reach bytes of near (anywhere
// when reach is 0); null when none is free there.
void* allocatePageNear(std::uintptr_t near, std::uintptr_t reach);

// Makes a page filled by the substrate executable and no longer writable.
bool sealPage(void* page);

// Writes bytes over code at address: the pages are made writable for the
// write and given back their protection, and the instruction cache is
// flushed. Nothing is written when the pages cannot be made writable.
bool writeCode(std::uintptr_t address, std::span<const std::uint8_t> bytes);

// How many bytes from address on are mapped readable, up to limit.
std::size_t readableFrom(std::uintptr_t address, std::size_t limit);

}  // namespace substrate
