// Files of the snapshot writer, named in UTF-8. Portable (std::filesystem; on Windows a
// path built from UTF-8 reaches the wide file API, so non-ASCII names work).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::jpeg {

// True when something (a file or a folder) exists under the name.
bool PathExists(const std::string& utf8Name);

// True when the name is not empty and names a file (not a folder), hidden, read-only and
// system files included.
bool FileExists(const std::string& utf8Name);

// Makes the file a normal, writable file and deletes it; false when it is still there.
bool DeleteFileForced(const std::string& utf8Name);

// Creates the file and writes the whole buffer in one write; false on any failure.
bool WriteNewFile(const std::string& utf8Name, const std::vector<std::uint8_t>& bytes);

}  // namespace orv::jpeg
