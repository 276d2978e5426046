// Replacing one directory entry with a complete new regular file.
#pragma once

#include <QByteArray>

#include <cstddef>

// Writes `size` bytes into a new file and puts it in place of the entry `path` (a native,
// byte-exact path) in one step:
//  - the new file is written unnamed in the target's folder, synced, and only then given a
//    short temporary name and renamed over the entry, so readers see the earlier file or
//    the whole new one, never a part;
//  - whatever the entry is (a file, or a symbolic link, dangling or not) only the entry is
//    replaced: a link's target is never opened, written or created;
//  - the temporary name is short, so any name up to the file system's limit works;
//  - on failure the earlier entry is unchanged and no file is left behind.
// Returns 0, or the errno of the step that failed.
int ReplaceFileContents(const QByteArray &path, const void *bytes, std::size_t size);
