#pragma once
// The one writer of every file the program saves whole: program files and the settings file.
//
// The new content goes into a new file beside the target, is flushed to the disk and is then
// renamed over the target, so whatever stops a save half-way (a refused range, a full disk, a
// killed process, a power loss) leaves the old file as it was. Around that:
// - a symbolic link is followed: the file it names gets the new content, the link stays a link;
// - the new file gets the old one's permissions and, where the process may, its owner;
// - an existing file that the user may not write is refused (EACCES), and so is a file without
//   any write permission bit, which counts as read-only even for root;
// - anything but a regular file (a directory, a FIFO, a device) is refused and left alone;
// - a file in a folder where no new file can be made, and a file with more than one hard link,
//   is written in place (truncated and written again): the first could not be saved at all
//   otherwise, and a rename would split the second from its other names. Crash safety is given
//   up there: a crash during that write can leave the file cut. The content is held back until
//   Commit, so a save abandoned before it still leaves the file as it was.
// A new file (no old one) is not flushed before the rename: there is nothing old to lose.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vantrel {

struct SafeWriteChecks {
    // Whether a new file can be made in `folder`. Unset: the system is asked with the effective
    // ids (root passes that everywhere except on a read-only file system, so a test that runs
    // as root sets its own answer to reach the in-place branch).
    std::function<bool(const std::string& folder)> canCreateIn;
};

class SafeFileWriter {
  public:
    // Where a failed save stopped: before anything was written (the file was refused or the new
    // file could not be made), while writing, or when the new file was put in place.
    enum class Step { None, Open, Write, Replace };

    explicit SafeFileWriter(SafeWriteChecks checks = {});
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool Open(const std::string& path);
    bool Write(const char* data, std::size_t count);
    bool Write(std::string_view text) { return Write(text.data(), text.size()); }
    // Puts the content in place of the target; false on any failure (the target is then as it
    // was, except after a failed in-place write).
    bool Commit();
    // Drops what was written; the target stays as it was.
    void Abandon();

    Step FailedStep() const { return failedStep_; }
    int Error() const { return error_; }             // errno of the first failure
    bool ReadOnly() const { return readOnly_; }      // refused: no write permission bit
    const char* NotRegular() const { return kind_; } // refused: what the target is instead
    // The first failure in words: the system's text, or "It is a FIFO, not a regular file!".
    std::string ErrorText() const;
    // The file written after symbolic links were followed.
    const std::string& Target() const { return target_; }
    bool InPlace() const { return inPlace_; }

  private:
    bool Fail(Step step, int error);
    bool WriteFd(const char* data, std::size_t count);

    SafeWriteChecks checks_;
    std::string target_;
    std::string temporary_; // the new file beside the target; empty when writing in place
    std::string pending_;   // in place: the content, written at Commit
    int fd_ = -1;
    bool replacing_ = false; // an old file exists
    bool inPlace_ = false;
    bool readOnly_ = false;
    const char* kind_ = nullptr;
    Step failedStep_ = Step::None;
    int error_ = 0;
};

} // namespace vantrel
