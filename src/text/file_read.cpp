#include "text/file_read.h"
#include "text/tr.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace rs::text {

namespace {

ReadFailure OfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return ReadFailure::kMissing;
        case EACCES:
        case EPERM:
            return ReadFailure::kNoAccess;
        default:
            return ReadFailure::kError;
    }
}

ReadFailure OfMode(mode_t mode) {
    if (S_ISDIR(mode)) return ReadFailure::kFolder;
    if (!S_ISREG(mode)) return ReadFailure::kNotRegular;
    return ReadFailure::kNone;
}

}  // namespace

FileRead ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes, bool prefixOnly) {
    // The type first: opening some devices already does something, and a pipe would wait.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {{}, OfErrno(errno)};
    if (const ReadFailure byType = OfMode(info.st_mode); byType != ReadFailure::kNone) {
        return {{}, byType};
    }
    // Non-blocking all the same: the path may have been replaced by a pipe since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {{}, OfErrno(errno)};
    FileRead result;
    if (::fstat(fd, &info) != 0) {
        result.failure = ReadFailure::kError;
    } else {
        result.failure = OfMode(info.st_mode);
    }
    if (result.failure == ReadFailure::kNone && !prefixOnly &&
        static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        result.failure = ReadFailure::kTooBig;
    }
    if (result.failure == ReadFailure::kNone) {
        // One byte beyond the limit tells a file that grew past it; one beyond the size seen
        // finds the end without growing the buffer.
        const std::size_t want = prefixOnly ? maxBytes : maxBytes + 1;
        result.bytes.resize(static_cast<std::size_t>(
            std::min<std::uintmax_t>(want, static_cast<std::uintmax_t>(info.st_size) + 1)));
        std::size_t got = 0;
        while (got < want) {
            if (got == result.bytes.size()) result.bytes.resize(std::min(want, 2 * got + 4096));
            const ssize_t n = ::read(fd, result.bytes.data() + got, result.bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                result.failure = ReadFailure::kError;
                break;
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        result.bytes.resize(got);
        if (result.failure == ReadFailure::kNone && !prefixOnly && got > maxBytes) {
            result.failure = ReadFailure::kTooBig;
        }
    }
    ::close(fd);
    if (result.failure != ReadFailure::kNone) result.bytes = {};
    return result;
}

std::string ReadFailureText(ReadFailure failure, std::size_t maxBytes) {
    switch (failure) {
        case ReadFailure::kNone:
            return {};
        case ReadFailure::kMissing:
            return Tr("nicht vorhanden");
        case ReadFailure::kFolder:
            return Tr("ist ein Ordner");
        case ReadFailure::kNotRegular:
            return Tr("keine gewöhnliche Datei (ein Gerät oder eine Pipe)");
        case ReadFailure::kTooBig:
            if (maxBytes >= (std::size_t{1} << 20) && maxBytes % (std::size_t{1} << 20) == 0) {
                return TrFormat("größer als %1 MiB", {std::to_string(maxBytes >> 20)});
            }
            return TrFormat("größer als %1 Bytes", {std::to_string(maxBytes)});
        case ReadFailure::kNoAccess:
            return Tr("keine Leseberechtigung");
        case ReadFailure::kError:
            return Tr("Lesefehler");
    }
    return {};
}

std::string FileNotRead::Message() const {
    return TrFormat("\"%1\" wurde nicht gelesen: %2", {file.string(), reason});
}

}  // namespace rs::text
