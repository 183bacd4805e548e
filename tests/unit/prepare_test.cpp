#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes pack(const std::string& line) {
    Bytes out;
    pack_data_line(line, out);
    return out;
}

TEST(Preparation, JoinsProgramLinesAndMapsEveryByte) {
    TestMachine m;
    const std::vector<std::string> editor = {"// title",      "A=1",        "",
                                             "  B=2 // kept", "   // note", "\tPRINT A"};
    const PreparedProgram p = prepare_program(editor);
    ASSERT_TRUE(p.ok);
    const std::string text = "A=1:  B=2 // kept:\tPRINT A:";
    EXPECT_EQ(std::string(machine.program_store), text);
    EXPECT_EQ(p.text_length, static_cast<int>(text.size()));
    EXPECT_EQ(p.program_lines, (std::vector<std::string>{"A=1", "  B=2 // kept", "\tPRINT A"}));
    const std::vector<int> lines = {1, 1, 1, 1, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
                                    3, 3, 3, 3, 5, 5, 5, 5, 5, 5, 5, 5, 5};
    ASSERT_EQ(lines.size(), text.size());
    for (size_t i = 0; i < text.size(); ++i) EXPECT_EQ(machine.line_table[i], lines[i]) << i;
    // The terminating zero belongs to the last program line.
    EXPECT_EQ(machine.line_table[text.size()], 5);
    EXPECT_EQ(prep.source_line_map[0], 1);
    EXPECT_EQ(prep.source_line_map[1], 3);
    EXPECT_EQ(prep.source_line_map[2], 5);
    EXPECT_EQ(prep.source_line_map[3], -1);
}

TEST(Preparation, EmptyProgramEndsAtOnce) {
    TestMachine m;
    const PreparedProgram p = prepare_program({"", "// only a comment", "   "});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.text_length, 0);
    EXPECT_EQ(machine.line_table[0], 0);
    interp_start(machine.program_store);
    EXPECT_TRUE(interp_finished());
}

TEST(Preparation, EmptiesTheLabelCache) {
    TestMachine m;
    label_add(5, machine.program_store);
    prepare_program({"PRINT 1"});
    EXPECT_EQ(label_find(5), nullptr);
}

TEST(Preparation, OnlyAnExactDataLineStartsTheData) {
    TestMachine m;
    PreparedProgram p = prepare_program({"DATA 1,2", "data", " DATA\t", "7", "PRINT 1"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(std::string(machine.program_store), "DATA 1,2:data:");
    EXPECT_EQ(p.data_bytes, 2);
    EXPECT_EQ(machine.program_store[p.text_length + 1], 7);
    EXPECT_EQ(machine.program_store[p.text_length + 2], 1);  // the "1" of "PRINT 1"
}

TEST(DataPacking, ShortItemsAreDecimalBytes) {
    EXPECT_EQ(pack("1,2,300 -5"), (Bytes{1, 2, 255, 5}));
    EXPECT_EQ(pack("7 007 255 999"), (Bytes{7, 7, 255, 255}));
    EXPECT_EQ(pack("1.5 . ***"), (Bytes{0, 0, 0}));
    EXPECT_EQ(pack("A12B3"), (Bytes{12, 3}));
    EXPECT_EQ(pack("// 12 items"), (Bytes{12}));
    EXPECT_EQ(pack("12\xC8"
                   "34"),
              (Bytes{12, 34}));
    EXPECT_EQ(pack(""), Bytes{});
}

TEST(DataPacking, MiddleAndLongItemsAreDroppedOrPatterns) {
    EXPECT_EQ(pack("1000 1234567"), Bytes{});
    EXPECT_EQ(pack("*......."), (Bytes{128}));
    EXPECT_EQ(pack(".......*"), (Bytes{1}));
    EXPECT_EQ(pack("********"), (Bytes{255}));
    EXPECT_EQ(pack("**********"), (Bytes{255}));
    EXPECT_EQ(pack("*.......*......."), (Bytes{128, 128}));
    EXPECT_EQ(pack("12345678"), (Bytes{0}));
    EXPECT_EQ(pack(std::string(32, '*')), (Bytes{255, 255, 255, 255}));
    EXPECT_EQ(pack(std::string(33, '*')), Bytes{});
}

TEST(DataPacking, LinesNeverJoin) {
    EXPECT_EQ(pack_data_section({"PRINT", "DATA", "12", "34"}, 2), (Bytes{12, 34}));
}

TEST(Preparation, RefusesWhatDoesNotFit) {
    TestMachine m;
    std::memset(machine.program_store, 'x', sizeof machine.program_store);
    // 8190 characters, its ':' and the zero fill the store exactly.
    PreparedProgram p = prepare_program({std::string(8190, 'A')});
    EXPECT_TRUE(p.ok);
    p = prepare_program({std::string(8190, 'A'), "DATA", "1"});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "ERROR: Program too large: 8193 bytes, limit 8192");

    std::vector<std::string> many(MAX_PROGRAM_LINES + 1, "");
    many.back() = "A";
    EXPECT_TRUE(prepare_program(many).ok);
    std::vector<std::string> too_many(MAX_PROGRAM_LINES + 1, ":");
    p = prepare_program(too_many);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "ERROR: Program too large: 20001 lines, limit 20000");
}

