#pragma once
// The document: the memory image that is to be burnt, with what the program keeps beside it
// (image CRC cache, overlap answer, edited addresses, file type, path, the dialogs' filter
// index) and the operations every reader, writer, view and the link use.
//
// The image lock is a plain, non-recursive mutex. The image is read only through a
// LockedImage (Lock()), which holds the lock while it lives: the views while they draw, the
// writers while they save, the link thread while it reads the image for a download. Every
// operation that changes the image, and the CRC cache, take the lock themselves, so a reader on
// another thread never sees an area list in the middle of a change. While a LockedImage lives,
// call none of the document's operations and nothing that may draw a view: the lock is not
// taken twice, it waits for itself.
//
// Lock order: image, then link, then log. The image-changed hook may run with the image lock
// held (an edit in place) and may take the link lock; nothing that holds the link or the log
// lock takes the image lock.
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "image/MemoryImage.h"

namespace vantrel {

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

// What AddData did with a block.
enum class AddResult {
    Added,
    Overlaps,           // it shares an address with defined bytes; nothing was added
    BeyondAddressSpace, // it runs past 0xFFFFFFFF; nothing was added
};

// The load error text of a refused block; null for Added.
const char* AddErrorText(AddResult result);

class CHEXDoc;

// The image while the document's lock is held: image->GetByte(...), image->NextRun(...),
// image->AreaCount(), image.Image() for a writer or an ImageView. Keep it no longer than the
// reading takes: every change of the document waits for it.
class LockedImage {
  public:
    const MemoryImage& Image() const { return *image_; }
    const MemoryImage* operator->() const { return image_; }
    // Whether SetByte changed the address in place (the dump view marks such bytes).
    bool IsEdited(uint32_t address) const;
    // The addresses SetByte changed, each once, in the order of their first edit.
    const std::vector<uint32_t>& EditedAddresses() const;

  private:
    friend class CHEXDoc;
    explicit LockedImage(const CHEXDoc& doc);

    std::unique_lock<std::mutex> lock_;
    const CHEXDoc* doc_;
    const MemoryImage* image_;
};

class CHEXDoc {
  public:
    // `onImageChanged`: the image has to be sent to the programmer again (the link's
    // image-dirty flag). It may be called with the image lock held.
    explicit CHEXDoc(std::function<void()> onImageChanged = {})
        : onImageChanged_(std::move(onImageChanged)) {}
    CHEXDoc(const CHEXDoc&) = delete;
    CHEXDoc& operator=(const CHEXDoc&) = delete;

    [[nodiscard]] LockedImage Lock() const { return LockedImage(*this); }

    // Adds a block (a reader, the read back). A block that overlaps defined bytes replaces
    // them when `overwrite` is set, else nothing is added and the result says so: the
    // document never asks (the readers ask their caller, see image/LoadSeams.h).
    AddResult AddData(uint64_t address, uint32_t length, const uint8_t* bytes,
                      bool overwrite = false);
    // The length is 64-bit so that a range over the whole address space can be named.
    void RemoveRange(uint64_t first, uint64_t length);
    // Moves the image; marks the CRC stale and the document modified. The caller repaints.
    int Relocate(int32_t offset);
    void ClearImage();
    // An edit in place (dump view, passcode): remembered in the edited-address list.
    void SetByte(uint32_t address, uint8_t value);

    // The image CRC over the given program ranges (in their order), undefined addresses read
    // as `fill`; cached until the image or the settings change. No ranges: 0, not cached.
    uint32_t GetImageCrc(std::span<const AddressRange> programRanges, uint8_t fill);
    // True when every area lies wholly inside one of the ranges (and for an empty image).
    bool AreasInsideDevice(std::span<const AddressRange> programRanges) const;
    // The device, banks, fill byte or external area changed.
    void MarkCrcStale();
    bool CrcValid() const;

    // The modified flag (main thread); every SetModifiedFlag also makes the next target
    // operation send the image.
    void SetModifiedFlag(bool modified);
    bool IsModified() const { return modified_; }
    // Clears the flag alone, so that ending the program asks nothing (batch -exit).
    void ForgetModified() { modified_ = false; }

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

  private:
    friend class LockedImage;

    // These assume the image lock is held.
    AddResult AddDataLocked(uint64_t address, uint32_t length, const uint8_t* bytes,
                            bool overwrite);
    void ImageChanged() const {
        if (onImageChanged_) onImageChanged_();
    }

    const std::function<void()> onImageChanged_;
    bool modified_ = false;

    mutable std::mutex lock_;
    // Guarded by lock_.
    MemoryImage image_;
    bool crcValid_ = false;
    uint32_t cachedCrc_ = 0;
    std::vector<uint32_t> edited_;
    std::unordered_set<uint32_t> editedSet_;
};

inline LockedImage::LockedImage(const CHEXDoc& doc)
    : lock_(doc.lock_), doc_(&doc), image_(&doc.image_) {}

inline bool LockedImage::IsEdited(uint32_t address) const {
    return doc_->editedSet_.contains(address);
}

inline const std::vector<uint32_t>& LockedImage::EditedAddresses() const {
    return doc_->edited_;
}

} // namespace vantrel
