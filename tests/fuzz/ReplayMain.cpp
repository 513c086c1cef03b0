// kivaro_fuzz_replay TARGET PATH...: runs one fuzz target over files instead of under
// libFuzzer: every file named, and every file in every folder named (recursively). The test
// suite replays the committed corpora with it; a crash or a sanitizer report fails the run as
// it would the fuzzer.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using Target = int (*)(const uint8_t* data, size_t size);

#define KIVARO_FUZZ_TARGET(name) extern "C" int kivaro_fuzz_##name(const uint8_t*, size_t);
#include "FuzzTargets.inc"
#undef KIVARO_FUZZ_TARGET

namespace {

void replay(Target target, const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(stream), {}};
    target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    Target chosen = nullptr;
#define KIVARO_FUZZ_TARGET(name)                                                                   \
    if (argc > 1 && std::strcmp(argv[1], #name) == 0)                                              \
        chosen = kivaro_fuzz_##name;
#include "FuzzTargets.inc"
#undef KIVARO_FUZZ_TARGET
    if (!chosen) {
        std::fprintf(stderr, "usage: kivaro_fuzz_replay TARGET PATH...\n");
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        if (!std::filesystem::is_directory(argv[i])) {
            files.emplace_back(argv[i]);
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
    }
    for (const std::filesystem::path& file : files)
        replay(chosen, file);
    std::printf("replayed %zu inputs\n", files.size());
    return files.empty() ? 1 : 0;
}
