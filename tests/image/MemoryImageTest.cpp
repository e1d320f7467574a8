// The sparse image against its rules (sorted, joined, no overlaps) and against a trivially
// correct model: a map of single bytes, changed by the same random operations.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <ostream>
#include <random>
#include <vector>

#include "image/MemoryImage.h"

namespace vantrel {
namespace {

struct Area {
    uint64_t start;
    std::vector<uint8_t> bytes;
    bool operator==(const Area&) const = default;
};

std::vector<Area> Areas(const MemoryImage& image) {
    std::vector<Area> areas;
    uint64_t cursor = 0;
    for (ImageRun run; (run = image.NextRun(cursor)).length != 0; cursor += run.length)
        areas.push_back({cursor, std::vector<uint8_t>(run.data, run.data + run.length)});
    return areas;
}

std::vector<uint8_t> Bytes(std::size_t n, uint8_t first = 1) {
    std::vector<uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(first + i);
    return v;
}

void Add(MemoryImage& image, uint64_t address, std::size_t n, uint8_t first = 1) {
    auto bytes = Bytes(n, first);
    ASSERT_TRUE(image.Insert(address, bytes.data(), n));
}

struct Span {
    uint64_t start, length;
    bool operator==(const Span&) const = default;
    friend void PrintTo(const Span& s, std::ostream* os) {
        *os << std::hex << "{0x" << s.start << ", " << std::dec << s.length << "}";
    }
};
std::vector<Span> Spans(const MemoryImage& image) {
    std::vector<Span> spans;
    for (const auto& a : Areas(image))
        spans.push_back({a.start, a.bytes.size()});
    return spans;
}

TEST(MemoryImage, TouchingBlocksAreJoinedInAnyOrder) {
    MemoryImage a;
    Add(a, 0x100, 16);
    Add(a, 0x110, 16);
    EXPECT_EQ(Spans(a), (std::vector<Span>{{0x100, 32}}));

    MemoryImage b;
    Add(b, 0x100, 16);
    Add(b, 0x120, 16);
    Add(b, 0x110, 16); // bridges the two
    EXPECT_EQ(Spans(b), (std::vector<Span>{{0x100, 48}}));

    MemoryImage c;
    Add(c, 0x100, 16, 0x10);
    Add(c, 0xF0, 16, 0x00); // ends at 0xFF, right before the area
    EXPECT_EQ(Spans(c), (std::vector<Span>{{0xF0, 32}}));
    EXPECT_EQ(c.GetByte(0xF0, 0xEE), 0x00);
    EXPECT_EQ(c.GetByte(0x10F, 0xEE), 0x1F);
}

TEST(MemoryImage, OverlapsAreRefusedAndAddNothing) {
    MemoryImage image;
    Add(image, 0x100, 16);
    uint8_t one = 0x55;
    EXPECT_FALSE(image.Insert(0x100, &one, 1)); // the first address of an area
    EXPECT_FALSE(image.Insert(0x10F, &one, 1));
    auto block = Bytes(32);
    EXPECT_FALSE(image.Insert(0xF0, block.data(), 32)); // straddles the start
    EXPECT_TRUE(image.Insert(0x110, &one, 1));
    EXPECT_EQ(image.TotalBytes(), 17u);
    // Nothing may reach past the 32-bit address space.
    EXPECT_FALSE(image.Insert(0xFFFFFFF0, block.data(), 32));
    EXPECT_TRUE(image.Insert(0xFFFFFFE0, block.data(), 32));
    EXPECT_EQ(image.EndAddress(), 0xFFFFFFFFu);
}

TEST(MemoryImage, RemoveCutsSplitsAndDrops) {
    struct Case {
        uint64_t first, length;
        std::vector<Span> left;
    };
    const Case cases[] = {
        {0x108, 8, {{0x100, 8}, {0x110, 16}}}, // strictly inside: split
        {0x0F0, 0x18, {{0x108, 24}}},          // covers the start
        {0x118, 0x100, {{0x100, 24}}},         // begins inside, reaches the end
        {0x000, 0x1000, {}},                   // covers it all
        {0x120, 0x10, {{0x100, 32}}},          // beside it
        {0x100, 1, {{0x101, 31}}},             // the first byte
        {0x11F, 1, {{0x100, 31}}},             // the last byte
        {0, uint64_t{1} << 32, {}},            // the whole address space
    };
    for (const auto& c : cases) {
        MemoryImage image;
        Add(image, 0x100, 32);
        image.Remove(c.first, c.length);
        EXPECT_EQ(Spans(image), (c.left)) << std::hex << c.first << " " << c.length;
        uint64_t total = 0;
        for (const auto& s : c.left)
            total += s.length;
        EXPECT_EQ(image.TotalBytes(), total);
    }
}

TEST(MemoryImage, RelocationWrapsSplitsAndJoins) {
    MemoryImage down;
    Add(down, 0x80, 16);
    down.Relocate(-0x100);
    EXPECT_EQ(Spans(down), (std::vector<Span>{{0xFFFFFF80, 16}}));

    // An area carried across 0xFFFFFFFF is cut at the wrap, and stays sorted.
    MemoryImage across;
    Add(across, 0xF0, 32, 0);
    Add(across, 0x1000, 4);
    across.Relocate(-0x100);
    EXPECT_EQ(Spans(across), (std::vector<Span>{{0, 16}, {0xF00, 4}, {0xFFFFFFF0, 16}}));
    EXPECT_EQ(across.GetByte(0xFFFFFFF0, 0xEE), 0);
    EXPECT_EQ(across.GetByte(0, 0xEE), 16);

    // Areas on both sides of the wrap that come to touch are joined.
    MemoryImage touch;
    Add(touch, 0xFFFFFFF0, 16, 0);
    Add(touch, 0, 16, 16);
    touch.Relocate(0x10);
    EXPECT_EQ(Spans(touch), (std::vector<Span>{{0, 32}}));
    EXPECT_EQ(touch.GetByte(0x1F, 0xEE), 31);
}

TEST(MemoryImage, EmptyImageAndReadingWithFill) {
    MemoryImage image;
    uint64_t cursor = 0;
    EXPECT_EQ(image.NextRun(cursor).length, 0u);
    EXPECT_EQ(image.StartAddress(), 0u);
    EXPECT_EQ(image.EndAddress(), 0u);
    EXPECT_EQ(image.AreaCount(), 0u);
    EXPECT_EQ(image.TotalBytes(), 0u);

    Add(image, 0x10, 2, 0xA0);
    Add(image, 0x14, 1, 0xB0);
    uint8_t buffer[8];
    image.ReadRange(buffer, 0x0F, 8, 0xFF);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8),
              (std::vector<uint8_t>{0xFF, 0xA0, 0xA1, 0xFF, 0xFF, 0xB0, 0xFF, 0xFF}));
    // NextRun moves a cursor in a gap to the run, and offers the rest of an area.
    cursor = 0x12;
    ImageRun run = image.NextRun(cursor);
    EXPECT_EQ(cursor, 0x14u);
    EXPECT_EQ(run.length, 1u);
    cursor = 0x11;
    EXPECT_EQ(image.NextRun(cursor).length, 1u);
}

