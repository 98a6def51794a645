// Replays inputs through a fuzz target without libFuzzer: every file named on
// the command line, and every file of every folder named there (a folder that
// does not exist counts as empty). This is how the seed corpora and the
// inputs of past crashes run as ordinary tests in the normal build; any fault
// shows as a crash, a sanitizer report in the sanitizer build, or a non-zero
// return of the target.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> Inputs(const std::filesystem::path& where) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    if (std::filesystem::is_regular_file(where, error)) {
        files.push_back(where);
    } else if (std::filesystem::is_directory(where, error)) {
        for (const auto& entry : std::filesystem::directory_iterator(where, error)) {
            // Notes beside regression inputs are not inputs.
            if (entry.is_regular_file() && entry.path().extension() != ".md") {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& file : Inputs(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "cannot read %s\n", file.c_str());
                return 1;
            }
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            std::printf("%s\n", file.c_str());
            std::fflush(stdout);
            // A copy of exactly the file's size, so that the sanitizers see
            // any read past its end.
            std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
            if (LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size()) != 0) {
                std::fprintf(stderr, "the target refused %s\n", file.c_str());
                return 1;
            }
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
