// Shared application state of both windows, and the team record read from the data file.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

// The data file's first 2116 bytes, kept unchanged. Fields are read from the bytes
// (little-endian, whatever the host), never through a packed struct.
struct TeamFile {
    static constexpr std::size_t RecordSize = 2116;
    static constexpr std::size_t FirstSlot = 4;
    static constexpr std::size_t SlotSize = 176;
    static constexpr std::size_t NameOffset = 0;    // length byte, then the characters
    static constexpr std::size_t MaxNameLength = 40;
    static constexpr std::size_t AnswersOffset = 44;
    static constexpr int SlotCount = 12;
    static constexpr int AnswerCount = 32;
    static_assert(FirstSlot + SlotCount * SlotSize == RecordSize);

    std::array<std::uint8_t, RecordSize> bytes{};

    std::uint8_t MemberCount() const { return bytes[0]; }
    // Member k (1 to 12): the name decoded from Windows-1252, at most 40 characters
    // even where the length byte claims more.
    QString MemberName(int k) const;
    // Answer i (1 to 32) of member k (1 to 12).
    std::int32_t Answer(int k, int i) const;

    static std::size_t slotOffset(int k) { return FirstSlot + SlotSize * std::size_t(k - 1); }
};

extern TeamFile TeamData;            // all zero until ReadTeamFile fills it
extern QByteArray DataFileName;      // full path of the chosen data file, as the file system spells it
extern bool SaveGraphics;            // closing a chart window with its button writes a snapshot
extern std::uint8_t SelectedMember;  // 0 = whole team, 1 to 3 = that member
extern bool FirstActivation;         // set by each window's creation, cleared by its first activation

// Reads the first 2116 bytes of the file at `path` into TeamData. Returns 0 on success,
// otherwise a non-zero code; it never throws. On failure TeamData holds the bytes that
// were read, the rest zero.
int ReadTeamFile(const QByteArray &path);
int ReadTeamFile(const QString &path);   // the same for a path held as text

// Failure codes of ReadTeamFile; callers only tell 0 from the rest.
enum ReadTeamFileResult : int {
    ReadOk = 0,
    ReadOpenFailed = 1,
    ReadNotARegularFile = 2,
    ReadIoError = 3,
    ReadTooShort = 4,
};

// Back to the state at program start; for tests that run several sessions in one process.
void ResetTeamGlobals();
