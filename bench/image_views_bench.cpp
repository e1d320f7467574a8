// How fast the dump view draws a page of a large, scattered image: a 16 MiB image of 100 000
// areas, one page rendered into an image offscreen again and again, then Page Down from the
// first line to the last, each page rendered. Prints milliseconds per page.
//   image_views_bench [width height]
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/App.h"
#include "ui/ListViewLayout.h"
#include "ui/qt/views/DumpView.h"
#include "ui/qt/views/ListView.h"

namespace {

using namespace vantrel;

// Nobody answers: the bench asks nothing.
class SilentUi : public Ui {
  public:
    MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon,
                         MsgAnswer defaultAnswer) override {
        return defaultAnswer;
    }
    void SetStatusText(int, const std::string&) override {}
    void PumpMessages() override {}
    void PostQuit(int) override {}
    void Repaint() override {}
};

class SteadyClock : public Clock {
  public:
    uint32_t Milliseconds() override { return 0; }
    void Sleep(uint32_t) override {}
    std::tm LocalTime() override { return {}; }
};

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// CPU time of this process in ms: on a machine shared with other work it tells more than the
// wall time.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// 100 000 areas of 167 or 168 bytes, 8 bytes apart: 16 MiB of data.
void FillImage(CHEXDoc& doc) {
    constexpr uint32_t kAreas = 100000;
    constexpr uint32_t kTotal = 16u << 20;
    std::vector<uint8_t> bytes(168);
    uint32_t address = 0;
    uint32_t left = kTotal;
    for (uint32_t i = 0; i < kAreas; ++i) {
        const uint32_t length = left / (kAreas - i); // 167 or 168
        bytes.resize(length);
        for (uint32_t k = 0; k < length; ++k)
            bytes[k] = static_cast<uint8_t>(address + k);
        doc.AddData(address, length, bytes.data());
        address += length + 8;
        left -= length;
    }
}

// Wall and CPU time of one of `rounds` calls of f, in ms.
struct Cost {
    double wall;
    double cpu;
};
template <class F> Cost Measure(int rounds, F&& f) {
    const double cpu = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        f();
    return {Ms(std::chrono::steady_clock::now() - start) / rounds, (CpuMs() - cpu) / rounds};
}

void Print(const char* what, Cost cost, const char* goal = "") {
    std::printf("%-44s %8.3f ms wall, %8.3f ms CPU%s\n", what, cost.wall, cost.cpu, goal);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int width = argc > 2 ? std::atoi(argv[1]) : 800;
    const int height = argc > 2 ? std::atoi(argv[2]) : 600;
    SilentUi ui;
    SteadyClock clock;
    App app(ui, clock);
    FillImage(app.doc);
    {
        auto image = app.doc.Lock();
        std::printf("image: %zu areas, %llu bytes, 0x%llX..0x%llX\n", image->AreaCount(),
                    static_cast<unsigned long long>(image->TotalBytes()),
                    static_cast<unsigned long long>(image->StartAddress()),
                    static_cast<unsigned long long>(image->EndAddress()));
    }

    DumpView dump(app, nullptr);
    dump.resize(width, height);
    dump.show();
    dump.OnDocumentChanged();
    QImage target(dump.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    std::printf("dump view %dx%d: %lld lines, %lld a page\n", width, height,
                static_cast<long long>(dump.Model().Layout().totalLines),
                static_cast<long long>(dump.Model().Layout().visibleLines));
    Print("dump view, one page drawn again:",
          Measure(200, [&] { dump.viewport()->render(&target); }), "  (goal < 5 ms)");

    ListView list(app, nullptr);
    list.resize(width, height);
    list.show();
    QImage listTarget(list.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    Print("list view, first page:", Measure(50, [&] { list.viewport()->render(&listTarget); }));
    list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
    Print("list view, last page:", Measure(50, [&] { list.viewport()->render(&listTarget); }));
    Print("list view, index of area starts made again:",
          Measure(5, [&] { ListViewRows(app.doc.Lock(), 0, 1); }), "  (once a change)");

    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    const int last = dump.verticalScrollBar()->maximum();
    long pages = 0;
    Cost all = Measure(1, [&] {
        while (dump.verticalScrollBar()->value() < last) {
            QApplication::sendEvent(&dump, &pageDown);
            dump.viewport()->render(&target);
            ++pages;
        }
    });
    std::printf("dump view, Page Down to the last line: %ld pages\n", pages);
    Print("  each page:",
          {all.wall / static_cast<double>(pages), all.cpu / static_cast<double>(pages)},
          "  (goal < 5 ms)");
    return 0;
}
