// Decoding 1 to 100 MB in the notes' and settings' code page: random bytes
// (nearly every other byte is a bad sequence) and valid GB18030 text. The
// cost per byte must stay the same at every size.
#include "CodePageText.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

std::string randomBytes(std::size_t size) {
    std::mt19937_64 random(25);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}

// Chinese text with ASCII, two-byte and four-byte sequences mixed.
std::string validGb18030(std::size_t size) {
    const std::string pieces[] = {"\xC4\xE3\xBA\xC3", "note 42, ", "\x95\x32\x82\x36", "\xA1\xA3\r\n"};
    std::mt19937 random(18030);
    std::string bytes;
    bytes.reserve(size + 16);
    while (bytes.size() < size) bytes += pieces[random() % std::size(pieces)];
    return bytes;
}

void decode(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        auto text = tavlo::decodeCodePage(tavlo::kCodePageGb18030, bytes);
        benchmark::DoNotOptimize(text->data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_DecodeRandomBytes(benchmark::State& state) {
    decode(state, randomBytes(static_cast<std::size_t>(state.range(0))));
}
void BM_DecodeValidGb18030(benchmark::State& state) {
    decode(state, validGb18030(static_cast<std::size_t>(state.range(0))));
}

constexpr std::int64_t kMB = 1024 * 1024;
BENCHMARK(BM_DecodeRandomBytes)->Arg(kMB)->Arg(10 * kMB)->Arg(100 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeValidGb18030)->Arg(kMB)->Arg(10 * kMB)->Arg(100 * kMB)->Unit(benchmark::kMillisecond);

}  // namespace
