// The writer of whole files: what each kind of existing file becomes after a save, and that a
// save that is given up leaves the old content.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/SafeFileWriter.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "old content\r\n";
const std::string kNew = "new content, longer than the old one\r\n";

struct stat StatOf(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}

mode_t DefaultFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

SafeWriteChecks FolderWritable(bool writable) {
    return {[writable](const std::string&) { return writable; }};
}

bool NothingBeside(const fs::path& dir) {
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().extension() == ".tmp") return false;
    return true;
}

TEST(SafeFileWriter, EachKindOfExistingFile) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make; // lays out the folder; "out.mot" is saved
        bool folderWritable;
        bool saved;
        bool inPlace;
        std::vector<std::string> nowNew; // files that hold the new content afterwards
        std::vector<std::string> stillOld;
        std::function<void(const fs::path&, const SafeFileWriter&)> check;
    } cases[] = {
        {"missing file",
         [](const fs::path&) {},
         true,
         true,
         false,
         {"out.mot"},
         {},
         [](const fs::path& d, const SafeFileWriter&) {
             EXPECT_EQ(StatOf(d / "out.mot").st_mode & 07777, DefaultFileMode());
         }},
        {"plain file keeps its mode and owner",
         [](const fs::path& d) {
             test::WriteFile(d / "out.mot", kOld);
             ::chmod((d / "out.mot").c_str(), 0640);
             if (::geteuid() == 0) (void)::chown((d / "out.mot").c_str(), 65534, 65534);
         },
         true,
         true,
         false,
         {"out.mot"},
         {},
         [](const fs::path& d, const SafeFileWriter&) {
             struct stat st = StatOf(d / "out.mot");
             EXPECT_EQ(st.st_mode & 07777, 0640u);
             if (::geteuid() == 0) {
                 EXPECT_EQ(st.st_uid, 65534u);
             }
         }},
        {"symbolic link: the file it names gets the content",
         [](const fs::path& d) {
             fs::create_directory(d / "real");
             test::WriteFile(d / "real/target.mot", kOld);
             fs::create_symlink("real/target.mot", d / "out.mot");
         },
         true,
         true,
         false,
         {"real/target.mot"},
         {},
         [](const fs::path& d, const SafeFileWriter& w) {
             EXPECT_TRUE(fs::is_symlink(d / "out.mot"));
             EXPECT_EQ(w.Target(), (d / "real/target.mot").string());
         }},
        {"symbolic link to a file not there yet",
         [](const fs::path& d) { fs::create_symlink("made.mot", d / "out.mot"); },
         true,
         true,
         false,
         {"made.mot"},
         {},
         [](const fs::path& d, const SafeFileWriter&) {
             EXPECT_TRUE(fs::is_symlink(d / "out.mot"));
         }},
        {"file without any write permission bit is refused",
         [](const fs::path& d) {
             test::WriteFile(d / "out.mot", kOld);
             ::chmod((d / "out.mot").c_str(), 0444);
         },
         true,
         false,
         false,
         {},
         {"out.mot"},
         [](const fs::path&, const SafeFileWriter& w) {
             EXPECT_TRUE(w.ReadOnly());
             EXPECT_EQ(w.Error(), EACCES);
             EXPECT_EQ(w.FailedStep(), SafeFileWriter::Step::Open);
         }},
        {"writable file in a folder where no file can be made is written in place",
         [](const fs::path& d) { test::WriteFile(d / "out.mot", kOld); },
         false,
         true,
         true,
         {"out.mot"},
         {},
         nullptr},
        {"hard link is written in place and stays one file",
         [](const fs::path& d) {
             test::WriteFile(d / "out.mot", kOld);
             fs::create_hard_link(d / "out.mot", d / "other.mot");
         },
         true,
         true,
         true,
         {"out.mot", "other.mot"},
         {},
         [](const fs::path& d, const SafeFileWriter&) {
             EXPECT_EQ(StatOf(d / "out.mot").st_nlink, 2u);
         }},
        {"FIFO is refused",
         [](const fs::path& d) { ::mkfifo((d / "out.mot").c_str(), 0644); },
         true,
         false,
         false,
         {},
         {},
         [](const fs::path& d, const SafeFileWriter& w) {
             EXPECT_STREQ(w.NotRegular(), "a FIFO");
             EXPECT_EQ(w.ErrorText(), "It is a FIFO, not a regular file!");
             EXPECT_TRUE(fs::is_fifo(d / "out.mot"));
         }},
        {"directory is refused",
         [](const fs::path& d) { fs::create_directory(d / "out.mot"); },
         true,
         false,
         false,
         {},
         {},
         [](const fs::path& d, const SafeFileWriter& w) {
             EXPECT_STREQ(w.NotRegular(), "a directory");
             EXPECT_TRUE(fs::is_directory(d / "out.mot"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        c.make(dir.Path());
        ino_t before = StatOf(dir / "out.mot").st_ino;
        SafeFileWriter writer(FolderWritable(c.folderWritable));
        bool saved =
            writer.Open((dir / "out.mot").string()) && writer.Write(kNew) && writer.Commit();
        EXPECT_EQ(saved, c.saved) << writer.ErrorText();
        EXPECT_EQ(writer.InPlace(), c.inPlace);
        if (c.inPlace) {
            EXPECT_EQ(StatOf(dir / "out.mot").st_ino, before);
        }
        for (const auto& name : c.nowNew)
            EXPECT_EQ(test::ReadFile(dir / name), kNew) << name;
        for (const auto& name : c.stillOld)
            EXPECT_EQ(test::ReadFile(dir / name), kOld) << name;
        if (c.check) c.check(dir.Path(), writer);
        EXPECT_TRUE(NothingBeside(dir.Path()));
    }
}

TEST(SafeFileWriter, ASaveGivenUpLeavesTheOldContent) {
    for (bool folderWritable : {true, false}) {
        SCOPED_TRACE(folderWritable ? "beside and rename" : "in place");
        test::TempDir dir;
        test::WriteFile(dir / "out.mot", kOld);
        {
            SafeFileWriter writer(FolderWritable(folderWritable));
            ASSERT_TRUE(writer.Open((dir / "out.mot").string()));
            EXPECT_TRUE(writer.Write(kNew));
            writer.Abandon();
        }
        {
            SafeFileWriter writer(FolderWritable(folderWritable));
            ASSERT_TRUE(writer.Open((dir / "out.mot").string()));
            EXPECT_TRUE(writer.Write(kNew));
        } // dropped without Commit
        EXPECT_EQ(test::ReadFile(dir / "out.mot"), kOld);
        EXPECT_TRUE(NothingBeside(dir.Path()));
    }
}

// Another user's file that this user may not write, in a folder where anybody may make files:
// refused, although a rename over it would work. Run as an unprivileged user in a child.
TEST(SafeFileWriter, AFileTheUserMayNotWriteIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    test::TempDir dir;
    ::chmod(dir.Path().c_str(), 0777);
    test::WriteFile(dir / "out.mot", kOld); // root's, mode 0644
    ::chmod((dir / "out.mot").c_str(), 0644);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        SafeFileWriter writer;
        bool refused = !writer.Open((dir / "out.mot").string()) && writer.Error() == EACCES &&
                       !writer.ReadOnly();
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test::ReadFile(dir / "out.mot"), kOld);
    EXPECT_TRUE(NothingBeside(dir.Path()));
}

TEST(SafeFileWriter, AMissingFolderIsNamedAtOpen) {
    test::TempDir dir;
    SafeFileWriter writer;
    EXPECT_FALSE(writer.Open((dir / "no-such-dir/out.mot").string()));
    EXPECT_EQ(writer.Error(), ENOENT);
    EXPECT_EQ(writer.FailedStep(), SafeFileWriter::Step::Open);
    EXPECT_FALSE(writer.Commit());
}

} // namespace
} // namespace vantrel
