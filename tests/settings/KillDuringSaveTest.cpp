// A process killed in the middle of saving leaves the settings file whole: the old text or the
// new one, never a part of it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "support/TempDir.h"

namespace vantrel {
namespace {

// Every line "KeyN = R" with CR LF behind "[Settings]" and the hand-written section in front;
// all 110 keys once each.
void ExpectWhole(const std::string& text) {
    const std::string head = "[Other]\r\nkeep=\"me\"\r\n[Settings]\r\n";
    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
    std::vector<bool> seen(110, false);
    std::size_t pos = head.size();
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "cut line at " << pos;
        int key = -1, round = -1;
        std::string line = text.substr(pos, end - pos);
        ASSERT_EQ(std::sscanf(line.c_str(), "Key%d = %d", &key, &round), 2) << line;
        ASSERT_TRUE(key >= 0 && key < 110 && !seen[key]) << line;
        seen[key] = true;
        pos = end + 2;
    }
    for (int key = 0; key < 110; ++key)
        EXPECT_TRUE(seen[key]) << "Key" << key << " missing";
}

TEST(KillDuringSave, TheFileIsAlwaysWhole) {
    test::TempDir install;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayUs(0, 30000);
    for (int round = 0; round < 15; ++round) {
        SCOPED_TRACE(round);
        test::WriteFile(install / "vantrel.ini", "[Other]\r\nkeep=\"me\"\r\n");
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            execl(SAVE_LOOP_PATH, SAVE_LOOP_PATH, install.Path().c_str(), nullptr);
            _exit(127);
        }
        close(out[1]);
        char said[8] = {};
        ssize_t n = read(out[0], said, 7); // "saving\n": the first full round is on disk
        close(out[0]);
        if (n != 7) {
            int status = 0;
            waitpid(pid, &status, 0);
            FAIL() << "the save loop did not start, status " << status;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the loop ended before it was killed";

        ExpectWhole(test::ReadFile(install / "vantrel.ini"));
        for (const auto& entry : std::filesystem::directory_iterator(install.Path()))
            if (entry.path().filename() != "vantrel.ini") std::filesystem::remove(entry.path());
    }
}

} // namespace
} // namespace vantrel
