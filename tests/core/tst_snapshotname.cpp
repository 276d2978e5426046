// Snapshot file names made from the data file's path.
#include "SnapshotName.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(SnapshotFileName, CutsFourCharactersOfTheFileNameOnly)
{
    struct Case { const char *data; int member; const char *expected; };
    const Case cases[] = {
        {"/home/coach/Daten/TEAM.dat", 1, "/home/coach/Daten/TEAM1.jpg"},
        {"/home/coach/Daten/TEAM.dat", 2, "/home/coach/Daten/TEAM2.jpg"},
        {"/home/coach/Daten/TEAM.dat", 3, "/home/coach/Daten/TEAM3.jpg"},
        {"/home/coach/Daten/TEAM.dat", 0, "/home/coach/Daten/TEAM-gesamt.jpg"},
        {"/d/team.data", 1, "/d/team.1.jpg"},                // four characters, whatever they are
        {"/d/TEAMDAT", 1, "/d/TEA1.jpg"},
        {"/d/abcd", 2, "/d/2.jpg"},                          // exactly four: nothing of the name left
        {"/home/coach/Daten/ab", 1, "/home/coach/Daten/1.jpg"},   // shorter: never into the folder
        {"/home/coach/Daten/ab", 0, "/home/coach/Daten/-gesamt.jpg"},
        {"/Grüße/Übung.dat", 1, "/Grüße/Übung1.jpg"},
        {"TEAM.dat", 1, "TEAM1.jpg"},
        {"ab", 3, "3.jpg"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(SnapshotFileName(QString::fromUtf8(c.data), std::uint8_t(c.member)), QString::fromUtf8(c.expected));
    }
}

} // namespace
