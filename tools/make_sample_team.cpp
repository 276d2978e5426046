// Writes the bundled sample data file: make_sample_team <path of TEAM.dat>
#include "SampleTeam.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TEAM.dat\n", argv[0]);
        return 2;
    }
    if (!SampleTeam().writeTo(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
