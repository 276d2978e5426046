// The four dimension scores of member and whole-team views.
#include "Quadrivo1Profile.h"
#include "TeamRecordBuilder.h"
#include "teamGLOBAL.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <ostream>

namespace {

std::array<int, 4> Scores()
{
    return {ProfileScores.ScoreDauer, ProfileScores.ScoreNaehe, ProfileScores.ScoreWechsel, ProfileScores.ScoreDistanz};
}

void Load(const TeamRecordBuilder &team)
{
    ResetTeamGlobals();
    const QByteArray bytes = team.bytes();
    std::memcpy(TeamData.bytes.data(), bytes.constData(), TeamData.bytes.size());
}

std::array<int, 4> View(std::uint8_t member)
{
    SelectedMember = member;
    ComputeProfile();
    return Scores();
}

struct ViewCase {
    const char *name;
    std::uint8_t member;
    std::array<int, 4> expected;
    friend std::ostream &operator<<(std::ostream &os, const ViewCase &c) { return os << c.name; }
};

// Member 1 answered 2 except answers 3 and 7 (-1), member 2 answered 1 everywhere, member
// 3 answered 0 except answer 1 (3); slots 4 to 12 hold answers that must not count.
class WorkedExample : public ::testing::TestWithParam<ViewCase>
{
protected:
    void SetUp() override
    {
        TeamRecordBuilder team;
        team.count(3).allAnswers(1, 2).answer(1, 3, -1).answer(1, 7, -1).allAnswers(2, 1).answer(3, 1, 3);
        for (int k = 4; k <= 12; ++k)
            team.allAnswers(k, 1000);
        Load(team);
    }
};

TEST_P(WorkedExample, GivesTheScoresOfTheView)
{
    EXPECT_EQ(View(GetParam().member), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Views, WorkedExample,
                         ::testing::Values(ViewCase{"member1", 1, {16, 16, 12, 16}},
                                           ViewCase{"member2", 2, {8, 8, 8, 8}},
                                           ViewCase{"member3", 3, {3, 0, 0, 0}},
                                           // 27/24/20/24 over 3: the remainder is dropped, 20/3 is 6
                                           ViewCase{"wholeTeam", 0, {9, 8, 6, 8}}),
                         [](const auto &info) { return std::string(info.param.name); });

// What one answer adds to its dimension.
struct AnswerCase {
    const char *name;
    std::int32_t answer;
    int adds;
    friend std::ostream &operator<<(std::ostream &os, const AnswerCase &c) { return os << c.name; }
};

class OneAnswer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(OneAnswer, AddsItsLow16BitsUnlessNegative)
{
    TeamRecordBuilder team;
    team.answer(1, 6, GetParam().answer);   // answer 6: dimension 2
    Load(team);
    EXPECT_EQ(View(1), (std::array<int, 4>{0, GetParam().adds, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Values, OneAnswer,
                         ::testing::Values(AnswerCase{"zero", 0, 0}, AnswerCase{"small", 16, 16},
                                           AnswerCase{"max16", 65535, 65535}, AnswerCase{"wrapsToZero", 65536, 0},
                                           AnswerCase{"wrapsToOne", 65537, 1}, AnswerCase{"int32Max", INT_MAX, 65535},
                                           AnswerCase{"minusOne", -1, 0}, AnswerCase{"int32Min", INT_MIN, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Profile, MemberSumsWrapAt65536)
{
    TeamRecordBuilder team;
    for (int i = 3; i <= 32; i += 4)
        team.answer(2, i, 10000);   // eight answers of dimension 3
    Load(team);
    EXPECT_EQ(View(2), (std::array<int, 4>{0, 0, 14464, 0}));   // 80000 mod 65536
}

TEST(Profile, AllAnswersNegativeOrZeroGiveZero)
{
    TeamRecordBuilder team;
    team.allAnswers(1, -5);
    Load(team);
    EXPECT_EQ(View(1), (std::array<int, 4>{}));
    EXPECT_EQ(View(2), (std::array<int, 4>{}));
}

TEST(Profile, TeamSumWrapsBeforeDividing)
{
    TeamRecordBuilder team;
    team.count(12);
    for (int k = 1; k <= 12; ++k)
        team.answer(k, 4, 10000);   // 120000 in dimension 4
    Load(team);
    EXPECT_EQ(View(0), (std::array<int, 4>{0, 0, 0, 4538}));   // 54464 / 12
}

TEST(Profile, MemberCountDecidesTheTeamAverage)
{
    TeamRecordBuilder team;
    for (int k = 1; k <= 12; ++k)
        team.answer(k, 1, k * 12).answer(k, 2, 7);
    struct Case { const char *what; std::uint8_t count; std::array<int, 4> expected; };
    const Case cases[] = {
        {"empty team: all zero, no division", 0, {0, 0, 0, 0}},
        {"one member: exactly member 1", 1, {12, 7, 0, 0}},
        {"two members ignore slots 3 to 12", 2, {18, 7, 0, 0}},
        {"all twelve", 12, {78, 7, 0, 0}},
        {"more than twelve: the twelve slots", 13, {78, 7, 0, 0}},
        {"count 255: the twelve slots", 255, {78, 7, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Load(TeamRecordBuilder(team).count(c.count));
        EXPECT_EQ(View(0), c.expected);
    }
}

TEST(Profile, MemberViewIgnoresMemberCount)
{
    TeamRecordBuilder team;
    team.count(0).allAnswers(1, 1);
    Load(team);
    EXPECT_EQ(View(1), (std::array<int, 4>{8, 8, 8, 8}));
}

TEST(Profile, EveryComputationStartsFromZero)
{
    TeamRecordBuilder team;
    team.count(2).allAnswers(1, 3).allAnswers(2, 1);
    Load(team);
    const auto first = View(1);
    EXPECT_EQ(View(2), (std::array<int, 4>{8, 8, 8, 8}));
    EXPECT_EQ(View(1), first);
    // AccumulateMember alone adds on top of what is there.
    AccumulateMember(2);
    EXPECT_EQ(Scores(), (std::array<int, 4>{32, 32, 32, 32}));
}

} // namespace
