#pragma once
// Reading a file that comes from outside: without blocking on a pipe or a device, within a size
// limit, and with a German reason when it was not read, so that the user can be told.
#include <cstddef>
#include <filesystem>
#include <string>

namespace rs::text {

enum class ReadFailure { kNone, kMissing, kFolder, kNotRegular, kTooBig, kNoAccess, kError };

struct FileRead {
    std::string bytes;  // empty unless read
    ReadFailure failure = ReadFailure::kNone;
};

// Reads the whole file when it holds at most `maxBytes`; a bigger one is kTooBig, unless
// `prefixOnly`, which reads its first `maxBytes` instead. Only regular files are read (links
// followed): a folder, a pipe, a socket or a device is refused by its type and never waited on.
// The size is checked while reading, so a file that grows meanwhile is still bounded.
FileRead ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes,
                         bool prefixOnly = false);

// Why a file was not read, as the end of a German sentence: "ist ein Ordner", "größer als
// 4 MiB", ... (`maxBytes` names the limit of kTooBig). Empty for kNone.
std::string ReadFailureText(ReadFailure failure, std::size_t maxBytes);

// A file that a reader left out, and why (German).
struct FileNotRead {
    std::filesystem::path file;
    std::string reason;
    // "\"/pfad/WaveLen.lst\" wurde nicht gelesen: größer als 4 MiB"
    std::string Message() const;
};

}  // namespace rs::text
