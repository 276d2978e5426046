#include "Quadrivo1Profile.h"

#include "teamGLOBAL.h"

#include <algorithm>

ProfileScoresType ProfileScores;

namespace {

std::uint16_t &ScoreOfDimension(int dimension)
{
    switch (dimension) {
    case 1: return ProfileScores.ScoreDauer;
    case 2: return ProfileScores.ScoreNaehe;
    case 3: return ProfileScores.ScoreWechsel;
    default: return ProfileScores.ScoreDistanz;
    }
}

} // namespace

void AccumulateMember(std::uint8_t k)
{
    if (k < 1 || k > TeamFile::SlotCount)
        return;
    for (int i = 1; i <= TeamFile::AnswerCount; ++i) {
        const std::int32_t a = TeamData.Answer(k, i);
        if (a < 0)
            continue;   // a negative answer counts as not given
        std::uint16_t &score = ScoreOfDimension((i - 1) % 4 + 1);
        score = std::uint16_t(score + (a & 0xFFFF));   // wraps modulo 65536 on purpose
    }
}

void ComputeProfile()
{
    ProfileScores = {};
    if (SelectedMember != 0) {
        AccumulateMember(SelectedMember);
        return;
    }
    // The record has twelve slots: a larger count averages over all of them, and an
    // empty team keeps all scores 0 instead of dividing by zero.
    const int members = std::min<int>(TeamData.MemberCount(), TeamFile::SlotCount);
    if (members == 0)
        return;
    for (int k = 1; k <= members; ++k)
        AccumulateMember(std::uint8_t(k));
    for (int d = 1; d <= 4; ++d) {
        std::uint16_t &score = ScoreOfDimension(d);
        score = std::uint16_t(score / members);
    }
}
