#include <benchmark/benchmark.h>

#include <string>

#include "Project/EffectList.h"

namespace {

// Loading a library file: every add checks the duplicate rule against the whole list.
void BM_LoadEffectLibrary(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Project::EffectList list;
        for (int i = 0; i < n; ++i) {
            list.addEffect(30, 1200, 80, 450, -1, -1, L"Peony " + std::to_wstring(i % 97),
                           L"A-" + std::to_wstring(i), 12.5, L"75", L"Acme", L"red", L"shell",
                           L"90", L"", L"", L"");
        }
        benchmark::DoNotOptimize(list.getCount());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadEffectLibrary)->RangeMultiplier(4)->Range(1 << 10, 1 << 14)->Complexity();

}  // namespace
