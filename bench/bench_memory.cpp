// What one access to memory costs on this machine, by how much memory is in use: a chain
// of dependent reads through a buffer in random order, as a sort reads texts that lie far
// apart. The working set of a catalogue of 100,000 programs is some 60 MB, of 1,000,000
// some 600 MB; the time per read at those sizes bounds every operation that visits each
// program's texts once in an order unrelated to where they lie. The second figure, the
// same buffer read in order, is what a pass that follows memory costs per cache line.
// The third, FirstTouch, is what the first write to fresh memory costs per megabyte: in
// small pages or large ones, and after a pause in which the system may have handed the
// memory it was given back to the host of the virtual machine.

#include <benchmark/benchmark.h>

#include <sys/mman.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kLine = 64; // bytes per cache line; one read per line

// Each line holds the index of the next line to read: one cycle through all lines.
std::vector<std::uint64_t> RandomCycle(std::size_t bytes)
{
    const std::size_t lines = bytes / kLine;
    const std::size_t stride = kLine / sizeof(std::uint64_t);
    std::vector<std::size_t> order(lines);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::shuffle(order.begin() + 1, order.end(), std::mt19937_64(7));
    std::vector<std::uint64_t> memory(lines * stride);
    for (std::size_t i = 0; i < lines; ++i)
        memory[order[i] * stride] = order[(i + 1) % lines] * stride;
    return memory;
}

void RandomRead(benchmark::State& state)
{
    const std::vector<std::uint64_t> memory = RandomCycle(static_cast<std::size_t>(state.range(0)) << 20);
    std::uint64_t at = 0;
    constexpr int kReads = 1 << 20;
    for (auto _ : state) {
        for (int i = 0; i < kReads; ++i)
            at = memory[at];
        benchmark::DoNotOptimize(at);
    }
    state.counters["ns_per_read"] =
        benchmark::Counter(static_cast<double>(kReads) * static_cast<double>(state.iterations()),
            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SequentialRead(benchmark::State& state)
{
    const std::vector<std::uint64_t> memory((static_cast<std::size_t>(state.range(0)) << 20) / sizeof(std::uint64_t),
        1);
    const std::size_t stride = kLine / sizeof(std::uint64_t);
    for (auto _ : state) {
        std::uint64_t sum = 0;
        for (std::size_t i = 0; i < memory.size(); i += stride)
            sum += memory[i];
        benchmark::DoNotOptimize(sum);
    }
    state.counters["ns_per_line"] =
        benchmark::Counter(static_cast<double>(memory.size() / stride) * static_cast<double>(state.iterations()),
            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Arguments: MiB, 1 for 2 MiB pages, milliseconds of pause before each round (untimed).
void FirstTouch(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    constexpr std::size_t kPage = 4096;
    double seconds = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(state.range(2)));
        void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) {
            state.SkipWithError("no memory");
            break;
        }
        if (state.range(1) != 0)
            ::madvise(mapped, bytes, MADV_HUGEPAGE);
        auto* memory = static_cast<volatile char*>(mapped);
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t at = 0; at < bytes; at += kPage)
            memory[at] = 1;
        const double taken = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(taken);
        seconds += taken;
        ::munmap(mapped, bytes);
    }
    state.counters["ms_per_MiB"] =
        seconds * 1000.0 / (static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()));
}

} // namespace

// Sizes in MiB.
BENCHMARK(RandomRead)->Arg(1)->Arg(8)->Arg(32)->Arg(64)->Arg(128)->Arg(640)->Unit(benchmark::kMillisecond);
BENCHMARK(SequentialRead)->Arg(64)->Arg(640)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstTouch)
    ->Args({64, 0, 0})
    ->Args({640, 0, 0})
    ->Args({120, 1, 0})
    ->Args({1200, 1, 0})
    ->Args({120, 1, 3000})
    ->Args({1200, 1, 3000})
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
