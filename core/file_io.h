// Files the program writes and reads whole: a write that replaces a file only
// once the new one is complete and on the disk, and a bounded read of regular
// files that never waits on a device or a FIFO.
#pragma once

#include <cstddef>
#include <string>

namespace meldora {

// The text of an errno value.
std::string ErrnoText(int error);

// Writes the text beside the file and renames it over the file only once it
// is complete and synced to the disk, then syncs the folder: a full disk, a
// failing folder or a power cut never leaves the previous file damaged or
// missing. On failure returns false with the reason in error.
bool WriteFileReplacing(const std::string& fileName, const std::string& text, std::string& error);

// Reads at most maxBytes of a regular file, reached directly or through a
// link. Anything else (a folder, a device, a FIFO) is refused without being
// read and without waiting. On failure returns false with the reason in error.
bool ReadRegularFile(const std::string& fileName, std::size_t maxBytes, std::string& text, std::string& error);

}  // namespace meldora
