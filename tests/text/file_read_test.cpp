// Reading outside files: bounded, never waiting on a pipe, and saying why a file was not read.
#include "text/file_read.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace rs::text {
namespace {

namespace fs = std::filesystem;

TEST(FileRead, BoundedAndByType) {
    test::TempDir dir;
    std::ofstream(dir / "ten", std::ios::binary) << "0123456789";
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir / "device");
    fs::create_directory(dir / "folder");

    const struct {
        fs::path path;
        std::size_t max;
        bool prefix;
        ReadFailure failure;
        std::string bytes;
    } cases[] = {
        {dir / "ten", 10, false, ReadFailure::kNone, "0123456789"},  // exactly at the limit
        {dir / "ten", 9, false, ReadFailure::kTooBig, ""},
        {dir / "ten", 4, true, ReadFailure::kNone, "0123"},
        {dir / "missing", 10, false, ReadFailure::kMissing, ""},
        {fifo, 10, false, ReadFailure::kNotRegular, ""},  // no writer: must not wait for one
        {dir / "device", 10, false, ReadFailure::kNotRegular, ""},
        {dir / "folder", 10, false, ReadFailure::kFolder, ""},
    };
    for (const auto& c : cases) {
        const FileRead read = ReadFileBounded(c.path, c.max, c.prefix);
        EXPECT_EQ(read.failure, c.failure) << c.path << " " << c.max;
        EXPECT_EQ(read.bytes, c.bytes) << c.path << " " << c.max;
    }
    // A file larger than one read buffer comes whole.
    const std::string big(300000, 'x');
    std::ofstream(dir / "big", std::ios::binary) << big;
    EXPECT_EQ(ReadFileBounded(dir / "big", big.size()).bytes, big);

    EXPECT_EQ(ReadFailureText(ReadFailure::kTooBig, std::size_t{4} << 20), "größer als 4 MiB");
    EXPECT_EQ((FileNotRead{"/a/WaveLen.lst", "ist ein Ordner"}.Message()),
              "\"/a/WaveLen.lst\" wurde nicht gelesen: ist ein Ordner");
}

}  // namespace
}  // namespace rs::text
