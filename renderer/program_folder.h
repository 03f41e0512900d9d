// The folder part of the renderer's own path, found without Windows so that the cut can be
// tested with double-byte code pages: in code page 932 the byte of a backslash (0x5C) is
// also a valid second byte of a two-byte character such as "表" (0x95 0x5C).
#pragma once

#include <string>

namespace halvane {

// Tells whether a byte starts a two-byte character in the path's code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The path cut after its last backslash or colon, the separator kept; empty when it has
// neither. Bytes that are the second half of a two-byte character are never separators.
std::string FolderOfPath(const std::string& path, LeadBytePredicate isLeadByte);

}  // namespace halvane
