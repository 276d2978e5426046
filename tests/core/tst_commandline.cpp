// The program's arguments.
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

TEST(CommandLine, ArgumentsChooseWhatTheProgramDoes)
{
    struct Case { QList<QByteArray> arguments; Action action; QByteArray file; QByteArray folder; };
    const Case cases[] = {
        {{}, Action::Dialog, {}, {}},
        {{"TEAM.dat"}, Action::Open, "TEAM.dat", {}},
        {{"/d/\xE4\xF6/TEAM.dat"}, Action::Open, "/d/\xE4\xF6/TEAM.dat", {}},   // bytes as given
        {{"--", "-seltsam.dat"}, Action::Open, "-seltsam.dat", {}},
        {{"-"}, Action::Open, "-", {}},
        {{"--export", "aus", "TEAM.dat"}, Action::Export, "TEAM.dat", "aus"},
        {{"aus", "--export", "TEAM.dat"}, Action::Export, "TEAM.dat", "aus"},
        {{"--help"}, Action::Help, {}, {}},
        {{"-h"}, Action::Help, {}, {}},
        {{"TEAM.dat", "--help"}, Action::Help, {}, {}},
        {{"--version"}, Action::Version, {}, {}},
        {{"--bunt"}, Action::Usage, {}, {}},
        {{"-x", "TEAM.dat"}, Action::Usage, {}, {}},
        {{"a.dat", "b.dat"}, Action::Usage, {}, {}},
        {{"--export", "aus"}, Action::Usage, {}, {}},
        {{"--export", "aus", "a.dat", "b.dat"}, Action::Usage, {}, {}},
        {{"--export", "--export", "aus", "a.dat"}, Action::Usage, {}, {}},
        {{""}, Action::Usage, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.folder, c.folder);
        EXPECT_EQ(line.problem.isEmpty(), c.action != Action::Usage);
    }
}

} // namespace
