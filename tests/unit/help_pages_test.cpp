// The help pages as a reader meets them: every example runs and prints what its page shows,
// every link leads to a page, every page can be reached from the contents and is compiled in,
// and the panel's controls have the names the window shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "channels.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const fs::path help_dir = fs::path(ZORVANT_SOURCE_DIR) / "shell/window/help";

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string unescape(std::string text) {
    for (const auto& [ref, c] : {std::pair{"&lt;", "<"},
                                 {"&gt;", ">"},
                                 {"&quot;", "\""},
                                 {"&#x27;", "'"},
                                 {"&amp;", "&"}}) {
        text = std::regex_replace(text, std::regex(ref), c);
    }
    return text;
}

std::set<std::string> html_files() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(help_dir)) {
        if (entry.path().extension() == ".html") names.insert(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> matches(const std::string& text, const std::regex& re) {
    std::vector<std::string> found;
    for (std::sregex_iterator i(text.begin(), text.end(), re), end; i != end; ++i)
        found.push_back((*i)[1]);
    return found;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& line : lines) s += line + "\n";
    return s;
}

class HelpPage : public testing::TestWithParam<std::string> {};

// An example block runs without an error report or a math box; a "bad" one shows a report. A
// block of output right behind either is exactly what the output pane shows.
TEST_P(HelpPage, ExamplesRunAsShown) {
    const std::string page = read_file(help_dir / GetParam());
    const std::regex block(
        R"re(<pre class="(example|bad)">([\s\S]*?)</pre>\s*(?:<p>[^<]*</p>\s*<pre class="output">([\s\S]*?)</pre>)?)re");
    for (std::sregex_iterator i(page.begin(), page.end(), block), end; i != end; ++i) {
        const std::string program = unescape((*i)[2]);
        TestMachine m;  // a fresh machine: the examples do not share variables
        m.session.step_limit = 100000;
        const std::vector<std::string> output = m.run(program);
        bool reported = false;
        for (const std::string& line : output) reported = reported || line.starts_with("ERROR");
        if ((*i)[1] == "example") {
            EXPECT_FALSE(reported) << program << "\n---\n" << joined(output);
            EXPECT_TRUE(m.math_errors.empty()) << program;
        } else {
            EXPECT_TRUE(reported) << program;
        }
        if ((*i)[3].matched) {
            EXPECT_EQ(joined(output), unescape((*i)[3]) + "\n") << program;
        }
    }
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
    return info.param.substr(0, info.param.find('.'));
}

std::vector<std::string> page_list() {
    const std::set<std::string> pages = html_files();
    return {pages.begin(), pages.end()};
}

INSTANTIATE_TEST_SUITE_P(Pages, HelpPage, testing::ValuesIn(page_list()), test_name);

TEST(HelpPages, AllAreCompiledInAndReachableFromTheContentsAndEveryLinkLeadsToOne) {
    const std::set<std::string> pages = html_files();
    const std::vector<std::string> listed =
        matches(read_file(help_dir / "help.qrc"), std::regex("<file>([^<]*)</file>"));
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), pages);

    std::set<std::string> reached{"index.html"};
    std::vector<std::string> todo{"index.html"};
    while (!todo.empty()) {
        const std::string page = todo.back();
        todo.pop_back();
        for (const std::string& target :
             matches(read_file(help_dir / page), std::regex(R"re(href="([^"#]*))re"))) {
            EXPECT_TRUE(pages.count(target)) << page << " links to " << target;
            if (pages.count(target) && reached.insert(target).second) todo.push_back(target);
        }
    }
    EXPECT_EQ(reached, pages);
}

// The contents list every program of File > Examples (the lesson folder, compiled in), and no
// program that is not there.
TEST(HelpPages, TheContentsListTheExamples) {
    std::set<std::string> examples;
    for (const auto& entry : fs::directory_iterator(fs::path(ZORVANT_SOURCE_DIR) / "samples")) {
        if (entry.path().extension() == ".bas") examples.insert(entry.path().filename().string());
    }
    EXPECT_GE(examples.size(), 11u);
    const std::string index = unescape(read_file(help_dir / "index.html"));
    const std::vector<std::string> listed = matches(index, std::regex(R"re(<li>(\w+\.bas):)re"));
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), examples);
    EXPECT_NE(index.find("File > Examples"), std::string::npos);
}

// The panel page names the controls as the window captions them.
TEST(HelpPages, TheSatellitePanelPageUsesTheWindowsCaptions) {
    std::vector<std::string> captions = {"Peripherals Simulation"};
    for (const ChannelInfo& c : channel_info) {
        if (c.section != nullptr) captions.emplace_back(c.section);
    }
    EXPECT_GE(captions.size(), 8u);
    const std::string page = unescape(read_file(help_dir / "devices.html"));
    for (const std::string& caption : captions) {
        EXPECT_NE(page.find(caption), std::string::npos) << caption;
    }
}

}  // namespace
