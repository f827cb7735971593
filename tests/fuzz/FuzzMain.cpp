// Runs a fuzz target without libFuzzer: on every file named on the command line (a folder stands for
// the files in it: the target's seed corpus), then on a fixed series of pseudo-random inputs, so that
// the targets are built and exercised by every test run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

constexpr int kRounds = 3000;
constexpr size_t kMaxSize = 600;

// Random inputs biased towards the bytes the parsers look at (lengths, blanks, line ends, digits).
std::vector<uint8_t> RandomInput(std::mt19937& random) {
    static const uint8_t kInteresting[] = {0x00, 0x01, 0x02, 0xFE, 0xFF, ' ', '\t', '\r', '\n',
                                           '(',  ')',  ':',  '0',  '9',  'A', 'F',  'x',  'V'};
    std::vector<uint8_t> input(random() % kMaxSize);
    for (uint8_t& byte : input)
        byte = random() % 2 ? kInteresting[random() % sizeof kInteresting] : static_cast<uint8_t>(random());
    return input;
}

void RunFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> input((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> paths{argv[i]};
        if (!fs::exists(paths[0])) {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            return 1;
        }
        if (fs::is_directory(paths[0]))
            paths.assign(fs::directory_iterator(argv[i]), fs::directory_iterator());
        std::sort(paths.begin(), paths.end());
        for (const fs::path& path : paths) {
            RunFile(path);
            ++files;
        }
    }
    std::mt19937 random(12345);
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<uint8_t> input = RandomInput(random);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%d files, %d pseudo-random inputs\n", files, kRounds);
    return 0;
}
