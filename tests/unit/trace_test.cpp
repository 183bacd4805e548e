// Scenario files and trace rows.
#include "trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "scenario.h"

// An event as a scenario line, for the messages of failed checks.
void PrintTo(const ScenarioEvent& e, std::ostream* os) {
    *os << e.time_ms << " " << SENSOR_NAMES[static_cast<int>(e.channel)] << "=" << e.position;
}

namespace {

TEST(Scenario, ReadsEventsSkippingBlankAndCommentLines) {
    const ScenarioRead r = scenario_parse(
        "# a comment\r\n\r\n0 magx=5\r\n  \t\n 250\tcolr=+7 \n250 rx=-3\n  # indented\n"
        "300 magz=-100\n2147483647 tem=900");
    ASSERT_EQ(r.error_line, 0) << r.error;
    const std::vector<ScenarioEvent> expected = {
        {0, Channel::MagX, 5},      {250, Channel::ColR, 7},
        {250, Channel::Rx, 0},  // clamped into 0..255, as a slider keeps it
        {300, Channel::MagZ, -100}, {2147483647, Channel::Tem, 80},
    };
    EXPECT_EQ(r.events, expected);
    EXPECT_TRUE(scenario_parse("").events.empty());
}

TEST(Scenario, NamesTheFirstBadLineAndWhy) {
    const std::string names = ": NAME is one of magx, magy, magz, colr, colg, colb, tem, rx";
    const std::string times = ": a whole number of milliseconds, 0 to 2147483647";
    const struct {
        const char* text;
        int line;
        std::string error;
    } bad[] = {
        {"0 magx=1\nmagx=1", 2, "expected TIME_MS NAME=POS, got 'magx=1'"},
        {"0 magx=1 # note", 1, "expected TIME_MS NAME=POS, got '0 magx=1 # note'"},
        {"0 magx 1", 1, "expected TIME_MS NAME=POS, got '0 magx 1'"},
        {"100", 1, "expected TIME_MS NAME=POS, got '100'"},
        {"-5 magx=1", 1, "bad time '-5'" + times},
        {"+5 magx=1", 1, "bad time '+5'" + times},
        {"1.5 magx=1", 1, "bad time '1.5'" + times},
        {"2147483648 magx=1", 1, "bad time '2147483648'" + times},
        {"100 magx=1\n# fine\n50 magx=2", 3, "time 50 is earlier than 100 on a line above"},
        {"0 coix=5", 1, "unknown slider 'coix'" + names},
        {"0 MAGX=5", 1, "unknown slider 'MAGX'" + names},
        {"0 magx=", 1, "bad position ''"},
        {"0 magx=0x10", 1, "bad position '0x10'"},
        {"0 magx=99999999999999999999", 1, "bad position '99999999999999999999'"},
        // A byte that could steer a terminal is shown, not sent.
        {"0 magx=\x1b[2J", 1, "bad position '\\x1B[2J'"},
    };
    for (const auto& b : bad) {
        const ScenarioRead r = scenario_parse(b.text);
        EXPECT_EQ(r.error_line, b.line) << b.text;
        EXPECT_EQ(r.error, b.error) << b.text;
        EXPECT_EQ(r.events.size(), b.line == 3 ? 1u : b.line - 1u) << b.text;
    }
}

TEST(Trace, HeaderNamesEveryColumnInRowOrder) {
    EXPECT_EQ(trace_header(),
              "time_ms,line,magx,magy,magz,colr,colg,colb,tem,rx,coix,coiy,coiz,spd,tx_active,"
              "tx_column,tx_symbol,A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z");
}

// "A,B" followed by zeros up to the 26 variables.
std::string vars(const std::string& first) {
    const size_t given = first.empty() ? 0 : std::count(first.begin(), first.end(), ',') + 1;
    std::string s = first;
    for (size_t k = given; k < VARIABLE_COUNT; ++k) s += k == 0 ? "0" : ",0";
    return s;
}

TEST(Trace, RowShowsPositionsTransmitterAndPanelNumbers) {
    TraceSnapshot s;
    s.time_ms = 1500;
    s.line = 7;
    s.channels[static_cast<int>(Channel::MagX)] = -100;
    s.channels[static_cast<int>(Channel::Tem)] = -40;
    s.channels[static_cast<int>(Channel::Rx)] = 255;
    s.channels[static_cast<int>(Channel::CoiZ)] = 33;
    s.channels[static_cast<int>(Channel::Spd)] = 4;
    s.channels[static_cast<int>(Channel::Sys)] = 1000;  // not a column
    s.tx_active = true;
    s.tx_column = 93;
    s.tx_symbol = 7;
    s.variables[0] = 1234567;
    s.variables[1] = 1.0 / 3;
    s.variables[2] = std::nan("");
    s.variables[3] = -0.00001;
    EXPECT_EQ(trace_row(s), "1500,7,-100,0,0,0,0,0,-40,255,0,0,33,4,1,93,7," +
                                vars("1.23457E6,0.333333,NAN,-1E-5"));
}

TEST(Trace, ARowIsDueWhenClockChannelOrTransmitterChange) {
    const TraceSnapshot base;
    std::vector<TraceSnapshot> changed(4 + TRACE_CHANNEL_COUNT, base);
    changed[0].time_ms = 1;
    changed[1].tx_active = true;
    changed[2].tx_column = 3;
    changed[3].tx_symbol = 1;
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) changed[4 + c].channels[c] = 1;
    for (const TraceSnapshot& s : changed) EXPECT_TRUE(trace_state_changed(base, s));

    // What a row shows besides, or does not show at all, makes no row of its own.
    std::vector<TraceSnapshot> same(4, base);
    same[0].variables[25] = 1;
    same[1].line = 12;
    same[2].channels[static_cast<int>(Channel::Sys)] = 500;
    same[3].channels[static_cast<int>(Channel::Timer)] = 9;
    for (const TraceSnapshot& s : same) EXPECT_FALSE(trace_state_changed(base, s));
}

}  // namespace
