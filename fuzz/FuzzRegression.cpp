// Runs every fuzz target over its seed corpus (fuzz/corpus/<target>/) and over
// mutations of it drawn from a fixed seed, so the inputs are the same on every run.
// A fault shows as a sanitizer report or a trap; the exit status is 0 otherwise.
// Usage: fuzz_regression [target [mutations]]

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzEntry.h"

namespace {

using Input = std::vector<std::uint8_t>;
using Entry = int (*)(const std::uint8_t*, std::size_t);

struct Target {
  const char* name;
  Entry entry;
  int mutations;  // sized so that the whole run stays within a few seconds under ASan
};

constexpr Target kTargets[] = {
    {"fuzz_table", rxt4::fuzz::FuzzTable, 3000},
    {"fuzz_writer", rxt4::fuzz::FuzzWriter, 250},
    {"fuzz_firmware", rxt4::fuzz::FuzzFirmware, 250},
    {"fuzz_companion", rxt4::fuzz::FuzzCompanion, 200},
    {"fuzz_reply", rxt4::fuzz::FuzzReply, 1500},
    {"fuzz_judge", rxt4::fuzz::FuzzJudge, 1500},
};

constexpr std::uint32_t kSeed = 0x52585434;  // "RXT4"
constexpr std::size_t kMaxInputBytes = 128 * 1024;

std::vector<Input> ReadCorpus(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<Input> inputs;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return inputs;
}

// One to four edits of the kinds libFuzzer makes: bit flips, byte values that
// matter to parsers, insertions, deletions, copies within and across inputs.
Input Mutate(const std::vector<Input>& corpus, std::mt19937& rng) {
  auto pick = [&rng](std::size_t n) { return n == 0 ? std::size_t{0} : static_cast<std::size_t>(rng() % n); };
  Input input = corpus[pick(corpus.size())];
  const int edits = 1 + static_cast<int>(pick(4));
  for (int e = 0; e < edits; ++e) {
    const std::size_t at = pick(input.size() + 1);
    switch (pick(8)) {
      case 0:
        if (!input.empty()) input[pick(input.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
        break;
      case 1: {
        static constexpr std::uint8_t kInteresting[] = {0x00, 0x01, 0x02, 0x03, 0x7F, 0x80, 0xFF, ',', '\n', '\r', '*', '-'};
        if (!input.empty()) input[pick(input.size())] = kInteresting[pick(std::size(kInteresting))];
        break;
      }
      case 2:
        if (!input.empty()) input[pick(input.size())] = static_cast<std::uint8_t>(rng());
        break;
      case 3: input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(rng())); break;
      case 4: {
        const std::size_t n = std::min(input.size() - std::min(at, input.size()), 1 + pick(64));
        input.erase(input.begin() + static_cast<std::ptrdiff_t>(at), input.begin() + static_cast<std::ptrdiff_t>(at + n));
        break;
      }
      case 5:
        input.resize(pick(input.size() + 1));
        break;
      case 6: {
        // A run of the input copied elsewhere in it.
        if (input.empty()) break;
        const std::size_t from = pick(input.size());
        const std::size_t n = std::min(input.size() - from, 1 + pick(256));
        const Input run(input.begin() + static_cast<std::ptrdiff_t>(from),
                        input.begin() + static_cast<std::ptrdiff_t>(from + n));
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), run.begin(), run.end());
        break;
      }
      default: {
        // The tail replaced by another input's tail.
        const Input& other = corpus[pick(corpus.size())];
        const std::size_t from = pick(other.size() + 1);
        input.resize(at);
        input.insert(input.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
        break;
      }
    }
    if (input.size() > kMaxInputBytes) input.resize(kMaxInputBytes);
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view only = argc > 1 ? argv[1] : "";
  const int mutationsAsked = argc > 2 ? std::atoi(argv[2]) : -1;
  int ran = 0;
  for (const Target& target : kTargets) {
    if (!only.empty() && only != target.name) continue;
    const std::vector<Input> corpus = ReadCorpus(std::filesystem::path(RXT4_FUZZ_CORPUS_DIR) / target.name);
    if (corpus.empty()) {
      std::fprintf(stderr, "%s: no seed inputs in %s/%s\n", target.name, RXT4_FUZZ_CORPUS_DIR, target.name);
      return 1;
    }
    for (const Input& input : corpus) target.entry(input.data(), input.size());
    std::mt19937 rng(kSeed);
    const int mutations = mutationsAsked >= 0 ? mutationsAsked : target.mutations;
    for (int i = 0; i < mutations; ++i) {
      const Input input = Mutate(corpus, rng);
      target.entry(input.data(), input.size());
    }
    std::printf("%s: %zu seed inputs, %d mutations\n", target.name, corpus.size(), mutations);
    ++ran;
  }
  if (ran == 0) {
    std::fprintf(stderr, "usage: fuzz_regression [target [mutations]]\n");
    return 2;
  }
  return 0;
}
