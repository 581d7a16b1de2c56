// The translation tables of the single-byte code pages tables can be written
// in: for each byte value 0x00-0xFF the Unicode code point it stands for.
#pragma once

#include <cstdint>
#include <span>

namespace vantrep::engine::dbf {

struct CodePageTable {
    int codePage;
    uint16_t codePoints[256];  // 0xFFFD where the code page defines no character
};

std::span<const CodePageTable> codePageTables();

}  // namespace vantrep::engine::dbf
