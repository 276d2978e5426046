// Every view of a data file written into a folder, with no window on any screen.
#pragma once

#include <QByteArray>

class QTextStream;

// Writes into `folder`, for each member 1 … MemberCount (at most the record's 12) and for
// the whole team, the chart as <stem>N.pdf and <stem>N.png (<stem>-gesamt.pdf and .png
// for the team), and the scores as <stem>-Werte.csv; <stem> is the data file's name cut as
// for snapshots. Each file appears complete or not at all. Returns the exit status: 0 when
// everything was written; 1 after a German message on `errors` when the data file cannot
// be read, the folder is missing or not writable (then nothing is written), or a file
// cannot be written. Needs a QApplication (the offscreen platform will do).
int ExportProfiles(const QByteArray &folder, const QByteArray &dataFile, QTextStream &errors);
