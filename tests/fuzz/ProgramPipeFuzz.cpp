// A program file read from a pipe in short pieces, as a file named on the command line may be
// (a FIFO, a process substitution): the loader must make of it exactly what it makes of the
// same bytes read at once. The first byte caps the piece length (1 to 256), the second seeds
// the piece lengths, bit 0 of the third reads the file as binary instead of as text; the rest
// is the file. A writer thread puts one piece into the pipe at a time and waits until the
// reader has taken it, so that every read returns at most one piece.
#include <fcntl.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "FuzzSupport.h"
#include "image/BinaryFile.h"
#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/TextLoader.h"
#include "support/FakeUi.h"

namespace {

using namespace vantrel;

bool Load(CHEXDoc& doc, ByteSource& source, bool binary) {
    fuzz::QuietReporter reporter;
    test::FakeUi ui;
    const LoadSeams seams{reporter, ui, false, nullptr};
    return binary ? LoadBinaryFile(seams, doc, source) : LoadTextFile(seams, doc, source);
}

// Feeds `file` into the pipe piece by piece; closes the write end at the end or when the
// reader is done early.
void WritePieces(int writeFd, int readFd, std::string_view file, unsigned maxPiece, uint32_t seed,
                 const std::atomic<bool>& readerDone) {
    while (!file.empty() && !readerDone) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t piece = std::min<std::size_t>(1 + (seed >> 16) % maxPiece, file.size());
        if (::write(writeFd, file.data(), piece) != static_cast<ssize_t>(piece)) break;
        file.remove_prefix(piece);
        int unread = 1;
        while (!readerDone && ::ioctl(readFd, FIONREAD, &unread) == 0 && unread > 0)
            sched_yield();
    }
    ::close(writeFd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const unsigned maxPiece = 1u + data[0];
    const uint32_t seed = data[1];
    const bool binary = data[2] & 1;
    const std::string_view file(reinterpret_cast<const char*>(data + 3), size - 3);

    CHEXDoc atOnce;
    StringSource whole(file);
    const bool loadedAtOnce = Load(atOnce, whole, binary);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) std::abort();
    std::atomic<bool> readerDone = false;
    std::thread writer(WritePieces, fds[1], fds[0], file, maxPiece, seed, std::cref(readerDone));
    CHEXDoc inPieces;
    FdSource pipe(fds[0]);
    const bool loadedInPieces = Load(inPieces, pipe, binary);
    readerDone = true;
    writer.join();
    ::close(fds[0]);

    if (loadedAtOnce != loadedInPieces || pipe.Failed() ||
        !fuzz::SameImage(atOnce.Lock().Image(), inPieces.Lock().Image()))
        std::abort();
    return 0;
}
