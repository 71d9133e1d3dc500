// The parts of the exports that need no toolkit: the picture size of the command line and the
// way a finished file reaches its place.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "app/ini_file.h"
#include "cli/export.h"

namespace rs::cli {

std::optional<std::string> WriteOutputFile(const std::filesystem::path& file,
                                           std::string_view bytes) {
    const std::string failed = "Die Datei \"" + file.string() + "\" kann nicht geschrieben werden";
    const auto replace = [&]() -> std::optional<std::string> {
        const app::WriteStatus written = app::ReplaceFile(file, bytes);
        if (written.ok) return std::nullopt;
        return failed + ": " + written.message;
    };
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        if (errno != ENOENT) return failed + ": " + app::WriteFailureReason(errno);
        // A new file: written beside the target and renamed, so a failure leaves no half file.
        return replace();
    }
    if (S_ISDIR(st.st_mode)) return failed + ": Das ist ein Ordner.";
    if (S_ISREG(st.st_mode)) return replace();
    // A device or a pipe the user named on purpose (/dev/stdout, a FIFO): a rename would put a
    // file in its place, so it is written as it is, each write checked (/dev/full fails here).
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return failed + ": " + app::WriteFailureReason(errno);
    bool ok = app::WriteAll(fd, bytes);
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok ? std::nullopt : std::optional(failed + ": " + app::WriteFailureReason(error));
}

std::optional<PictureSize> ParsePictureSize(std::string_view text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return std::nullopt;
    auto number = [](std::string_view digits) -> std::optional<int> {
        // Digits only: from_chars would also take a sign.
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        int value = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (value < 1 || value > kMaxPictureSide) return std::nullopt;
        return value;
    };
    const auto width = number(text.substr(0, x));
    const auto height = number(text.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return PictureSize{*width, *height};
}

}  // namespace rs::cli
