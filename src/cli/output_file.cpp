// The parts of the outputs that need no toolkit: the picture size of the command line and the
// way a file reaches its place, shared by the exports and the sweep's CSV.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "app/ini_file.h"
#include "cli/export.h"
#include "text/tr.h"

namespace rs::cli {
using text::Tr;
using text::TrFormat;

namespace {

namespace fs = std::filesystem;

// The file a link leads to, also when it does not exist yet (a dangling link is written at its
// target, so the link stays). Nothing when the links go round in circles.
std::optional<fs::path> FollowLinks(fs::path path) {
    std::error_code ec;
    for (int hops = 0; hops < 40; ++hops) {
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Not an errno: the file's mode bits refuse the write.
constexpr int kWriteProtected = -1;

// A pipe without a reader (ENXIO when opening, EPIPE when writing) has its own words.
std::string Reason(int error) {
    if (error == ENXIO || error == EPIPE) return Tr("Niemand liest aus der Pipe.");
    return app::WriteFailureReason(error);
}

}  // namespace

std::string OutputFile::Failed(int error) const {
    return TrFormat(
        "Die Datei \"%1\" kann nicht geschrieben werden: %2",
        {file_.string(),
         error == kWriteProtected ? Tr("Die Datei ist schreibgeschützt.") : Reason(error)});
}

std::variant<std::unique_ptr<OutputFile>, std::string> OutputFile::Open(const fs::path& file) {
    std::unique_ptr<OutputFile> out(new OutputFile(file));
    struct stat st {};
    const bool exists = ::stat(file.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return out->Failed(errno);
    if (exists && S_ISDIR(st.st_mode)) return out->Failed(EISDIR);
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or a pipe the user named on purpose (/dev/stdout, a FIFO): a rename would put
        // a file in its place, so it is written as it is. Opened without waiting for a reader.
        out->fd_ = ::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (out->fd_ < 0) return out->Failed(errno);
        const int flags = ::fcntl(out->fd_, F_GETFL);
        if (flags < 0 || ::fcntl(out->fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            return out->Failed(errno);
        }
        return out;
    }
    const std::optional<fs::path> target = FollowLinks(file);
    if (!target) return out->Failed(ELOOP);
    out->target_ = *target;
    // A write-protected file is the user's way of freezing it; rename would not care. The mode
    // bits count, not only access(), which lets root write anything.
    if (exists && (::access(target->c_str(), W_OK) != 0 || (st.st_mode & S_IWUSR) == 0)) {
        return out->Failed(kWriteProtected);
    }
    const std::string name = target->filename().string();
    for (int attempt = 0; attempt < 100 && out->fd_ < 0; ++attempt) {
        const std::string suffix =
            ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        out->temp_ = FolderOf(*target) / (name.substr(0, 255 - suffix.size()) + suffix);
        out->fd_ = ::open(out->temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out->fd_ < 0 && errno != EEXIST) {
            const int error = errno;
            out->temp_.clear();
            return out->Failed(error);
        }
    }
    if (out->fd_ < 0) {
        out->temp_.clear();
        return out->Failed(EEXIST);
    }
    if (exists) {
        // The file stays its owner's and keeps its permissions; chown may clear set-id bits, so
        // the mode comes after it. Both only try: an ordinary user cannot give files away.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            (void)::fchown(out->fd_, st.st_uid, st.st_gid);
        }
        (void)::fchmod(out->fd_, st.st_mode & 07777);
    }
    return out;
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool OutputFile::Write(std::string_view bytes) {
    if (error_ != 0) return false;
    if (!app::WriteAll(fd_, bytes)) error_ = errno != 0 ? errno : EIO;
    return error_ == 0;
}

std::optional<std::string> OutputFile::Commit() {
    if (error_ == 0 && !temp_.empty() && ::fsync(fd_) != 0) error_ = errno;
    if (::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
    if (error_ == 0 && !temp_.empty()) {
        if (::rename(temp_.c_str(), target_.c_str()) != 0) {
            error_ = errno;
        } else {
            temp_.clear();
            const int folder =
                ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (folder >= 0) {
                ::fsync(folder);
                ::close(folder);
            }
        }
    }
    if (error_ != 0) return Failed(error_);
    return std::nullopt;
}

std::optional<std::string> WriteOutputFile(const fs::path& file, std::string_view bytes) {
    auto opened = OutputFile::Open(file);
    if (auto* message = std::get_if<std::string>(&opened)) return *message;
    OutputFile& out = *std::get<std::unique_ptr<OutputFile>>(opened);
    out.Write(bytes);
    return out.Commit();
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