TEST(Preparation, RefusesLinesThatWouldRunAsSomethingElse) {
    TestMachine m;
    const std::string nul("PRINT 2\0PRINT 3", 15);
    PreparedProgram p = prepare_program({"PRINT 1", "// \x80 note", nul});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "ERROR in line: 2\nERROR: Line holds a NUL character");

    // Lines the window could not turn into bytes matter only where they are program lines.
    const std::vector<std::string> lines = {"// ? in a note", "", "PRINT \"?\"", "DATA", "?"};
    EXPECT_TRUE(prepare_program(lines, {0, 4}).ok);
    p = prepare_program(lines, {0, 2, 4});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "ERROR in line: 2\nERROR: Line holds a character that a program cannot use");
}

TEST(ProgramText, EveryKindOfLineBreakEndsALine) {
    using Lines = std::vector<std::string>;
    // The compact list of a file's lines holds the same lines.
    const auto compact = [](std::string bytes) {
        const LineList list = split_line_list(std::move(bytes));
        Lines lines;
        for (size_t i = 0; i < list.size(); ++i) lines.emplace_back(list[i]);
        return lines;
    };
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"A", {"A"}},
        {"A\r\n", {"A"}},
        {"A\r\nB\rC\nD", {"A", "B", "C", "D"}},
        {"\n\r\n\r", {"", "", ""}},
        {"\n\n", {"", ""}},
        {"\r\r\nAB\n\nC\r", {"", "", "AB", "", "C"}},
        {std::string("A\0B\xFF", 4), {std::string("A\0B\xFF", 4)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(split_lines(c.bytes), c.lines);
        EXPECT_EQ(compact(c.bytes), c.lines);
    }
}

TEST(Run, VariablesAndMemoryOutliveARun) {
    TestMachine m;
    EXPECT_EQ(m.run("A=5:B=A+A:POKE 3,300"), std::vector<std::string>{});
    EXPECT_EQ(m.run("PRINT B\nPEEK 3,C\nPRINT C"), (std::vector<std::string>{"10", "44"}));
}

TEST(Run, AFreshStartResetsTheRunButNotTheSymbol) {
    TestMachine m;
    m.run("TX 5,3\nFOR I=1 TO 2\nGOSUB 1");
    EXPECT_TRUE(radio.tx_active);
    run_fresh_start({"PRINT 1"});
    EXPECT_FALSE(radio.tx_active);
    EXPECT_EQ(radio.tx_column, 0);
    EXPECT_EQ(radio.tx_symbol, 3);
    EXPECT_EQ(interp.for_level, 0);
    EXPECT_EQ(interp.gosub_level, 0);
    EXPECT_EQ(interp.run_stopped, 0);
}

TEST(Run, AProgramTooLargeDoesNotStart) {
    TestMachine m;
    m.run("PRINT 1");
    const std::vector<std::string> out = m.run(std::string(9000, 'A'));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], "ERROR: Program too large: 9002 bytes, limit 8192");
    EXPECT_EQ(std::string(machine.program_store), "PRINT 1:");
}

TEST(Run, RealTimeWaitsOutADelayAVirtualClockJumpsIt) {
    TestMachine m;
    RunSession waits;  // real time: the host waits
    waits.start({"DELAY 100", "PRINT 1"});
    EXPECT_EQ(waits.run(1), PassStop::Budget);
    EXPECT_EQ(interp.resume_time, 100);
    m.clock.advance_to(99);
    EXPECT_EQ(waits.run(10), PassStop::Waiting);
    EXPECT_EQ(waits.wait_ms(), 1);
    EXPECT_TRUE(m.output.empty());
    m.clock.advance_to(100);
    EXPECT_EQ(waits.run(10), PassStop::Finished);
    EXPECT_EQ(m.output, (std::vector<std::string>{"1"}));

    EXPECT_EQ(m.run("DELAY 250\nPRINT 2"), (std::vector<std::string>{"2"}));
    EXPECT_EQ(m.clock.now, 350);
}

TEST(Run, AHoldStopsBeforeTheStatementAndTheNextRunGoesPastIt) {
    TestMachine m;
    m.session.hook = [](const char*, int line, void*) {
        return line == 2 ? HookAction::Hold : HookAction::Go;
    };
    m.session.start(split_lines("FOR I=1 TO 3\nA=A+1\nPRINT I\nNEXT I"));
    int holds = 0;
    PassStop stop;
    while ((stop = m.session.run(1000)) == PassStop::Held) {
        ++holds;
        EXPECT_EQ(current_line(), 2);
        EXPECT_EQ(m.output.size(), static_cast<size_t>(holds - 1));
    }
    EXPECT_EQ(stop, PassStop::Finished);
    EXPECT_EQ(holds, 3);
    EXPECT_EQ(m.output, (std::vector<std::string>{"1", "2", "3"}));

    m.session.hook = nullptr;
    m.session.step_limit = 4;
    m.session.start({"LABEL 1", "GOTO 1"});
    EXPECT_EQ(m.session.run(1000), PassStop::StepLimit);
    EXPECT_EQ(m.session.steps(), 4);
}

}  // namespace
