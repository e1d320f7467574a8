#pragma once
// The loader of text program files (Motorola S-record and Intel HEX). It reads through a
// window of 60000 bytes that is refilled whenever fewer than 1000 unread bytes remain, so a
// file of any size loads with a fixed buffer; a record line is at most 521 characters.
// The first character chooses the format; a run of CR and LF ends a line (empty lines are not
// counted); a Ctrl-Z at the start of a line ends the file.
//
// One load error text is kept: once it is set every reader step does nothing, and at the end
// the image is cleared and error 219 "Error in line %d: %s" is reported.
#include <array>
#include <cstdint>
#include <memory>

#include "base/Hex.h"
#include "image/LoadSeams.h"

namespace vantrel {

class CHEXDoc;
class ByteSource;

inline constexpr std::size_t kLoadWindowSize = 60000;
inline constexpr std::size_t kLoadRefillBelow = 1000;

class TextLoader {
  public:
    TextLoader(const LoadSeams& seams, CHEXDoc& doc, ByteSource& source);
    // The whole load; false after the error was reported and the image cleared.
    bool Run();

    // Character readers for the record readers. Each does nothing once an error is set.
    void Expect(char c);
    int ReadSRecordType();
    // Adds the byte to the record checksum. Inline: it runs for every byte of a file.
    uint8_t ReadHexByte() {
        if (error_) return 0;
        int high = kHexDigitValue[window_[pos_]];
        if (high < 0) return HexError();
        int low = kHexDigitValue[window_[pos_ + 1]]; // [pos_] was a digit, so pos_ < fill_
        if (low < 0) return HexError();
        pos_ += 2;
        auto byte = static_cast<uint8_t>(high << 4 | low);
        checksum = static_cast<uint8_t>(checksum + byte);
        return byte;
    }
    bool Failed() const { return error_ != nullptr; }
    void SetError(const char* text) {
        if (!error_) error_ = text;
    }
    // Adds record data to the image; a refused block becomes the load error.
    void AddData(uint64_t address, uint32_t length, const uint8_t* bytes);

    const LoadSeams& seams;
    CHEXDoc& doc;
    uint8_t checksum = 0;
    // Intel HEX address state.
    uint64_t segmentBase = 0;
    uint64_t linearBase = 0;
    uint64_t currentBase = 0;

  private:
    enum class Format { Unknown, SRecord, IntelHex };

    uint8_t HexError();

    void Refill();
    int Peek() const { return window_[pos_]; }
    bool AtEnd() const { return pos_ >= fill_; }
    void ReadLineEnd();
    // A NUL byte of the file where a record should begin: the end of the data when only
    // padding (NUL, CR, LF, up to a Ctrl-Z) follows it, else a load error.
    void CheckTrailingPadding();

    ByteSource& source_;
    std::unique_ptr<uint8_t[]> window_;
    std::size_t fill_ = 0;
    std::size_t pos_ = 0;
    bool sourceDone_ = false;
    int lineCount_ = 0;
    const char* error_ = nullptr;
    Format format_ = Format::Unknown;
};

// Loads a text program file into the document (added to what it holds).
bool LoadTextFile(const LoadSeams& seams, CHEXDoc& doc, ByteSource& source);

} // namespace vantrel
