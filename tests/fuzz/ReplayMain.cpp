// Runs a fuzz target over every file of the folders (or files) given, as
// libFuzzer would run them: the corpus and the crashers found become
// regression tests of the ordinary build, which finish in seconds.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> inputs;
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i]))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else {
            inputs.emplace_back(argv[i]);
        }
        for (const auto& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "cannot read %s\n", input.string().c_str());
                return 1;
            }
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++files;
        }
    }
    std::printf("%d inputs replayed\n", files);
    // A corpus that went missing must not pass as replayed.
    return files > 0 ? 0 : 1;
}
