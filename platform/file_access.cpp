#include "platform/file_access.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/player_files.h"

namespace {

const int LINK_HOPS = 40;           // as many as the kernel itself follows
const int LOCK_PATIENCE_MS = 2000;  // a write takes milliseconds; longer is a stuck copy
const int LOCK_RETRY_MS = 10;

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Opens without waiting (a FIFO would wait for a writer) and keeps only a regular file.
int OpenRegular(const std::string& path, int flags, bool& exists, std::string& problem) {
    int descriptor = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        exists = errno != ENOENT && errno != ENOTDIR;
        problem = (flags & O_NOFOLLOW) && errno == ELOOP ? "a link" : std::strerror(errno);
        return -1;
    }
    exists = true;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        problem = "not a regular file";
        return -1;
    }
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return descriptor;
}

bool WriteAll(int descriptor, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = write(descriptor, text.data() + done, text.size() - done);
        if (wrote < 0 && errno != EINTR) {
            return false;
        }
        done += wrote > 0 ? static_cast<size_t>(wrote) : 0;
    }
    return true;
}

// root may write any file; one marked read-only for everyone is still left alone.
bool IsWritable(const std::string& path, const struct stat& status) {
    return access(path.c_str(), W_OK) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH));
}

// A new file is the player's to read and write back, whatever else the umask takes away (a
// umask of 0777, as a browser's file system has, would lock the high score out of the game).
mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return (0666 & ~mask) | S_IRUSR | S_IWUSR;
}

// So that the rename itself outlives a power cut.
void SyncFolder(const std::string& path) {
    int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

// The text goes over the old bytes and the rest is cut off only then, so the file is never
// empty on the way.
bool WriteInPlace(const std::string& path, const std::string& text, std::string& problem) {
    bool exists = false;
    int descriptor = OpenRegular(path, O_WRONLY | O_NOFOLLOW, exists, problem);
    if (descriptor < 0) {
        return false;
    }
    bool written = WriteAll(descriptor, text) &&
                   ftruncate(descriptor, static_cast<off_t>(text.size())) == 0 &&
                   fsync(descriptor) == 0;
    if (!written) {
        problem = std::strerror(errno);
    }
    return close(descriptor) == 0 && written;
}

}  // namespace

ReadableFile::ReadableFile(const std::string& path) {
    int descriptor = OpenRegular(path, O_RDONLY, exists, problem);
    if (descriptor < 0) {
        return;
    }
    file = fdopen(descriptor, "r");
    if (!file) {
        problem = std::strerror(errno);
        close(descriptor);
    }
}

ReadableFile::~ReadableFile() {
    if (file) {
        std::fclose(file);
    }
}

bool ReadWholeFile(const std::string& path, std::size_t limit, bool followLinks, std::string& bytes,
                   bool& exists, std::string& problem) {
    bytes.clear();
    int descriptor = OpenRegular(path, O_RDONLY | (followLinks ? 0 : O_NOFOLLOW), exists, problem);
    if (descriptor < 0) {
        return false;
    }
    struct stat status;
    bool fits =
        fstat(descriptor, &status) == 0 && static_cast<std::size_t>(status.st_size) <= limit;
    char buffer[65536];
    ssize_t got = 0;
    while (fits && (got = read(descriptor, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        bytes.append(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
        fits = bytes.size() <= limit;  // a file that grows while it is read
    }
    close(descriptor);
    if (!fits || got < 0) {
        problem = fits ? std::strerror(errno) : "too large";
        bytes.clear();
        return false;
    }
    return true;
}

std::FILE* OpenRegularForWriting(const std::string& path, bool& special, std::string& problem) {
    struct stat status;
    special = stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
    int descriptor =
        special ? -1
                : open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, NewFileMode());
    if (descriptor >= 0 && (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))) {
        special = true;  // put there after the look
        close(descriptor);
        descriptor = -1;
    }
    special = special || (descriptor < 0 && errno == ENXIO);  // a FIFO no one reads
    std::FILE* file = nullptr;
    if (descriptor >= 0 && ftruncate(descriptor, 0) == 0) {
        file = fdopen(descriptor, "w");
    }
    if (!file) {
        problem = special ? "not a regular file" : std::strerror(errno);
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
    return file;
}

bool CanReadRegularFile(const std::string& path, std::string& problem) {
    ReadableFile probe(path);
    problem = probe.file || !probe.exists ? "" : probe.problem;
    return probe.file != nullptr;
}

std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < LINK_HOPS; ++hop) {
        struct stat status;
        char target[PATH_MAX];
        if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return current;
        }
        ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0) {
            return current;
        }
        target[length] = '\0';
        current = target[0] == '/' ? target : FolderOf(current) + "/" + target;
    }
    return current;  // a loop of links, which opening then reports
}

FolderLock::FolderLock(const std::string& path) {
    descriptor = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int waited = 0; descriptor >= 0 && flock(descriptor, LOCK_EX | LOCK_NB) != 0;
         waited += LOCK_RETRY_MS) {
        if (errno != EWOULDBLOCK || waited >= LOCK_PATIENCE_MS) {
            close(descriptor);
            descriptor = -1;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(LOCK_RETRY_MS));
        }
    }
}

FolderLock::~FolderLock() {
    if (descriptor >= 0) {
        close(descriptor);
    }
}

bool ReplaceFileContents(const std::string& path, const std::string& text, std::string& problem) {
    struct stat old;
    bool exists = stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        problem = "not a regular file";
        return false;
    }
    if (exists && !IsWritable(path, old)) {
        problem = "the file is read-only";
        return false;
    }
    // mkostemp creates with O_EXCL: never a file that is already there, nor through a link.
    std::string temporary = path + ".XXXXXX";
    int descriptor = mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        if (exists && (errno == EACCES || errno == EPERM)) {
            return WriteInPlace(path, text, problem);  // the folder takes no new files
        }
        problem = std::strerror(errno);
        return false;
    }
    fchmod(descriptor, exists ? old.st_mode & 07777 : NewFileMode());
    bool written = WriteAll(descriptor, text) && fsync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        problem = std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(path);
    KeepPlayerFiles();
    return true;
}
