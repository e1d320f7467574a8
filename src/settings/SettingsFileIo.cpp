#include "settings/SettingsFileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "settings/SettingsPath.h"

namespace vantrel {
namespace {

std::string OpenPrefix(const std::string& path) {
    return "Could not open file [" + path + "]\n";
}
std::string SavePrefix(const std::string& path) {
    return "Could not save file [" + path + "]\n";
}

bool DirectoryOfExists(const std::string& path) {
    auto slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat st {};
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool HasNoWriteBit(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

// A symbolic link is followed, so that the file it names is replaced and the link stays.
std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved)) return resolved;
    return path;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string FileErrorEnding(int error, const std::string& path, bool saving) {
    switch (error) {
    case ENOENT:
        return DirectoryOfExists(path) ? "File not found!" : "Path not found!";
    case ENOTDIR:
        return "Path not found!";
    case EACCES:
    case EPERM:
        if (saving && HasNoWriteBit(path)) return "File has read only attribute!";
        return "Access is denied!";
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "Access is denied!";
    case ENXIO:
    case ENODEV:
        return "Invalid drive!";
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
    case ELOOP:
        return "Filename syntax is incorrect!";
    default:
        return "Invalid file handle!";
    }
}

ReadResult ReadSettingsFile(const std::string& path, std::size_t limit) {
    ReadResult result;
    if (path.size() >= kSettingsPathSize) {
        result.outcome = ReadOutcome::Failed;
        result.message = OpenPrefix(path) + FileErrorEnding(ENAMETOOLONG, path, false);
        return result;
    }
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // No settings yet (or no folder for them): every key takes its default.
        if (errno == ENOENT || errno == ENOTDIR) return result;
        result.outcome = ReadOutcome::Failed;
        result.message = OpenPrefix(path) + FileErrorEnding(errno, path, false);
        return result;
    }
    result.outcome = ReadOutcome::Failed;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.message = OpenPrefix(path) + FileErrorEnding(EISDIR, path, false);
    } else if (static_cast<std::size_t>(st.st_size) > limit) {
        // Reading only a part would lose the rest at the next rewrite.
        result.message = OpenPrefix(path) + "The settings file is larger than " +
                         std::to_string(limit) + " bytes!";
    } else {
        result.text.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < result.text.size()) {
            ssize_t n = read(fd, result.text.data() + done, result.text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        if (done == result.text.size()) {
            result.outcome = ReadOutcome::Read;
        } else {
            result.text.clear();
            result.message = OpenPrefix(path) + "Failed to read data!";
        }
    }
    close(fd);
    return result;
}

std::string RewriteSettingsFile(const std::string& path, const std::string& text) {
    if (path.size() >= kSettingsPathSize)
        return SavePrefix(path) + FileErrorEnding(ENAMETOOLONG, path, true);
    std::string target = ResolvedTarget(path);
    struct stat old {};
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISREG(old.st_mode) && (old.st_mode & 0222) == 0)
        return SavePrefix(path) + "File has read only attribute!";

    std::string temp = target + "." + std::to_string(getpid()) + ".tmp";
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        int error = errno;
        // The directory refused the new file: say what refusing the file itself would say.
        return SavePrefix(path) + FileErrorEnding(error, exists ? target : temp, true);
    }
    bool written = WriteAll(fd, text);
    if (written && exists) fchmod(fd, old.st_mode & 07777); // keep the old file's permissions
    if (written) written = fdatasync(fd) == 0;
    if (close(fd) != 0) written = false;
    if (!written) {
        unlink(temp.c_str());
        return SavePrefix(path) + "Failed to write data!";
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
        int error = errno;
        unlink(temp.c_str());
        return SavePrefix(path) + FileErrorEnding(error, target, true);
    }
    return {};
}

} // namespace vantrel
