#include "core/file_io.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace meldora {

namespace fs = std::filesystem;

namespace {

// An open file descriptor, closed when it goes.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

// Opens a regular file for reading. The open never waits (a FIFO without a
// writer would block it), and anything but a regular file, reached directly or
// through a link, is refused before a byte is read: a device or a FIFO has no
// end to read to. Returns -1 with the reason in error.
int OpenRegularFile(const std::string& fileName, std::string& error)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = ErrnoText(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file";
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Reads until the end of the file or maxBytes, whichever comes first.
bool ReadAtMost(int fd, std::size_t maxBytes, std::string& text, std::string& error)
{
    text.assign(maxBytes, '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = ErrnoText(errno);
            return false;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    return true;
}

// Puts the folder's entries on the disk, so that the rename survives a power
// cut. A folder that cannot be synced leaves the file written all the same.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string ErrnoText(int error) { return std::generic_category().message(error); }

bool WriteFileReplacing(const std::string& fileName, const std::string& text, std::string& error)
{
    std::error_code ec;
    fs::path target(fileName);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const fs::path folder = target.parent_path();

    fs::path temporary;
    std::FILE* file = nullptr;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 10 && !file; ++attempt) {
        temporary = folder / ("." + target.filename().string() + "." + std::to_string(stamp + attempt) + ".tmp");
        errno = 0;
        file = std::fopen(temporary.c_str(), "wbx");
        if (!file && errno != EEXIST)
            break;
    }
    if (!file) {
        error = ErrnoText(errno ? errno : EIO);
        return false;
    }

    errno = 0;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    // On the disk before it replaces the old file: a power cut after the
    // rename must not leave an empty file in its place.
    written = written && ::fsync(fileno(file)) == 0;
    int writeError = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        error = ErrnoText(writeError ? writeError : EIO);
        fs::remove(temporary, ec);
        return false;
    }

    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old))
        fs::permissions(temporary, old.permissions(), ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        error = ec.message();
        fs::remove(temporary, ec);
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool ReadRegularFile(const std::string& fileName, std::size_t maxBytes, std::string& text, std::string& error)
{
    const FileHandle file(OpenRegularFile(fileName, error));
    return file.Get() >= 0 && ReadAtMost(file.Get(), maxBytes, text, error);
}

}  // namespace meldora
