#include "tools/bench/BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

namespace bench {

std::string selfPath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

} // namespace bench

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], bench::kWholeLoopFlag) == 0) return bench::runWholeLoop();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
