// Cutting a path in the ANSI code page after its last separator, two-byte characters kept whole.
#include "program_folder.h"

namespace halvane {

std::string FolderOfPath(const std::string& path, LeadBytePredicate isLeadByte) {
  std::size_t end = 0;  // one past the last separator seen
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (isLeadByte != nullptr && isLeadByte(c) && i + 1 < path.size()) {
      ++i;  // the trail byte belongs to this character
      continue;
    }
    if (c == '\\' || c == ':') end = i + 1;
  }
  return path.substr(0, end);
}

}  // namespace halvane
