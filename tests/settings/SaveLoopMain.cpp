// settings_save_loop DIR: rewrites DIR/vantrel.ini key by key, round after round, as a full
// save does, until it is killed. It says "saving" on stdout once the first round is written,
// and stops by itself after a bounded number of rounds.
#include <cstdio>
#include <string>

#include "app/App.h"
#include "settings/Ini.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"

int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc != 2) return 2;
    test::FakeUi ui;
    test::FakeClock clock;
    App app(ui, clock);
    app.programDirectory = std::string(argv[1]) + "/";
    constexpr int kKeys = 110;
    constexpr int kRounds = 2000;
    for (int round = 0; round < kRounds; ++round) {
        for (int key = 0; key < kKeys; ++key)
            INI_WriteInt(app.settings, kSettingsSection, ("Key" + std::to_string(key)).c_str(),
                         round);
        if (round == 0) {
            std::printf("saving\n");
            std::fflush(stdout);
        }
        if (!ui.boxes.empty()) {
            std::fprintf(stderr, "%s\n", ui.boxes[0].text.c_str());
            return 1;
        }
    }
    return 0;
}
