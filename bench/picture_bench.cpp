// Making a sim's list picture: decoding a 256 x 256 JPEG portrait and scaling it to 128.
#include <benchmark/benchmark.h>

#include "demo_pictures.h"
#include "fixture/jpeg_writer.h"
#include "workspace/picture.h"

namespace {

void BM_PortraitToSquare128(benchmark::State& state) {
    const qh::Bytes jpeg = qh::fixture::EncodeJpeg(
        qh::demo::DrawPortrait({0xE0B090, 0x4A2E1C, 0x7FA0C0, true, false}));
    for (auto _ : state) {
        const qh::Bitmap picture = qh::ScaleToSquare(qh::DecodeJpeg(jpeg), 128);
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["pictures/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PortraitToSquare128);

}  // namespace

BENCHMARK_MAIN();
