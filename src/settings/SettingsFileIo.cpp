#include "settings/SettingsFileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/RegularFile.h"
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
    RegularFileOpen file = OpenRegularFile(path, O_RDONLY);
    if (file.kind) {
        // A FIFO or a device is never read (it could block or never end) nor replaced.
        result.outcome = ReadOutcome::Failed;
        result.message = OpenPrefix(path) + NotRegularText(file.kind);
        return result;
    }
    int fd = file.fd;
    if (fd < 0) {
        // No settings yet (or no folder for them): every key takes its default.
        if (file.error == ENOENT || file.error == ENOTDIR) return result;
        result.outcome = ReadOutcome::Failed;
        result.message = OpenPrefix(path) + FileErrorEnding(file.error, path, false);
        return result;
    }
    result.outcome = ReadOutcome::Failed;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        result.message = OpenPrefix(path) + "Failed to read data!";
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

std::string RewriteSettingsFile(const std::string& path, const std::string& text,
                                const SafeWriteChecks& checks) {
    if (path.size() >= kSettingsPathSize)
        return SavePrefix(path) + FileErrorEnding(ENAMETOOLONG, path, true);
    // The folder may not be there yet (the per-user folder of a new user) or may have gone
    // while the program ran: every missing folder is made, with the user's default permissions.
    std::error_code ignored; // a failure shows as "Path not found!" below
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);

    SafeFileWriter file(checks);
    if (file.Open(path) && file.Write(text) && file.Commit()) return {};
    if (file.NotRegular()) return SavePrefix(path) + NotRegularText(file.NotRegular());
    if (file.ReadOnly()) return SavePrefix(path) + "File has read only attribute!";
    if (file.FailedStep() == SafeFileWriter::Step::Write)
        return SavePrefix(path) + "Failed to write data!";
    return SavePrefix(path) + FileErrorEnding(file.Error(), file.Target(), true);
}

} // namespace vantrel
