// Reading large settings files: 16 MiB of blank lines, and 16 MiB of "[x]" lines (which the
// reader refuses as damaged once past its section limit). Run under /usr/bin/time -v for the
// peak memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/ini_file.h"

namespace {

std::filesystem::path Written(const char* name, const std::string& line) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::string bytes;
    bytes.reserve((16u << 20) + line.size());
    while (bytes.size() + line.size() <= (16u << 20)) bytes += line;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

void BM_ReadBlankLines(benchmark::State& state) {
    const auto path = Written("bench_settings_blank.ini", "\n");
    for (auto _ : state) {
        rs::app::IniFile ini(path);
        benchmark::DoNotOptimize(ini.ReadIniString("Options", "UnitType"));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadBlankLines)->Unit(benchmark::kMillisecond);

void BM_ReadSectionLines(benchmark::State& state) {
    const auto path = Written("bench_settings_sections.ini", "[x]\n");
    for (auto _ : state) {
        rs::app::IniFile ini(path);
        benchmark::DoNotOptimize(ini.ReadProblem());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadSectionLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
