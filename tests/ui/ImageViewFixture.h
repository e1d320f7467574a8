#pragma once
// An application on a scripted Ui with an image of literal areas, and text extents of fixed
// numbers (a "0" 8 x 13 pixels), so the views' layouts are plain arithmetic.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/App.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "ui/ViewTextMetrics.h"

namespace vantrel::test {

inline ViewTextMetrics FixedMetrics() {
    ViewTextMetrics m;
    m.zeroWidth = 8;
    m.zeroHeight = 13; // a line of the dump: 14
    m.eWidth = 8;      // a byte cell: 26
    m.atWidth = 12;
    m.fourZerosWidth = 32;
    m.sixZerosWidth = 48;
    m.eightZerosWidth = 64;
    m.xxWidth = 16;
    m.mWidth = 10;
    m.xxxxHeight = 13;
    return m;
}

class ImageViewFixture : public ::testing::Test {
  protected:
    FakeUi ui;
    FakeClock clock;
    App app{ui, clock};

    // An area of `length` bytes counting up from `first`.
    void AddArea(uint32_t address, uint32_t length, uint8_t first = 0) {
        std::string bytes(length, '\0');
        for (uint32_t i = 0; i < length; ++i)
            bytes[i] = static_cast<char>(first + i);
        AddBytes(address, bytes);
    }
    void AddBytes(uint32_t address, const std::string& bytes) {
        ASSERT_EQ(app.doc.AddData(address, static_cast<uint32_t>(bytes.size()),
                                  reinterpret_cast<const uint8_t*>(bytes.data())),
                  AddResult::Added);
    }
    uint8_t ByteAt(uint32_t address) { return app.doc.Lock()->GetByte(address, 0x55); }
    bool Defined(uint32_t address) {
        auto image = app.doc.Lock();
        return image->GetByte(address, 0) == image->GetByte(address, 1);
    }
};

} // namespace vantrel::test
