// Decoding the sample stream: one frame's assembly and decoding.
#include <TvskOsc/model/OscFrameDecoder.h>

#include <benchmark/benchmark.h>

#include <cstring>

static void BM_DecodeFrame(benchmark::State& state)
{
    const unsigned char frames[2][4] = {{0x03, 0x00, 0x02, 0x40}, {0x02, 0x40, 0x05, 0x00}};
    COscFrameDecoder decoder;
    decoder.Reset();
    int i = 0;
    for (auto _ : state)
    {
        std::memcpy(decoder.FillPosition(), frames[i ^= 1], 4);
        benchmark::DoNotOptimize(decoder.BytesArrived(4));
        benchmark::DoNotOptimize(decoder.Values().ch1);
    }
}
BENCHMARK(BM_DecodeFrame);
