// Pruning duplicate icons from generated icon states: the hashed record of
// seen entries against an ordered list searched entry by entry, which costs
// time in the square of the entries.
//
// One run measures both walks, then prints the speed-up over the ordered list
// at 20,000 entries (target: at least 50x) and the growth of the hashed walk
// from 10,000 to 100,000 entries (target: at most 12x the time), each with
// "target met" or "target missed", and beside it the growth of a plain copy
// of the same states. It exits 0 whatever the figures are.

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

// The reference: the same walk, with the seen entries in an ordered list that
// is searched from the start for every plain entry.
struct OrderedSeen {
  std::vector<const Value*> entries;
  bool addIfNew(const Value& entry) {
    for (const Value* seen : entries)
      if (*seen == entry) return false;
    entries.push_back(&entry);
    return true;
  }
};

std::optional<Array> orderedLists(const Value* lists, OrderedSeen& seen, bool& found);

std::optional<Array> orderedPage(const Value& page, OrderedSeen& seen, bool& found) {
  const Array* entries = page.get<Array>();
  if (!entries) return std::nullopt;
  Array newPage;
  newPage.reserve(entries->size());
  for (const Value& entry : *entries) {
    if (const Dictionary* container = entry.get<Dictionary>()) {
      std::optional<Array> inner = orderedLists(container->find("iconLists"), seen, found);
      if (!inner) return std::nullopt;
      Dictionary copy;
      for (const auto& [key, value] : container->entries())
        if (key != "iconLists") copy.set(key, value);
      copy.set("iconLists", std::move(*inner));
      newPage.emplace_back(std::move(copy));
    } else if (seen.addIfNew(entry)) {
      newPage.push_back(entry);
    } else {
      found = true;
    }
  }
  return newPage;
}

std::optional<Array> orderedLists(const Value* lists, OrderedSeen& seen, bool& found) {
  Array result;
  if (!lists) return result;
  const Array* pages = lists->get<Array>();
  if (!pages) return std::nullopt;
  for (const Value& page : *pages) {
    std::optional<Array> newPage = orderedPage(page, seen, found);
    if (!newPage) return std::nullopt;
    result.emplace_back(std::move(*newPage));
  }
  return result;
}

std::optional<Dictionary> orderedState(const Dictionary& state, bool& found) {
  OrderedSeen seen;
  std::optional<Array> bar = orderedPage(*state.find("buttonBar"), seen, found);
  std::optional<Array> lists = orderedLists(state.find("iconLists"), seen, found);
  if (!bar || !lists) return std::nullopt;
  Dictionary result;
  for (const auto& [key, value] : state.entries()) {
    if (key == "buttonBar") result.set(key, std::move(*bar));
    else if (key == "iconLists") result.set(key, std::move(*lists));
    else result.set(key, value);
  }
  return result;
}

void hashed(benchmark::State& run) {
  const Dictionary& state = stateOf(static_cast<int>(run.range(0)));
  for (auto _ : run) {
    layoutkeeper::duplicatesFound = 0;
    std::optional<Dictionary> pruned = layoutkeeper::iconStateWithoutDuplicates(state);
    benchmark::DoNotOptimize(pruned);
  }
  run.SetItemsProcessed(run.iterations() * run.range(0));
}

void ordered(benchmark::State& run) {
  const Dictionary& state = stateOf(static_cast<int>(run.range(0)));
  // Both walks must agree before their times mean anything.
  bool found = false;
  layoutkeeper::duplicatesFound = 0;
  if (orderedState(state, found) != layoutkeeper::iconStateWithoutDuplicates(state) ||
      found != (layoutkeeper::duplicatesFound != 0)) {
    run.SkipWithError("the walks disagree");
    return;
  }
  for (auto _ : run) {
    std::optional<Dictionary> pruned = orderedState(state, found);
    benchmark::DoNotOptimize(pruned);
  }
  run.SetItemsProcessed(run.iterations() * run.range(0));
}

// A plain copy of the state: the floor under any walk that returns new
// lists, and what the memory of this machine makes of ten times the data.
void copy(benchmark::State& run) {
  const Dictionary& state = stateOf(static_cast<int>(run.range(0)));
  for (auto _ : run) {
    Dictionary copied = state;
    benchmark::DoNotOptimize(copied);
  }
  run.SetItemsProcessed(run.iterations() * run.range(0));
}

BENCHMARK(hashed)->Arg(1000)->Arg(10000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(copy)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// The square cost makes 100,000 entries take minutes; 20,000 is where the
// speed-up is judged.
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
  std::printf("\n");
  auto time = [&](const std::string& name) { auto it = s.find(name); return it == s.end() ? 0.0 : it->second; };
  double hashed20k = time("hashed/20000"), ordered20k = time("ordered/20000");
  double hashed10k = time("hashed/10000"), hashed100k = time("hashed/100000");
  double copy10k = time("copy/10000"), copy100k = time("copy/100000");
  if (hashed20k > 0 && ordered20k > 0)
    judge("speed-up over the ordered list, 20,000 entries", ordered20k / hashed20k, ordered20k / hashed20k >= 50);
  if (hashed10k > 0 && hashed100k > 0)
    judge("growth from 10,000 to 100,000 entries", hashed100k / hashed10k, hashed100k / hashed10k <= 12);
  if (copy10k > 0 && copy100k > 0)
    std::printf("%-46s %8.1fx  (a plain copy of the state, for scale)\n", "growth of a copy from 10,000 to 100,000", copy100k / copy10k);
  return 0;
}
