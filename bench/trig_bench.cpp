// The handset's correctly rounded sin and cos beside the host C library's, on the same
// arguments: the game's whole degrees (k × its pi/180, k = 0..720) and random angles up
// to 2^32 degrees. Prints each pair's ratio, and how many of the game's calls need more
// than the fast path.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/crt/precision.h"
#include "platform/crt/trig.h"

namespace {

constexpr double DEGREES_TO_RADIANS = 0.017453291681077746;  // the game's single-precision pi/180

std::vector<double> GameDegrees() {
  std::vector<double> args;
  for (int k = 0; k <= 720; ++k) args.push_back(k * DEGREES_TO_RADIANS);
  return args;
}

std::vector<double> RandomDegrees() {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> degrees(0.0, 4294967296.0);
  std::vector<double> args(4096);
  for (double& x : args) x = degrees(random) * DEGREES_TO_RADIANS;
  return args;
}

template <double (*F)(double)>
void Calls(benchmark::State& state, const std::vector<double>& args) {
  for (auto _ : state) {
    for (double x : args) benchmark::DoNotOptimize(F(x));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(args.size()));
}

double LibSin(double x) { return std::sin(x); }
double LibCos(double x) { return std::cos(x); }
void HandsetSin(benchmark::State& state, const std::vector<double>& args) { Calls<crt::Sin>(state, args); }
void HandsetCos(benchmark::State& state, const std::vector<double>& args) { Calls<crt::Cos>(state, args); }
void HostSin(benchmark::State& state, const std::vector<double>& args) { Calls<LibSin>(state, args); }
void HostCos(benchmark::State& state, const std::vector<double>& args) { Calls<LibCos>(state, args); }

const std::vector<double> GAME = GameDegrees();
const std::vector<double> RANDOM = RandomDegrees();

BENCHMARK_CAPTURE(HandsetSin, game, GAME);
BENCHMARK_CAPTURE(HostSin, game, GAME);
BENCHMARK_CAPTURE(HandsetCos, game, GAME);
BENCHMARK_CAPTURE(HostCos, game, GAME);
BENCHMARK_CAPTURE(HandsetSin, random, RANDOM);
BENCHMARK_CAPTURE(HostSin, random, RANDOM);
BENCHMARK_CAPTURE(HandsetCos, random, RANDOM);
BENCHMARK_CAPTURE(HostCos, random, RANDOM);

// Keeps each run's time per call by its argument set, to print the handset/host ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      const bool host = name.rfind("Host", 0) == 0;
      const std::string set = name.substr(host ? 4 : 7);
      (host ? host_ : handset_)[set] = 1e9 / run.counters.at("items_per_second").value;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [set, time] : handset_) {
      const auto host = host_.find(set);
      if (host != host_.end() && host->second > 0.0) {
        std::printf("%-7s handset %.1f ns, host %.1f ns per call: %.2f times\n", set.c_str(), time, host->second,
                    time / host->second);
      }
    }
  }

 private:
  std::map<std::string, double> handset_;
  std::map<std::string, double> host_;
};

void PrintSlowPathShare() {
  std::vector<double> args = GAME;
  double t = 0.0;  // the road table's arguments, accumulated as the game does
  for (int slot = 0; slot < 209; ++slot, t = t + 3.1415926535 * 0.0625) args.push_back(t);
  int calls = 0;
  int slow = 0;
  for (double x : args) {
    calls += 2;
    slow += (crt::SinPrecision(x) > 64 ? 1 : 0) + (crt::CosPrecision(x) > 64 ? 1 : 0);
  }
  std::printf("slow path on the game's arguments: %d of %d sin and cos calls\n", slow, calls);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PrintSlowPathShare();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
