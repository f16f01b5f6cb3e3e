// The manual pages: mandoc finds nothing to say about them, each tool's
// SYNOPSIS names every form that the tool's usage text prints, and every
// example runs as its page shows it.
//
// Examples are the "$ " lines of the literal displays in ENVIRONMENT and
// EXAMPLES, each followed by what it prints (standard output and standard
// error together, as a terminal shows them; a line "..." stands for any
// number of lines). An
// example that ends in "; echo $?" shows its exit status as its last line;
// any other example claims status 0. Each page's examples run in order, on
// one fresh copy of the sample device, with the built programs on PATH; the
// network tools reach a local server through http_proxy, which answers every
// request with the address the pages show.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/device.h"
#include "tests/support/http_server.h"
#include "tests/support/scratch_root.h"

namespace fs = std::filesystem;

namespace {

const fs::path kManualFolder = SBKIT_MANUAL_DIR;
using e2e::kTools;

std::vector<std::string> allPages() {
  std::vector<std::string> pages;
  for (const auto& tool : kTools) pages.push_back(tool + ".1");
  pages.push_back("sbkit.7");
  pages.push_back("sbkit-tweak.7");
  return pages;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

// The words of a form without the brackets, parentheses and bars that say
// what is optional or alternative: "(badge-number)" and "[badge-number]"
// are both "badge-number".
std::vector<std::string> bareWords(const std::vector<std::string>& raw) {
  std::vector<std::string> result;
  for (std::string word : raw) {
    std::erase_if(word, [](char c) { return c == '[' || c == ']' || c == '(' || c == ')' || c == '|'; });
    if (!word.empty()) result.push_back(word);
  }
  return result;
}

// The page as mandoc sets it in plain text, without the overstrikes of bold
// and underlined letters.
std::string rendered(const fs::path& page) {
  std::string text = e2e::shell("mandoc -T ascii " + quoted(page)).text;
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i + 1 < text.size() && text[i + 1] == '\b') {
      ++i;  // the letter struck over comes next
      continue;
    }
    plain += text[i];
  }
  return plain;
}

// The forms of the rendered SYNOPSIS: a form starts on each line that begins
// with the program's name; deeper lines continue it.
std::vector<std::vector<std::string>> synopsisForms(const fs::path& page, const std::string& program) {
  std::vector<std::vector<std::string>> forms;
  bool inside = false;
  for (const auto& line : lines(rendered(page))) {
    if (!line.empty() && line[0] != ' ') {
      inside = line == "SYNOPSIS";
      continue;
    }
    if (!inside || line.empty()) continue;
    std::vector<std::string> raw = words(line);
    if (line.rfind("     " + program, 0) == 0 && raw[0] == program) {
      forms.push_back(bareWords({raw.begin() + 1, raw.end()}));
    } else if (!forms.empty()) {
      std::vector<std::string> more = bareWords(raw);
      forms.back().insert(forms.back().end(), more.begin(), more.end());
    }
  }
  return forms;
}

struct UsageForm {
  std::vector<std::string> words;
  bool option = false;  // an option line: its words stand together
};

// The forms the usage text prints: each line that names the program (after
// "Usage: ") with the words after the name, the placeholder "options" left
// out; and each option line, "-s icon     Set a status bar icon", with the
// option and its value word.
std::vector<UsageForm> usageForms(const std::string& usage, const std::string& programPath) {
  std::vector<UsageForm> forms;
  for (std::string line : lines(usage)) {
    if (line.rfind("Usage: ", 0) == 0) line.erase(0, 7);
    std::vector<std::string> raw = words(line);
    if (raw.empty()) continue;
    if (raw[0] == programPath) {
      UsageForm form{bareWords({raw.begin() + 1, raw.end()})};
      std::erase(form.words, "options");
      forms.push_back(form);
      continue;
    }
    std::size_t start = line.find_first_not_of(' ');
    std::size_t gap = line.find("  ", start);
    if (line[start] == '-' && gap != std::string::npos) forms.push_back({words(line.substr(start, gap - start)), true});
  }
  return forms;
}

bool holds(const std::vector<std::string>& form, const UsageForm& usage) {
  if (usage.option) return std::search(form.begin(), form.end(), usage.words.begin(), usage.words.end()) != form.end();
  auto at = form.begin();
  for (const auto& word : usage.words) {
    at = std::find(at, form.end(), word);
    if (at == form.end()) return false;
    ++at;
  }
  return true;
}

// The usage forms that no SYNOPSIS form of the page holds, joined for a message.
std::string formsMissingFrom(const fs::path& page, const std::string& program, const std::string& usage,
                             const std::string& programPath) {
  auto synopsis = synopsisForms(page, program);
  std::string missing;
  for (const auto& form : usageForms(usage, programPath)) {
    bool found = std::any_of(synopsis.begin(), synopsis.end(), [&](const auto& s) { return holds(s, form); });
    if (found) continue;
    for (const auto& word : form.words) missing += word + " ";
    missing += "| ";
  }
  return missing;
}

// The usage text the built program prints when it is given no argument.
std::string usageText(const std::string& tool) {
  e2e::TemporaryDevice device;
  return e2e::runProgram(device, tool, {}).out;
}

struct Example {
  std::string command;
  std::vector<std::string> shown;
};

// mdoc's escapes in a literal display: "\&" is nothing, "\e" a backslash.
std::string unescaped(const std::string& line) {
  std::string text;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '&' || line[i + 1] == 'e')) {
      if (line[++i] == 'e') text += '\\';
      continue;
    }
    text += line[i];
  }
  return text;
}

