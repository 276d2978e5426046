// The bundled sample team: four members with German names and answers on a 0 to 4
// scale, a few left out (-1).
#pragma once

#include "Cp1252.h"
#include "TeamRecordBuilder.h"

inline TeamRecordBuilder SampleTeam()
{
    TeamRecordBuilder team;
    team.count(4)
        .name(1, EncodeCp1252(QStringLiteral("Jürgen Weiß")))
        .answers(1, {3, 1, 2, 2, 4, 1, 1, 2, 3, 0, 2, 3, 2, 1, 1, 2, 3, 2, 1, 1, 4, 1, 2, 2, 3, 0, 1, 3, 2, 1, 2, 2})
        .name(2, EncodeCp1252(QStringLiteral("Anneliese Böhm")))
        .answers(2, {1, 3, 2, 1, 2, 4, 1, 0, 1, 3, 2, 1, 0, 4, -1, 1, 2, 3, 1, 1, 1, 2, 2, 0, 2, 4, 1, 1, 1, 3, 2, 1})
        .name(3, EncodeCp1252(QStringLiteral("Dörte Maßmann")))
        .answers(3, {2, 2, 3, 1, 1, 2, 4, 1, 2, 1, 3, 2, 2, 2, 3, 0, 1, 1, 4, 1, 2, 2, 3, 1, -1, 1, 2, 2, 2, 2, 3, 1})
        .name(4, EncodeCp1252(QStringLiteral("Özlem Krüger")))
        .answers(4, {2, 1, 1, 3, 2, 2, 1, 4, 1, 1, 0, 3, 2, 2, 1, 2, 2, 0, 1, 4, 3, 1, 1, 2, 1, 2, 2, 3, 2, 1, 1, 3});
    return team;
}
