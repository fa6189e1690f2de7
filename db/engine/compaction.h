#pragma once
#include <string>

namespace engine::detail {

// Writes a compacted copy of source to target (which must not exist, or be an
// empty file): free pages and hidden deleted columns gone, synced to the disk.
// On failure no target is left. A target given through its folder's descriptor
// (descriptorPath) is reached only through it.
void compactFile(const std::string& source, const std::string& target);

}  // namespace engine::detail
