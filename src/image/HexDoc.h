#pragma once
// The document: the memory image that is to be burnt, with what the program keeps beside it
// (image CRC cache, overlap answer, edited addresses, file type, path, the dialogs' filter
// index) and the operations every reader, writer, view and the link use.
//
// The image lock is recursive (a critical section): AddData holds it for its whole run, the
// views hold it while they draw, the link thread while it reads the image for a download.
// Every operation that changes the image takes it too, so that a reader on another thread
// never sees an area list in the middle of a change.
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "image/MemoryImage.h"

namespace vantrel {

struct App;

// The format Save writes.
enum FileType : uint32_t {
    kFileNone = 0,
    kFileSRecord = 1,
    kFileIntelHex = 2,
    kFileBinary = 3,
    kFileCArray = 4
};

// An inclusive address range, such as one program range of the device selection.
struct AddressRange {
    uint32_t first = 0;
    uint32_t last = 0;
};

class CHEXDoc {
  public:
    explicit CHEXDoc(App& app) : app_(app) {}
    CHEXDoc(const CHEXDoc&) = delete;
    CHEXDoc& operator=(const CHEXDoc&) = delete;

    [[nodiscard]] std::unique_lock<std::recursive_mutex> LockImage() const {
        return std::unique_lock(lock_);
    }

    // Adds a block for a reader or the read back. On an overlap, asks once per load whether
    // to overwrite (error 231). Returns null, or the load error text when nothing was added.
    const char* AddData(uint64_t address, uint32_t length, const uint8_t* bytes);
    // The length is 64-bit so that a range over the whole address space can be named.
    void RemoveRange(uint64_t first, uint64_t length);
    // Moves the image; updates the views, marks the CRC stale and the document modified.
    int Relocate(int32_t offset);
    void ClearImage();
    uint8_t GetByte(uint64_t address, uint8_t fill) const { return image_.GetByte(address, fill); }
    void ReadRange(uint8_t* buffer, uint64_t first, uint64_t length, uint8_t fill) const {
        image_.ReadRange(buffer, first, length, fill);
    }
    ImageRun NextRun(uint64_t& cursor) const { return image_.NextRun(cursor); }
    // An edit in place (dump view, passcode): remembered in the edited-address list.
    void SetByte(uint32_t address, uint8_t value);
    bool IsEdited(uint32_t address) const { return editedSet_.contains(address); }
    const std::vector<uint32_t>& EditedAddresses() const { return edited_; }

    std::size_t AreaCount() const { return image_.AreaCount(); }
    uint64_t TotalBytes() const { return image_.TotalBytes(); }
    uint64_t StartAddress() const { return image_.StartAddress(); }
    uint64_t EndAddress() const { return image_.EndAddress(); }
    bool Empty() const { return image_.Empty(); }

    // The image CRC over the given program ranges (in their order), undefined addresses read
    // as `fill`; cached until the image or the settings change. No ranges: 0, not cached.
    uint32_t GetImageCrc(std::span<const AddressRange> programRanges, uint8_t fill);
    // True when every area lies wholly inside one of the ranges (and for an empty image).
    bool AreasInsideDevice(std::span<const AddressRange> programRanges) const;
    // The device, banks, fill byte or external area changed.
    void MarkCrcStale() { crcValid_ = false; }
    bool CrcValid() const { return crcValid_; }

    // The modified flag; every call also makes the next target operation send the image.
    void SetModifiedFlag(bool modified);
    bool IsModified() const;

    // Load state.
    bool overwriteOnOverlap = false; // reset at the start of every load and merge
    bool beingReadBack = false;
    uint32_t fileType = kFileNone;
    bool isCurrent = false; // a load or save has started: the command-line relocate may act

    // Document path (also its title), the dialogs' shared filter index (1-based, 0 = 1),
    // the file -openfile names, and the range of the last Delete Range.
    std::string path;
    int filterIndex = 1;
    std::string batchOpenName;
    AddressRange lastDeleteRange;

    const MemoryImage& Image() const { return image_; }

  private:
    void InsertData(uint64_t address, uint32_t length, const uint8_t* bytes, const char*& error);

    App& app_;
    mutable std::recursive_mutex lock_;
    MemoryImage image_;
    bool crcValid_ = false;
    uint32_t cachedCrc_ = 0;
    std::vector<uint32_t> edited_;
    std::unordered_set<uint32_t> editedSet_;
};

// The image has to be sent to the programmer again (the link's image-dirty flag).
void SetImageDirty(App& app);


} // namespace vantrel
