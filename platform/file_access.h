// Reading files without hanging on special ones, and replacing a file without losing it to a
// crash, to another copy of the game writing beside it, or to a link.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// A file opened for reading. Only regular files are read, and links to them: a FIFO would
// block the start until someone writes into it, and a device such as /dev/zero never ends.
class ReadableFile {
public:
    std::FILE* file = nullptr;  // open for reading when the path names a readable regular file
    bool exists = false;        // something is at the path, readable or not
    std::string problem;        // why it cannot be read, when it exists but file is null

    explicit ReadableFile(const std::string& path);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;
};

// True when the path names a readable regular file. Otherwise false, with the reason when
// something is there; a missing file needs none.
bool CanReadRegularFile(const std::string& path, std::string& problem);

// Reads a whole regular file of at most limit bytes into bytes. A link is followed only when
// asked. False, with the reason (and nothing read) otherwise; exists tells a missing file.
bool ReadWholeFile(const std::string& path, std::size_t limit, bool followLinks, std::string& bytes,
                   bool& exists, std::string& problem);

// Opens a regular file for writing afresh, making it if it is absent, without waiting. Anything
// else in its place (a FIFO, which would hold the caller until someone reads it, a device, a
// folder) is left alone, and special says so. Null, with the reason, when nothing was opened.
std::FILE* OpenRegularForWriting(const std::string& path, bool& special, std::string& problem);

// The path a chain of symbolic links ends at, followed even when that file does not exist
// yet; the path itself when it is no link.
std::string FollowLinks(const std::string& path);

// Held while a file of the folder is read and replaced, so that two copies of the game take
// turns. A copy that keeps it for long (stopped in a debugger, say) is waited for only a
// moment; where the folder cannot be locked, nothing is waited for.
class FolderLock {
public:
    int descriptor = -1;

    explicit FolderLock(const std::string& path);  // locks the folder that holds the path
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
};

// Gives the file at the path (no link: see FollowLinks) exactly this text. It is written to a
// new file of a name no one else can hold, synced and renamed over the old one, taking over
// its mode, so a crash at any moment leaves either the old file or the new one. Where the
// folder takes no new files but the file itself may be written, it is overwritten in place
// and synced. A file that is not a regular file, or not writable, is left alone. False, with
// the reason, when the text is not in place.
bool ReplaceFileContents(const std::string& path, const std::string& text, std::string& problem);
