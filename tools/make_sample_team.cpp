// Writes the bundled sample data file: make_sample_team <path of TEAM.dat> [NAME]
// NAME, where given, replaces member 1's name (the end-to-end tests tell files apart by it).
#include "SampleTeam.h"

#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s TEAM.dat [NAME]\n", argv[0]);
        return 2;
    }
    TeamRecordBuilder team = SampleTeam();
    if (argc == 3)
        team.name(1, EncodeCp1252(QString::fromLocal8Bit(argv[2])));
    if (!team.writeTo(QFile::decodeName(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
