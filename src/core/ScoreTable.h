// The scores of every member and of the whole team as a table for spreadsheets.
#pragma once

#include <QByteArray>

// A CSV table of TeamData's views: the header "Ansicht;Name;Dauer;Nähe;Wechsel;Distanz",
// one row per member (1 to MemberCount, at most the record's 12) with its number, name and
// four scores, and a last row "gesamt" with an empty name and the whole team's scores.
// UTF-8 with a byte-order mark, ';'-separated, CRLF line ends, as German spreadsheet
// programs read it. A name with ';', '"' or a line break is quoted; one that a spreadsheet
// would take for a formula (starting with '=', '+', '-' or '@') is kept as text by a
// leading apostrophe. Computes with ComputeProfile, so it changes SelectedMember and
// ProfileScores.
QByteArray ScoreTable();
