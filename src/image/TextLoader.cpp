#include "image/TextLoader.h"

#include <cstring>
#include <new>

#include "base/Reporter.h"
#include "base/UtilSnprintf.h"
#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/IntelHexFile.h"
#include "image/SRecordFile.h"

namespace vantrel {
namespace {

constexpr uint8_t kCtrlZ = 0x1A;

constexpr const char* kUnexpected = "Unexpected character";
constexpr const char* kExpectedHex = "Expected Hex character : 0..9, A..F";

} // namespace

TextLoader::TextLoader(const LoadSeams& seams_, CHEXDoc& doc_, ByteSource& source)
    : seams(seams_), doc(doc_), source_(source) {}

void TextLoader::Refill() {
    std::size_t unread = fill_ - pos_;
    std::memmove(window_.get(), window_.get() + pos_, unread);
    fill_ = unread;
    pos_ = 0;
    while (!sourceDone_ && fill_ < kLoadWindowSize) {
        std::size_t n = source_.Read(window_.get() + fill_, kLoadWindowSize - fill_);
        if (n == 0) sourceDone_ = true;
        fill_ += n;
    }
    window_[fill_] = 0;
}

void TextLoader::Expect(char c) {
    if (error_) return;
    if (Peek() != static_cast<uint8_t>(c) || AtEnd()) {
        error_ = kUnexpected;
        return;
    }
    ++pos_;
}

int TextLoader::ReadSRecordType() {
    if (error_) return 0;
    int c = Peek();
    if (c < 0x20 || c > 0x7F || AtEnd()) {
        error_ = kUnexpected;
        return 0;
    }
    ++pos_;
    return c - '0';
}

uint8_t TextLoader::HexError() {
    error_ = kExpectedHex;
    return 0;
}

void TextLoader::AddData(uint64_t address, uint32_t length, const uint8_t* bytes) {
    if (error_ || length == 0) return;
    if (const char* refused = AddLoadedData(doc, seams, address, length, bytes)) error_ = refused;
}

void TextLoader::ReadLineEnd() {
    if (error_) return;
    int c = Peek();
    if (c == 0 || c == kCtrlZ) return; // the next round decides (end, padding or error)
    if (c != '\r' && c != '\n') {
        error_ = "Expected CR or LF";
        return;
    }
    ++lineCount_;
    for (;;) { // a run of line ends may be longer than the window holds
        if (fill_ - pos_ < kLoadRefillBelow) Refill();
        c = Peek();
        if (AtEnd() || (c != '\r' && c != '\n')) break;
        ++pos_;
    }
}

void TextLoader::CheckTrailingPadding() {
    for (;;) {
        if (fill_ - pos_ < kLoadRefillBelow) Refill();
        if (AtEnd()) return;
        int c = Peek();
        if (c == kCtrlZ) return;
        if (c != 0 && c != '\r' && c != '\n') {
            error_ = kUnexpected;
            return;
        }
        ++pos_;
    }
}

bool TextLoader::Run() {
    error_ = nullptr;
    pos_ = fill_ = 0;
    lineCount_ = 0;
    format_ = Format::Unknown;
    doc.isCurrent = true;
    window_.reset(new (std::nothrow) uint8_t[kLoadWindowSize + 1]);
    if (!window_)
        error_ = "malloc Problem";
    else
        window_[0] = 0;

    while (!error_) {
        if (fill_ - pos_ < kLoadRefillBelow) Refill();
        if (format_ == Format::Unknown) {
            int first = Peek();
            if (first == 'S' && !AtEnd()) {
                format_ = Format::SRecord;
                doc.fileType = kFileSRecord;
            } else if (first == ':' && !AtEnd()) {
                format_ = Format::IntelHex;
                doc.fileType = kFileIntelHex;
                segmentBase = linearBase = currentBase = 0;
            } else {
                error_ = "Can not identify file type";
                break;
            }
        }
        if (AtEnd() || Peek() == kCtrlZ) break;
        if (Peek() == 0) {
            CheckTrailingPadding();
            break;
        }
        if (format_ == Format::SRecord)
            ReadSRecordLine(*this);
        else
            ReadIntelHexLine(*this);
        ReadLineEnd();
    }
    // Ours: a file that cannot be read to its end is not loaded half.
    if (!error_ && source_.Failed()) error_ = "Read error";
    window_.reset();

    if (!error_) return true;
    doc.ClearImage();
    seams.reporter.Report(219, UTIL_format("Error in line %d: %s", {lineCount_ + 1, error_}));
    return false;
}

bool LoadTextFile(const LoadSeams& seams, CHEXDoc& doc, ByteSource& source) {
    TextLoader loader(seams, doc, source);
    return loader.Run();
}

} // namespace vantrel
