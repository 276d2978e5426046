// The four dimension scores of a view, computed from the answers in TeamData.
#pragma once

#include <cstdint>

struct ProfileScoresType {
    std::uint16_t ScoreDauer = 0;
    std::uint16_t ScoreNaehe = 0;
    std::uint16_t ScoreWechsel = 0;
    std::uint16_t ScoreDistanz = 0;
};

// Scores of the view last computed; zero at program start.
extern ProfileScoresType ProfileScores;

// Adds the answers of member k (1 to 12) into ProfileScores without clearing them first.
void AccumulateMember(std::uint8_t k);

// Leaves the scores of the view named by SelectedMember in ProfileScores.
void ComputeProfile();