std::vector<Example> examples(const fs::path& page) {
  std::ifstream in(page);
  std::vector<Example> result;
  bool inSection = false, inDisplay = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(".Sh ", 0) == 0) inSection = line == ".Sh ENVIRONMENT" || line == ".Sh EXAMPLES";
    if (!inSection) continue;
    if (line.rfind(".Bd -literal", 0) == 0) inDisplay = true;
    else if (line == ".Ed") inDisplay = false;
    else if (inDisplay && line.rfind("$ ", 0) == 0) result.push_back({unescaped(line.substr(2)), {}});
    else if (inDisplay && !result.empty()) result.back().shown.push_back(unescaped(line));
  }
  return result;
}

// Whether the output's lines are the shown ones, "..." matching any run of lines.
bool matches(const std::vector<std::string>& shown, std::size_t s, const std::vector<std::string>& out, std::size_t o) {
  if (s == shown.size()) return o == out.size();
  if (shown[s] == "...") {
    for (std::size_t skip = o; skip <= out.size(); ++skip)
      if (matches(shown, s + 1, out, skip)) return true;
    return false;
  }
  return o < out.size() && shown[s] == out[o] && matches(shown, s + 1, out, o + 1);
}

std::string joined(const std::vector<std::string>& text) {
  std::string all;
  for (const auto& line : text) all += line + "\n";
  return all;
}

TEST(ManualTest, MandocFindsNothingToSayAboutAnyPage) {
  std::string pages;
  for (const auto& page : allPages()) pages += " " + page;
  // In the pages' own folder mandoc finds the pages they refer to.
  e2e::CommandOutput lint = e2e::shell("cd " + quoted(kManualFolder) + " && mandoc -T lint" + pages + " 2>&1");
  EXPECT_EQ(lint.text, "");
  EXPECT_EQ(lint.status, 0);
}

TEST(ManualTest, ManShowsEveryPageWithoutAWarning) {
  for (const auto& page : allPages()) {
    std::string command = "MANPAGER=cat MANWIDTH=80 man -l " + quoted(kManualFolder / page);
    e2e::CommandOutput shown = e2e::shell(command + " 2>/dev/null");
    EXPECT_EQ(shown.status, 0) << page;
    EXPECT_NE(shown.text.find("NAME"), std::string::npos) << page;
    EXPECT_EQ(e2e::shell(command + " 2>&1 >/dev/null").text, "") << page;
  }
}

class ToolPageTest : public testing::TestWithParam<std::string> {};

TEST_P(ToolPageTest, SynopsisNamesEveryFormOfTheUsageText) {
  const std::string& tool = GetParam();
  std::string usage = usageText(tool);
  EXPECT_EQ(formsMissingFrom(kManualFolder / (tool + ".1"), tool, usage, e2e::program(tool)), "") << usage;
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolPageTest, testing::ValuesIn(kTools), [](const auto& info) { return info.param; });

// The check itself: a page that lost a form of the usage text fails it.
struct DeletedForm {
  std::string tool;
  std::string lines;  // removed from the page's source
};

class DeletedFormTest : public testing::TestWithParam<DeletedForm> {};

TEST_P(DeletedFormTest, IsReportedMissing) {
  const DeletedForm& deleted = GetParam();
  std::ifstream in(kManualFolder / (deleted.tool + ".1"));
  std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t at = source.find(deleted.lines);
  ASSERT_NE(at, std::string::npos) << "the page no longer holds:\n" << deleted.lines;
  source.erase(at, deleted.lines.size());
  ScratchRoot scratch;
  fs::path page = scratch.path() / (deleted.tool + ".1");
  std::ofstream(page) << source;

  std::string usage = usageText(deleted.tool);
  EXPECT_NE(formsMissingFrom(page, deleted.tool, usage, e2e::program(deleted.tool)), "");
}

INSTANTIATE_TEST_SUITE_P(Forms, DeletedFormTest,
                         testing::Values(DeletedForm{"iconcount", ".Nm\n.Cm list\n"},
                                         DeletedForm{"iconcount", ".Nm\n.Cm id\n.Ar application-id\n"},
                                         DeletedForm{"iconcount", ".Nm\n.Ar application-name\n.Op Ar badge-number\n"},
                                         DeletedForm{"indicator", ".Op Fl t Ar icon\n"},
                                         DeletedForm{"homeprefs", "| Fl 1 "}, DeletedForm{"radio", ".Cm y | n\n"}),
                         [](const auto& info) { return info.param.tool + std::to_string(info.index); });

class PageExamplesTest : public testing::TestWithParam<std::string> {};

TEST_P(PageExamplesTest, RunAsShownOnTheSampleDevice) {
  std::vector<Example> all = examples(kManualFolder / GetParam());
  ASSERT_FALSE(all.empty()) << "no examples";
  e2e::TemporaryDevice device;
  e2e::HttpServer server(e2e::Answer(200, "203.0.113.7"));
  for (const auto& example : all) {
    e2e::Result result = e2e::run(device, {"/bin/sh", "-c", "exec 2>&1; " + example.command}, "",
                                  {{"PATH", e2e::programFolder() + ":/usr/bin:/bin"}, {"http_proxy", server.proxy()}});
    EXPECT_TRUE(result.exited && result.status == 0)
        << "$ " << example.command << "\nexited " << result.exited << " with " << result.status << "\n"
        << result.out;
    EXPECT_TRUE(matches(example.shown, 0, lines(result.out), 0)) << "$ " << example.command << "\nshown:\n"
                                                                 << joined(example.shown) << "printed:\n"
                                                                 << result.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, PageExamplesTest, testing::ValuesIn(allPages()), [](const auto& info) {
  std::string name = info.param.substr(0, info.param.find('.'));
  std::replace(name.begin(), name.end(), '-', '_');  // a test name is an identifier
  return name;
});

}  // namespace
