// The bundled sample team: four members with German names and answers on a 0 to 2
// scale, a few left out (-1), so every profile fits the chart's axes.
#pragma once

#include "Cp1252.h"
#include "TeamRecordBuilder.h"

inline TeamRecordBuilder SampleTeam()
{
    TeamRecordBuilder team;
    team.count(4)
        .name(1, EncodeCp1252(QStringLiteral("Jürgen Weiß")))
        .answers(1, {2, 1, 2, 1, 2, 1, 1, 2, 2, 0, 1, 2, 1, 1, 1, 2, 2, 1, 0, 1, 2, 1, 1, 2, 2, 0, 1, 2, 1, 1, 2, 1})
        .name(2, EncodeCp1252(QStringLiteral("Anneliese Böhm")))
        .answers(2, {1, 2, 1, 0, 1, 2, 0, 1, 0, 2, 1, 1, 1, 2, -1, 0, 1, 2, 1, 1, 0, 2, 1, 0, 1, 2, 1, 1, 1, 2, 0, 1})
        .name(3, EncodeCp1252(QStringLiteral("Dörte Maßmann")))
        .answers(3, {1, 1, 2, 1, 0, 1, 2, 1, 1, 1, 2, 0, 1, 1, 2, 1, 0, 1, 2, 1, 1, 1, 2, 0, -1, 1, 2, 1, 1, 1, 1, 1})
        .name(4, EncodeCp1252(QStringLiteral("Özlem Krüger")))
        .answers(4, {2, 1, 0, 2, 1, 1, 1, 2, 1, 0, 0, 2, 2, 1, 1, 1, 1, 0, 1, 2, 2, 1, 0, 2, 1, 1, 1, 2, 1, 1, 0, 2});
    return team;
}
