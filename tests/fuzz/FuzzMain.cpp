// Runs a fuzz target without libFuzzer: on the files named on the command line, or, without any, on a
// fixed series of pseudo-random inputs, so that the targets are built and exercised by every test run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
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

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            std::ifstream file(argv[i], std::ios::binary);
            const std::vector<uint8_t> input((std::istreambuf_iterator<char>(file)),
                                             std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
        return 0;
    }
    std::mt19937 random(12345);
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<uint8_t> input = RandomInput(random);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%d inputs\n", kRounds);
    return 0;
}
