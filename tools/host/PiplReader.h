// Reads a module's PiPL resource: the property list that tells a host what
// kind of module a file is, the name of its command and of its entry point.
// Pure code: works on the resource's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PiplInfo {
    bool hasKind = false;
    uint32_t kind = 0;        // four-character code, first character in the top byte
    std::string name;         // the command name ("name" property)
    bool hasVersion = false;
    uint32_t version = 0;     // major in the high 16 bits, minor in the low 16 bits
    bool hasEntryPoint = false;
    std::string entryPoint;   // named in the code property of this host's architecture
    bool hasOtherEntryPoint = false;  // the other architecture's code property is there
    int propertyCount = 0;
};

// The code property that names the entry point: "wx86" for 32-bit x86,
// "8664" for x86-64. A host reads the one of its own architecture.
constexpr uint32_t CodePropertyX86 = 0x77783836;  // "wx86"
constexpr uint32_t CodePropertyX8664 = 0x38363634;  // "8664"
constexpr uint32_t OwnCodeProperty = sizeof(void*) == 8 ? CodePropertyX8664 : CodePropertyX86;
constexpr uint32_t OtherCodeProperty = sizeof(void*) == 8 ? CodePropertyX86 : CodePropertyX8664;

// "8BAM" for an import (acquire) module.
std::string FourCharText(uint32_t code);

// Parses the bytes of a PiPL resource. Returns false and sets *error when the
// bytes are not a well-formed property list.
bool ParsePipl(const uint8_t* bytes, size_t size, PiplInfo* info, std::string* error);
