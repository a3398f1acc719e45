// Decoding throughput of ExtractResource on about 1 MiB of mixed, game-like data, beside memcpy
// of the same size in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <string>

#include "fixture/package_builder.h"
#include "package/extract.h"

namespace {

// Text lists, fixed-layout records with small varying fields, and some noise (pictures).
qh::Bytes MixedData(std::size_t size) {
    std::mt19937 random(7);
    qh::Bytes data;
    data.reserve(size + 4096);
    const char* names[] = {"Goth", "Pleasant", "Burb", "Broke", "Dreamer", "Lothario", "Caliente"};
    while (data.size() < size) {
        switch (random() % 3) {
            case 0: {
                std::string text;
                for (int i = 0; i < 40; ++i) {
                    text += names[random() % 7];
                    text += " household of ";
                    text += std::to_string(random() % 1000);
                    text += '\0';
                }
                data.insert(data.end(), text.begin(), text.end());
                break;
            }
            case 1:
                for (int i = 0; i < 300; ++i) {
                    for (int field = 0; field < 8; ++field) {
                        const auto value = static_cast<std::uint16_t>(field < 5 ? field * 100 : random() % 1000);
                        data.push_back(static_cast<std::uint8_t>(value));
                        data.push_back(static_cast<std::uint8_t>(value >> 8));
                    }
                }
                break;
            default:
                for (int i = 0; i < 1024; ++i) data.push_back(static_cast<std::uint8_t>(random()));
        }
    }
    data.resize(size);
    return data;
}

struct Fixture {
    qh::Bytes raw = MixedData(1 << 20);
    qh::Bytes package = qh::fixture::PackageBuilder().Add(qh::fixture::Key(1, 1), raw, true).Build();
    qh::IndexEntry entry;
    Fixture() {
        std::vector<qh::IndexEntry> entries;
        qh::ReadIndex(package, qh::PackageSource::File, entries);
        entry = entries.at(0);
    }
};

const Fixture& Data() {
    static const Fixture fixture;
    return fixture;
}

void BM_ExtractResource(benchmark::State& state) {
    const Fixture& f = Data();
    qh::SilentReporter reporter;
    qh::Bytes out;
    for (auto _ : state) {
        out.clear();
        if (!qh::ExtractResource(f.package, f.entry, out, reporter)) state.SkipWithError("decode");
        benchmark::DoNotOptimize(out.data());
    }
    if (out != f.raw) state.SkipWithError("decoded data differs");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.raw.size()));
    state.counters["ratio"] = static_cast<double>(f.entry.size) / static_cast<double>(f.raw.size());
}
BENCHMARK(BM_ExtractResource);

void BM_Memcpy(benchmark::State& state) {
    const Fixture& f = Data();
    qh::Bytes out(f.raw.size());
    for (auto _ : state) {
        std::memcpy(out.data(), f.raw.data(), f.raw.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.raw.size()));
}
BENCHMARK(BM_Memcpy);

// Prints the usual table, then decoded MB/s and its ratio to memcpy.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions the runs come with their aggregates; the mean stands for them all.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean") continue;
            if (run.run_type == Run::RT_Iteration && run.repetitions > 1) continue;
            const double seconds = run.GetAdjustedRealTime() / 1e9;  // per iteration, ns by default
            if (seconds > 0) rates_[run.run_name.function_name] = (1 << 20) / seconds / 1e6;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double decode = rates_["BM_ExtractResource"];
        const double copy = rates_["BM_Memcpy"];
        std::cout << "ExtractResource: " << decode << " MB/s decoded; memcpy: " << copy
                  << " MB/s; ratio " << (copy > 0 ? decode / copy : 0) << "\n";
    }

private:
    std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
