#pragma once
// An application context with the main window and the document commands, in a temporary
// working directory, and helpers to load text, write the image and run a batch.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Batch.h"
#include "app/Startup.h"
#include "commands/DocumentCommands.h"
#include "image/FileIo.h"
#include "image/IntelHexFile.h"
#include "image/SRecordFile.h"
#include "image/TextLoader.h"
#include "support/AppFixture.h"
#include "support/Process.h"
#include "support/RunBatch.h"
#include "ui/MainWindow.h"

namespace vantrel::test {

using Bytes = std::vector<uint8_t>;
using AreaList = std::vector<std::pair<uint64_t, Bytes>>;

inline AreaList AreasOf(const MemoryImage& image) {
    AreaList areas;
    uint64_t cursor = 0;
    for (ImageRun run; (run = image.NextRun(cursor)).length != 0; cursor += run.length)
        areas.emplace_back(cursor, Bytes(run.data, run.data + run.length));
    return areas;
}

inline std::string SRecordText(const MemoryImage& image) {
    StringSink out;
    WriteSRecordFile(image, out);
    return out.text;
}

inline std::string IntelHexText(const MemoryImage& image) {
    StringSink out;
    WriteIntelHexFile(image, out);
    return out.text;
}

class ImageFixture : public AppFixture {
  protected:
    ImageFixture() {
        InstallSampleDevice(install.Path());
        app->mainWindow = std::make_unique<MainWindow>(*app);
        RegisterDocumentCommands(*app);
    }

    // Where RunBatch's program is installed, with a device set up; the working directory
    // (`dir`) holds only the files the tests and the batch write.
    TempDir install;

    CHEXDoc& Doc() { return app->doc; }
    AreaList Areas() { return AreasOf(app->doc.Lock().Image()); }

    // A load as the document commands make it (their error path, Ui and overlap question).
    bool Load(std::string_view text) {
        StringSource source(text);
        return LoadTextFile(ProgramFileLoadSeams(*app), app->doc, source);
    }

    void Add(uint64_t address, const Bytes& bytes) {
        ASSERT_EQ(app->doc.AddData(address, static_cast<uint32_t>(bytes.size()), bytes.data()),
                  AddResult::Added);
    }

    // Start-up with these arguments (as vantrel-cli: the batch ends the program), then timer
    // ticks until the batch ends; returns the exit code.
    int32_t RunBatch(std::vector<std::string> args) {
        app = std::make_unique<App>(ui, clock);
        app->programDirectory = install.Path().string() + "/";
        ui.quit.reset();
        return test::RunBatch(*app, ui, clock, std::move(args),
                              StartupOptions{.exitAfterBatch = true}, {}, 1000);
    }

    std::vector<std::string> Messages() const { return ui.Messages(); }
};

} // namespace vantrel::test
