// Field descriptors of a dBASE / Visual FoxPro table, as read from its header
// or given to the writer.
#pragma once

#include <cstdint>
#include <string>

namespace vantrep::engine::dbf {

struct DbfField {
    std::string name;      // as stored, without padding (upper case in practice)
    char type = 'C';       // C N F D L M G B I Y T V Q W (the _NullFlags field is not listed)
    uint32_t offset = 0;   // byte offset inside the record (the deletion byte is offset 0)
    uint16_t length = 0;   // bytes in the record
    uint8_t decimals = 0;  // N, F, B
    bool nullable = false;
    bool binary = false;   // NOCPTRANS: no code-page translation
    int nullBit = -1;      // bit in _NullFlags that marks NULL, or -1
    int varLengthBit = -1; // V/Q: bit in _NullFlags that marks a short value, or -1
};

}  // namespace vantrep::engine::dbf
