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

struct Named {
    const char* name;
    Target run;
};

#define KIVARO_FUZZ_TARGET(name) {#name, kivaro_fuzz_##name},
const Named targets[] = {
#include "FuzzTargets.inc"
};
#undef KIVARO_FUZZ_TARGET

Target chosen = nullptr;

void replay(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(stream), {}};
    chosen(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    for (const Named& target : targets) {
        if (argc > 1 && std::strcmp(argv[1], target.name) == 0)
            chosen = target.run;
    }
    if (!chosen) {
        std::fprintf(stderr, "usage: kivaro_fuzz_replay TARGET PATH...\n");
        return 2;
    }
    int replayed = 0;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (!std::filesystem::is_directory(path)) {
            replay(path);
            ++replayed;
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
            if (entry.is_regular_file()) {
                replay(entry.path());
                ++replayed;
            }
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
