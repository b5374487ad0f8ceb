// Runs a fuzz target without libFuzzer: a fixed number of seeded random inputs, biased
// towards the bytes that matter to the protocols, so the target also runs as a plain test.
// Given files, it runs each once instead: a crash that libFuzzer left can be replayed in any
// build, under a debugger, without clang.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr int kRuns = 20000;
constexpr std::size_t kMaxLength = 4096;  // bytes
constexpr std::uint8_t kInteresting[] = {0x00, 0x02, 0x0D, 0x04, 0x06, 0x15, 0x18, 0x43, 0xFF};

std::vector<std::uint8_t> RandomInput(std::mt19937& random) {
  std::uniform_int_distribution<std::size_t> length(0, kMaxLength);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kInteresting - 1);
  std::vector<std::uint8_t> input(length(random) / (1 + random() % 16));
  for (std::uint8_t& value : input) {
    value =
        random() % 2 == 0 ? kInteresting[pick(random)] : static_cast<std::uint8_t>(byte(random));
  }
  return input;
}

void RunFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", path);
    std::exit(EXIT_FAILURE);
  }
  const std::vector<std::uint8_t> input{std::istreambuf_iterator<char>(file), {}};
  LLVMFuzzerTestOneInput(input.data(), input.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) {
      RunFile(argv[i]);
    }
    return EXIT_SUCCESS;
  }
  std::mt19937 random(20261208);
  for (int run = 0; run < kRuns; ++run) {
    const std::vector<std::uint8_t> input = RandomInput(random);
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  return EXIT_SUCCESS;
}
