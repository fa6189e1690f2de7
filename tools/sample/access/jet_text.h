#pragma once
// Text as Jet 4 stores it: UTF-16LE, or the compressed form that starts with
// FF FE and keeps one byte for each character below U+0100, with a 0 byte
// switching between one-byte and two-byte characters.

#include <string>
#include <string_view>

#include "tools/sample/access/bytes.h"

namespace sample::access {

// Throws std::invalid_argument for text that is not UTF-8.
std::u16string Utf16(std::string_view utf8);

ByteVector Utf16Bytes(std::u16string_view text);

// The compressed form when it is allowed, possible (no character whose low
// byte is 0, which would read as a switch) and shorter; else UTF-16LE.
ByteVector StoredText(std::u16string_view text, bool mayCompress);

bool IsCompressed(std::span<const std::uint8_t> stored);

}  // namespace sample::access
