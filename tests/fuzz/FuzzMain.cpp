// A small stand-alone driver for LLVMFuzzerTestOneInput entry points, so the same entry point runs
// under g++ with the sanitizers (CI) and under clang's libFuzzer (by hand, -fsanitize=fuzzer).
//   fuzz_x [--seconds N] [--seed S] [SEED_FILE_OR_FOLDER ...]
// Every seed runs once as it is; then random mutations of the seeds (bit flips, byte changes,
// inserts, deletes, copies within and across seeds, interesting numbers) run for N seconds.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kMaxInput = 1 << 16;

void AddSeedFile(const std::filesystem::path& path, std::vector<Bytes>& seeds)
{
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() > kMaxInput)
        bytes.resize(kMaxInput);
    seeds.push_back(std::move(bytes));
}

void AddSeeds(const std::string& arg, std::vector<Bytes>& seeds)
{
    std::error_code ec;
    if (std::filesystem::is_directory(arg, ec)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(arg, ec))
            if (entry.is_regular_file())
                AddSeedFile(entry.path(), seeds);
    } else {
        AddSeedFile(arg, seeds);
    }
}

class Mutator {
public:
    explicit Mutator(uint64_t seed) : rng_(seed) {}

    Bytes Mutate(const std::vector<Bytes>& seeds)
    {
        Bytes data = seeds[Below(seeds.size())];
        const size_t steps = 1 + Below(8);
        for (size_t i = 0; i < steps; ++i)
            Step(data, seeds);
        if (data.size() > kMaxInput)
            data.resize(kMaxInput);
        return data;
    }

private:
    size_t Below(size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng_) : 0; }

    void Step(Bytes& data, const std::vector<Bytes>& seeds)
    {
        static const uint32_t interesting[] = {0, 1, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF,
                                               0x10000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
        switch (Below(7)) {
        case 0:  // flip a bit
            if (!data.empty())
                data[Below(data.size())] ^= uint8_t(1u << Below(8));
            break;
        case 1:  // set a byte
            if (!data.empty())
                data[Below(data.size())] = uint8_t(Below(256));
            break;
        case 2: {  // insert random bytes
            const size_t at = Below(data.size() + 1), n = 1 + Below(16);
            for (size_t i = 0; i < n; ++i)
                data.insert(data.begin() + at, uint8_t(Below(256)));
            break;
        }
        case 3:  // delete a run
            if (!data.empty()) {
                const size_t at = Below(data.size()), n = 1 + Below(std::min<size_t>(64, data.size() - at));
                data.erase(data.begin() + at, data.begin() + at + n);
            }
            break;
        case 4: {  // copy a run of another (or the same) seed in
            const Bytes& other = seeds[Below(seeds.size())];
            if (other.empty())
                break;
            const size_t from = Below(other.size()), n = 1 + Below(std::min<size_t>(256, other.size() - from));
            const size_t at = Below(data.size() + 1);
            data.insert(data.begin() + at, other.begin() + from, other.begin() + from + n);
            break;
        }
        case 5:  // write an interesting number, little or big end first
            if (data.size() >= 4) {
                uint32_t v = interesting[Below(std::size(interesting))];
                const size_t at = Below(data.size() - 3);
                const bool big = Below(2);
                for (int i = 0; i < 4; ++i)
                    data[at + i] = uint8_t(v >> (big ? 24 - 8 * i : 8 * i));
            }
            break;
        default:  // duplicate a run (repetition stresses parsers' loops)
            if (!data.empty()) {
                const size_t at = Below(data.size()), n = 1 + Below(std::min<size_t>(64, data.size() - at));
                Bytes run(data.begin() + at, data.begin() + at + n);
                const size_t times = 1 + Below(32);
                for (size_t i = 0; i < times; ++i)
                    data.insert(data.begin() + at, run.begin(), run.end());
            }
            break;
        }
    }

    std::mt19937_64 rng_;
};

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 0;
    uint64_t seed = std::random_device{}();
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else
            AddSeeds(argv[i], seeds);
    }
    if (seeds.empty())
        seeds.emplace_back();
    for (const Bytes& s : seeds)
        LLVMFuzzerTestOneInput(s.data(), s.size());

    std::printf("fuzzing for %.0f s, %zu seeds, random seed %llu\n", seconds, seeds.size(),
                static_cast<unsigned long long>(seed));
    Mutator mutator(seed);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    unsigned long long runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        const Bytes input = mutator.Mutate(seeds);
        LLVMFuzzerTestOneInput(input.data(), input.size());
        ++runs;
    }
    std::printf("%llu runs, no fault\n", runs);
    return 0;
}
