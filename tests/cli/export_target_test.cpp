// Where an export goes: a regular file is replaced atomically, a pipe or device is written as it
// is and stays what it was, a write-protected file is refused even for root.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "cli/export.h"
#include "support/temp_dir.h"

namespace rs::cli {
namespace {

namespace fs = std::filesystem;

TEST(ExportTarget, PipesStayPipesAndProtectedFilesAreRefused) {
    const test::TempDir dir;

    // A FIFO: the read end is opened first without blocking, so the write finds a reader; the
    // few bytes fit the pipe's buffer, so nothing here can wait.
    const fs::path fifo = dir / "rohr";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(WriteOutputFile(fifo, "Bild"), std::nullopt);
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 4);
    EXPECT_EQ(std::string(got), "Bild");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A read-only file keeps its content and mode; a writable one is replaced and keeps its mode.
    const fs::path locked = dir / "fest.png";
    std::ofstream(locked) << "alt";
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto refused = WriteOutputFile(locked, "neu");
    ASSERT_TRUE(refused.has_value());
    EXPECT_NE(refused->find("schreibgeschützt"), std::string::npos) << *refused;
    EXPECT_EQ(test::ReadFile(locked), "alt");
    EXPECT_EQ(fs::status(locked).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const fs::path open = dir / "offen.png";
    std::ofstream(open) << "alt";
    fs::permissions(open, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(WriteOutputFile(open, "neu"), std::nullopt);
    EXPECT_EQ(test::ReadFile(open), "neu");
    EXPECT_EQ(fs::status(open).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_NE(WriteOutputFile(dir.path(), "x").value_or("").find("Ordner"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

}  // namespace
}  // namespace rs::cli
