// Pruning duplicate icons from generated icon states: the extension's own
// walk, as the extension calls it, against a reference of the benchmark's
// own that keeps the same entries with an ordered list searched from the
// start for every plain entry, which costs time in the square of the entries.
//
// One run measures both, then prints the speed-up over the ordered list at
// 20,000 entries (target: at least 50x) with "target met" or "target
// missed". It exits 0 whatever the figure is.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "icon_lists.h"

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

constexpr int kPageSize = 16;
constexpr int kFolderSize = 9;

// A state of about `entries` plain entries, made the same way on every run:
// bundle identifiers, one in ten a repeat of an earlier one, a button bar of
// four, pages of sixteen, and every twentieth slot a folder with a page of nine.
Dictionary generatedState(int entries) {
  std::mt19937 random(12345);
  std::vector<std::string> made;
  auto nextEntry = [&]() -> Value {
    if (!made.empty() && random() % 10 == 0) return made[random() % made.size()];
    std::string id = "com.vendor" + std::to_string(random() % 5000) + ".app" + std::to_string(made.size());
    made.push_back(id);
    return id;
  };
  int count = 0;
  Array bar;
  for (; count < 4; ++count) bar.push_back(nextEntry());
  Array pages;
  while (count < entries) {
    Array page;
    for (int slot = 0; slot < kPageSize && count < entries; ++slot) {
      if (random() % 20 == 0) {
        Array folderPage;
        for (int i = 0; i < kFolderSize && count < entries; ++i, ++count) folderPage.push_back(nextEntry());
        Dictionary folder;
        folder.set("displayName", "Folder");
        folder.set("listType", "folder");
        folder.set("iconLists", Array{Value(std::move(folderPage))});
        page.push_back(std::move(folder));
      } else {
        page.push_back(nextEntry());
        ++count;
      }
    }
    pages.push_back(std::move(page));
  }
  Dictionary state;
  state.set("buttonBar", std::move(bar));
  state.set("iconLists", std::move(pages));
  state.set("iconListsVersion", 2);
  return state;
}

// The state as SpringBoard holds it after reading the file: written out and
// parsed back, so that it lies in memory as a freshly read one does rather
// than scattered among the generator's temporaries.
const Dictionary& stateOf(int entries) {
  static std::map<int, Dictionary> states;
  auto found = states.find(entries);
  if (found == states.end()) {
    std::string xml = platform::plist::toXml(generatedState(entries));
    found = states.emplace(entries, *platform::plist::parse(xml)->get<Dictionary>()).first;
  }
  return found->second;
}

// The plain entries of a page, or of a list of pages, in the walk's order:
// each folder's entries where the folder stands.
void addPages(const Value& pages, std::vector<const Value*>& entries);
void addPage(const Value& page, std::vector<const Value*>& entries) {
  for (const Value& entry : *page.get<Array>()) {
    if (const Dictionary* folder = entry.get<Dictionary>()) addPages(*folder->find("iconLists"), entries);
    else entries.push_back(&entry);
  }
}
void addPages(const Value& pages, std::vector<const Value*>& entries) {
  for (const Value& page : *pages.get<Array>()) addPage(page, entries);
}
std::vector<const Value*> plainEntries(const Dictionary& state) {
  std::vector<const Value*> entries;
  addPage(*state.find("buttonBar"), entries);
  addPages(*state.find("iconLists"), entries);
  return entries;
}

// The reference: the plain entries that survive, each searched for from the
// start of an ordered list of those kept before it.
std::vector<const Value*> keptByOrderedList(const Dictionary& state) {
  std::vector<const Value*> kept;
  for (const Value* entry : plainEntries(state)) {
    auto equal = [&](const Value* other) { return *other == *entry; };
    if (std::none_of(kept.begin(), kept.end(), equal)) kept.push_back(entry);
  }
  return kept;
}

bool sameEntries(const std::vector<const Value*>& a, const std::vector<const Value*>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Value* x, const Value* y) { return *x == *y; });
}

void hashed(benchmark::State& run) {
  const Dictionary& state = stateOf(static_cast<int>(run.range(0)));
  for (auto _ : run) {
    auto result = layoutkeeper::iconStateWithoutDuplicates(state);
    benchmark::DoNotOptimize(result);
  }
  run.SetItemsProcessed(run.iterations() * run.range(0));
}

void ordered(benchmark::State& run) {
  // Both must keep the same entries before their times mean anything.
  const Dictionary& state = stateOf(static_cast<int>(run.range(0)));
  auto pruned = layoutkeeper::iconStateWithoutDuplicates(state);
  if (!pruned || !sameEntries(plainEntries(pruned->state), keptByOrderedList(state))) {
    run.SkipWithError("the walk and the ordered list keep different entries");
    return;
  }
  for (auto _ : run) {
    std::vector<const Value*> kept = keptByOrderedList(state);
    benchmark::DoNotOptimize(kept);
  }
  run.SetItemsProcessed(run.iterations() * run.range(0));
}

BENCHMARK(hashed)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(ordered)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Keeps the seconds per iteration of every run while printing as usual.
class Collector : public benchmark::ConsoleReporter {
 public:
  // Colours only for a terminal, so that the output can be kept in a file.
  Collector() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && run.iterations > 0)
        seconds[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

void judge(const char* what, double value, bool met) {
  std::printf("%-46s %8.1fx  %s\n", what, value, met ? "target met" : "target missed");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  const auto& s = collector.seconds;
  auto time = [&](const std::string& name) {
    auto it = s.find(name);
    return it == s.end() ? 0.0 : it->second;
  };
  double hashed20k = time("hashed/20000"), ordered20k = time("ordered/20000");
  std::printf("\n");
  if (hashed20k > 0 && ordered20k > 0)
    judge("speed-up over the ordered list, 20,000 entries", ordered20k / hashed20k, ordered20k / hashed20k >= 50);
  return 0;
}
