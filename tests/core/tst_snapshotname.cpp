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
        // Characters, not bytes or UTF-16 units: a non-BMP character counts once...
        {"/d/x\xF0\x9F\x98\x80" "abc", 1, "/d/x1.jpg"},
        {"/d/\xF0\x9F\x98\x80" "abcd", 1, "/d/\xF0\x9F\x98\x80" "1.jpg"},
        // ...and a folder or name that is not UTF-8 keeps its bytes, one character each.
        {"/d/\xE4\xF6\xFC/TEAM.dat", 1, "/d/\xE4\xF6\xFC/TEAM1.jpg"},
        {"/d/T\xC4\xE4M.dat", 0, "/d/T\xC4\xE4M-gesamt.jpg"},
        {"/d/\xE4.dat", 2, "/d/\xE4" "2.jpg"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(SnapshotFileName(QByteArray(c.data), std::uint8_t(c.member)), QByteArray(c.expected));
    }
}

} // namespace