// One area's bytes against a deque, through small and large steps, so that the bytes move
// between the object itself and a buffer of their own both ways.
TEST(AreaBytes, RandomStepsMatchADeque) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        AreaBytes area(rng() % 40);
        std::deque<uint8_t> model;
        for (int step = 0; step < 60; ++step) {
            std::size_t count = rng() % (step % 3 == 0 ? 40 : 9);
            auto bytes = Bytes(count, static_cast<uint8_t>(rng()));
            switch (rng() % 5) {
            case 0:
            case 1:
                area.Append(bytes.data(), count);
                model.insert(model.end(), bytes.begin(), bytes.end());
                break;
            case 2:
                area.Prepend(bytes.data(), count);
                model.insert(model.begin(), bytes.begin(), bytes.end());
                break;
            case 3:
                area.DropFront(count);
                model.erase(model.begin(), model.begin() + std::min(count, model.size()));
                break;
            default:
                area.Truncate(model.size() - std::min(count, model.size()));
                model.resize(model.size() - std::min(count, model.size()));
                break;
            }
            if (rng() % 8 == 0) { // moved, as the map moves it
                AreaBytes moved(std::move(area));
                area = std::move(moved);
            }
            ASSERT_EQ(std::vector<uint8_t>(area.Data(), area.Data() + area.Size()),
                      std::vector<uint8_t>(model.begin(), model.end()))
                << "round " << round << " step " << step;
        }
    }
}

