// Runs a fuzz target without libFuzzer, so that every test run builds and exercises it: on the files
// named on the command line and the files in the folders named there (the target's seed corpus), then
// on a fixed series of pseudo-random inputs. A file or folder that is not there fails the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i]))
            files.insert(files.end(), fs::directory_iterator(argv[i]), fs::directory_iterator());
        else
            files.emplace_back(argv[i]);
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& path : files) {
        std::vector<char> input(fs::file_size(path)); // throws when the file is not there
        std::ifstream(path, std::ios::binary).read(input.data(), static_cast<std::streamsize>(input.size()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    // Random inputs biased towards the bytes the parsers look at (lengths, blanks, line ends, digits).
    static const uint8_t kInteresting[] = {0x00, 0x01, 0x02, 0xFE, 0xFF, ' ', '\t', '\r', '\n',
                                           '(',  ')',  ':',  '0',  '9',  'A', 'F',  'x',  'V'};
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> input(random() % 600);
        for (uint8_t& byte : input)
            byte =
                random() % 2 ? kInteresting[random() % sizeof kInteresting] : static_cast<uint8_t>(random());
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%zu files, 3000 pseudo-random inputs\n", files.size());
    return 0;
}
