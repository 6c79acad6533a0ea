// Parsing a settings file at the size limit with very many sections: the
// time grows with the size of the file alone.
#include "config/IniFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int kSections = 100000;
constexpr size_t kFileSize = 4000000;

// A file of 100,000 sections of 40 bytes each, written once and removed
// when the program ends.
class SectionFile {
public:
    SectionFile()
    {
        path_ = std::filesystem::temp_directory_path() /
                ("dotvane-bench-ini-" + std::to_string(std::random_device()()) + ".ini");
        const size_t perSection = kFileSize / kSections;
        std::string text;
        text.reserve(kFileSize);
        for (int i = 0; i < kSections; ++i) {
            const std::string head = "[Screen" + std::to_string(i) + "]\nEnable=1\nLine0=";
            text += head + std::string(perSection - head.size() - 1, 'x') + "\n";
        }
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~SectionFile()
    {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

void BM_IniFile4MBWith100000Sections(benchmark::State& state)
{
    static const SectionFile file;
    for (auto _ : state) {
        const dotvane::IniFile ini = dotvane::IniFile::FromFile(file.Path());
        if (!ini.HasSection("SCREEN0") || !ini.GetBool("screen99999", "enable", false))
            state.SkipWithError("the file was not read whole");
        benchmark::DoNotOptimize(ini);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kFileSize));
}
BENCHMARK(BM_IniFile4MBWith100000Sections)->Unit(benchmark::kMillisecond);

}  // namespace