// Random adds, removes and relocations against a byte map: after every step the image holds
// exactly the model's bytes, in sorted, joined, non-overlapping areas.
TEST(MemoryImage, RandomEditsMatchAByteMap) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 12; ++round) {
        MemoryImage image;
        std::map<uint32_t, uint8_t> model;
        // Clustered addresses so that blocks touch and overlap often; near the wrap as well.
        uint32_t base = round % 4 == 0 ? 0xFFFFFC00u : static_cast<uint32_t>(rng()) & ~0xFFFu;
        for (int step = 0; step < 300; ++step) {
            int what = static_cast<int>(rng() % 10);
            uint32_t address = base + static_cast<uint32_t>(rng() % 0x800);
            uint32_t length = 1 + static_cast<uint32_t>(rng() % 80);
            if (what < 6) {
                std::vector<uint8_t> bytes(length);
                for (auto& b : bytes)
                    b = static_cast<uint8_t>(rng());
                bool fits = uint64_t{address} + length <= kAddressSpace;
                bool free = true;
                for (uint64_t a = address; fits && a < uint64_t{address} + length; ++a)
                    free = free && !model.contains(static_cast<uint32_t>(a));
                ASSERT_EQ(image.Insert(address, bytes.data(), length), fits && free);
                if (fits && free)
                    for (uint32_t i = 0; i < length; ++i)
                        model[address + i] = bytes[i];
            } else if (what < 9) {
                image.Remove(address, length);
                for (uint64_t a = address; a < uint64_t{address} + length && a < kAddressSpace; ++a)
                    model.erase(static_cast<uint32_t>(a));
            } else {
                auto offset = static_cast<int32_t>(static_cast<int>(rng() % 0x400) - 0x200);
                image.Relocate(offset);
                std::map<uint32_t, uint8_t> moved;
                for (auto [a, b] : model)
                    moved[a + static_cast<uint32_t>(offset)] = b;
                model = std::move(moved);
                base += static_cast<uint32_t>(offset);
            }
            auto areas = Areas(image);
            uint64_t total = 0;
            std::map<uint32_t, uint8_t> seen;
            for (std::size_t i = 0; i < areas.size(); ++i) {
                ASSERT_FALSE(areas[i].bytes.empty());
                ASSERT_LE(areas[i].start + areas[i].bytes.size(), kAddressSpace);
                if (i > 0) { // sorted, and a gap of at least one address between areas
                    ASSERT_GT(areas[i].start, areas[i - 1].start + areas[i - 1].bytes.size());
                }
                for (std::size_t k = 0; k < areas[i].bytes.size(); ++k)
                    seen[static_cast<uint32_t>(areas[i].start + k)] = areas[i].bytes[k];
                total += areas[i].bytes.size();
            }
            ASSERT_EQ(seen, model) << "round " << round << " step " << step;
            std::vector<Area> walked; // the writers' walk sees the same areas
            image.ForEachArea([&](uint64_t start, ImageRun run) {
                walked.push_back({start, std::vector<uint8_t>(run.data, run.data + run.length)});
            });
            ASSERT_EQ(walked, areas);
            ASSERT_EQ(image.TotalBytes(), total);
            ASSERT_EQ(image.AreaCount(), areas.size());
        }
    }
}

} // namespace
} // namespace vantrel
