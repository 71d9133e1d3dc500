// Where raysketcher-cli writes its sweep: streamed to the output or a file that is replaced only
// when complete, pipes without a reader as write failures (never a wait or a signal), no output
// over a design file being read, and no control character of a design file on the terminal.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "cli/run_in_process.h"
#include "support/temp_dir.h"

namespace rs::cli {
namespace {

namespace fs = std::filesystem;

const std::string kData = RAYSKETCHER_TEST_DATA;

// The program in a child process, without the parent's end `parentFd` of a pipe.
pid_t StartChild(const std::vector<std::string>& args, int parentFd = -1) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (parentFd >= 0) ::close(parentFd);
        std::ostringstream out;
        std::ostringstream err;
        ::_exit(rs::cli::Run(args, RAYSKETCHER_TEST_BIN, out, err));
    }
    return pid;
}

// The child's exit code; -1 when it hangs (it is killed after `limit`), -2 when a signal ended it.
int WaitChild(pid_t pid, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

// The file holds what the output shows, for tables of many pieces over several designs and
// both beam kinds; a file that was there before is replaced and leaves nothing beside it.
TEST(SweepOutput, FileAndOutputHoldTheSameTable) {
    const test::TempDir dir;
    const fs::path csv = dir / "tabelle.csv";
    std::ofstream(csv) << "alt";
    const std::vector<std::string> args = {"--settings", kData + "/relay.ini",
                                           "--settings", Example("hene-focus-100mm.ini"),
                                           "--settings", Example("diode-circularised.ini"),
                                           "--sweep",    "f'=5:500:3000"};
    const Outcome shown = RunCli(args);
    ASSERT_EQ(shown.code, kSolved) << shown.err;
    EXPECT_GT(shown.out.size(), 3u << 16);  // many pieces
    std::vector<std::string> toFile = args;
    toFile.insert(toFile.end(), {"--csv", csv.string()});
    const Outcome written = RunCli(toFile);
    EXPECT_EQ(written.code, kSolved) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(test::ReadFile(csv), shown.out);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A sweep that fails leaves the old file as it was: refused before the first row, or unable
// to write (a full device).
TEST(SweepOutput, AFailedSweepLeavesTheOldFile) {
    const test::TempDir dir;
    const fs::path csv = dir / "tabelle.csv";
    std::ofstream(csv) << "alt";
    const Outcome refused =
        RunCli({"--settings", kData + "/relay.ini", "--settings", Example("hene-focus-100mm.ini"),
                "--sweep", "a=-300:-200:10", "--csv", csv.string()});
    EXPECT_EQ(refused.code, kUsage);
    EXPECT_EQ(test::ReadFile(csv), "alt");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    const Outcome full = RunCli(
        {"--settings", kData + "/relay.ini", "--sweep", "a=-300:-200:10", "--csv", "/dev/full"});
    EXPECT_EQ(full.code, kExportFailed);
    EXPECT_NE(full.err.find("\"/dev/full\" kann nicht geschrieben werden"), std::string::npos)
        << full.err;
}

// A pipe is written as it is; without a reader, or when the reader goes early, the sweep ends
// with a write failure instead of waiting for ever or dying by SIGPIPE.
TEST(SweepOutput, APipeWithoutReaderIsAWriteFailure) {
    const test::TempDir dir;
    const fs::path fifo = dir / "rohr";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> sweep = {"--settings", kData + "/relay.ini",
                                            "--sweep",    "a=-1000:-150:1000000",
                                            "--csv",      fifo.string()};
    EXPECT_EQ(WaitChild(StartChild(sweep), std::chrono::seconds(20)), kExportFailed);
    const Outcome message = RunCli(sweep);
    EXPECT_NE(message.err.find("Niemand liest aus der Pipe"), std::string::npos) << message.err;

    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const pid_t pid = StartChild(sweep, reader);
    // The reader takes the first bytes and goes.
    char buffer[256];
    ssize_t got = 0;
    for (int tries = 0; tries < 2000 && got <= 0; ++tries) {
        got = ::read(reader, buffer, sizeof buffer);
        if (got <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GT(got, 0);
    ::close(reader);
    EXPECT_EQ(WaitChild(pid, std::chrono::seconds(60)), kExportFailed);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// An output that names a design file being read, by any spelling, is refused before anything
// is written.
TEST(SweepOutput, NoOutputOverADesignBeingRead) {
    const test::TempDir dir;
    const fs::path design = dir / "system.ini";
    fs::copy_file(kData + "/relay.ini", design);
    const std::string before = test::ReadFile(design);
    fs::create_symlink(design, dir / "verweis.png");
    fs::create_directory(dir / "unter");
    const std::string file = design.string();
    const std::string other = (dir / "unter" / ".." / "system.ini").string();
    const std::string relay = kData + "/relay.ini";
    const std::vector<std::vector<std::string>> calls = {
        {"--settings", file, "--png", file},
        {"--settings", file, "--pdf", (dir / "verweis.png").string()},
        {"--settings", file, "--svg", other},
        {"--settings", relay, "--settings", file, "--sweep", "a=-300:-200:3", "--csv", other},
    };
    for (const auto& call : calls) {
        const Outcome r = RunCli(call);
        EXPECT_EQ(r.code, kUsage) << call.back();
        EXPECT_NE(r.err.find("die gelesen wird"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(test::ReadFile(design), before);
    }
    EXPECT_TRUE(fs::is_symlink(dir / "verweis.png"));
}

// A symbol with a tab and an escape character reaches neither the message nor the CSV header
// as it is.
TEST(SweepOutput, ControlCharactersOfADesignAreReplaced) {
    const std::string file = kData + "/control-symbol.ini";
    const Outcome unknown = RunCli({"--settings", file, "--sweep", "zz=1:2:3"});
    EXPECT_EQ(unknown.code, kUsage);
    EXPECT_NE(unknown.err.find("(gewählt: f??[31mx, a"), std::string::npos) << unknown.err;
    const Outcome table = RunCli({"--settings", file, "--sweep", "0=50:60:2"});
    EXPECT_EQ(table.code, kSolved) << table.err;
    EXPECT_TRUE(table.out.starts_with("Brennweite: f??[31mx [mm],")) << table.out;
    for (const Outcome* r : {&unknown, &table}) {
        EXPECT_EQ(r->err.find('\x1b'), std::string::npos);
        EXPECT_EQ(r->out.find('\x1b'), std::string::npos);
    }
}

}  // namespace
}  // namespace rs::cli
