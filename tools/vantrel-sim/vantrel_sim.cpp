// vantrel-sim: a Vantrel programmer on the other end of a pseudo-terminal, for the link tests,
// the benchmarks and new users. It prints the terminal's path as the first line of stdout,
// answers the PC program's requests until SIGINT or SIGTERM, then writes the dumps it was asked
// for and one summary line on stderr.
//
// It keeps its own descriptor of the terminal open, so the terminal outlives the PC program
// closing and opening it again.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <string>

#include "SimDump.h"
#include "SimFrames.h"
#include "SimLineFaults.h"
#include "SimPortsFile.h"
#include "SimProgrammer.h"

namespace {

using namespace vantrel::sim;

// 115200 baud with 8 data bits, parity and a stop bit: 11 bits a character.
constexpr double kByteUs = 11.0 * 1e6 / 115200.0;
// The PC writes a request in one go; a pause this long inside one means bytes were lost.
constexpr uint64_t kFrameGapUs = 10000;

std::atomic<bool> stopRequested{false};
void RequestStop(int) {
    stopRequested.store(true);
}

uint64_t NowUs() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

// A number in decimal or with 0x; false when it is neither or does not fit 32 bits.
bool ParseU32(const std::string& text, uint32_t& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (errno || *end || v > 0xFFFFFFFFull || text[0] == '-') return false;
    value = static_cast<uint32_t>(v);
    return true;
}

std::string AddressValidator(const std::string& text) {
    uint32_t v;
    return ParseU32(text, v) ? std::string() : "not an address (decimal or 0x hex): " + text;
}

// "MS" for every operation or "CODE=MS" for one.
std::string ApplyOpTime(const std::string& text, SimSettings& s) {
    uint32_t code, ms;
    const auto eq = text.find('=');
    if (eq == std::string::npos) {
        if (!ParseU32(text, ms)) return "--op-time wants MS or CODE=MS: " + text;
        s.opMs = ms;
    } else {
        if (!ParseU32(text.substr(0, eq), code) || code > 255 || !ParseU32(text.substr(eq + 1), ms))
            return "--op-time wants MS or CODE=MS: " + text;
        s.opMsByCode[static_cast<uint8_t>(code)] = ms;
    }
    return {};
}

// "CODE=RESULT": operation CODE ends with that result.
std::string ApplyFailOp(const std::string& text, SimSettings& s) {
    uint32_t code, result;
    const auto eq = text.find('=');
    if (eq == std::string::npos || !ParseU32(text.substr(0, eq), code) || code > 255 ||
        !ParseU32(text.substr(eq + 1), result) || result > 255)
        return "--fail-op wants CODE=RESULT: " + text;
    s.failOps[static_cast<uint8_t>(code)] = static_cast<uint8_t>(result);
    return {};
}

struct Line {
    int master = -1;
    bool pace = false;
    LineFaults in, out;
    std::deque<std::pair<uint64_t, uint8_t>> inQueue, outQueue; // (due in us, byte)
    double inFree = 0, outFree = 0; // when the line is next free, in us (kept exact)
    uint64_t arrived = 0;           // when the last read from the terminal returned
    uint64_t lastByte = 0;          // when the last byte reached the frame reader
};

// Bytes on their way over the line in one direction: faults first, then (paced) the time their
// last bit arrives.
void Carry(LineFaults& faults, double& lineFree, std::deque<std::pair<uint64_t, uint8_t>>& queue,
           const uint8_t* bytes, std::size_t count, bool pace, uint64_t now) {
    std::vector<uint8_t> faulted;
    for (std::size_t i = 0; i < count; ++i)
        faults.Apply(bytes[i], faulted);
    for (uint8_t b : faulted) {
        uint64_t due = 0;
        if (pace) {
            lineFree = std::max(lineFree, static_cast<double>(now)) + kByteUs;
            due = static_cast<uint64_t>(lineFree);
        }
        queue.emplace_back(due, b);
    }
}

// Bytes that arrived from the PC.
void TakeInput(Line& line, const uint8_t* bytes, std::size_t count, uint64_t now) {
    Carry(line.in, line.inFree, line.inQueue, bytes, count, line.pace, now);
}

void QueueOutput(Line& line, const std::vector<uint8_t>& bytes, uint64_t now) {
    Carry(line.out, line.outFree, line.outQueue, bytes.data(), bytes.size(), line.pace, now);
}

void WriteDue(Line& line, uint64_t now) {
    std::vector<uint8_t> chunk;
    for (const auto& [due, b] : line.outQueue) {
        if (due > now) break;
        chunk.push_back(b);
    }
    if (chunk.empty()) return;
    const ssize_t n = write(line.master, chunk.data(), chunk.size());
    if (n > 0) line.outQueue.erase(line.outQueue.begin(), line.outQueue.begin() + n);
}

int Serve(Line& line, Programmer& programmer, FrameReader& reader) {
    while (!stopRequested.load()) {
        uint64_t now = NowUs();
        // Wake for the next paced byte, else at least every 2 ms so that operations move.
        uint64_t wait = 2000;
        if (!line.inQueue.empty())
            wait = std::min(wait,
                            line.inQueue.front().first - std::min(now, line.inQueue.front().first));
        if (!line.outQueue.empty())
            wait = std::min(wait, line.outQueue.front().first -
                                      std::min(now, line.outQueue.front().first));
        pollfd p{line.master, POLLIN, 0};
        if (!line.outQueue.empty() && line.outQueue.front().first <= now) p.events |= POLLOUT;
        const timespec ts{static_cast<time_t>(wait / 1000000),
                          static_cast<long>(wait % 1000000) * 1000};
        const int ready = ppoll(&p, 1, &ts, nullptr);
        if (ready < 0 && errno != EINTR) {
            std::perror("vantrel-sim: poll");
            return 1;
        }
        now = NowUs();
        if (ready > 0 && (p.revents & POLLIN)) {
            uint8_t bytes[512];
            const ssize_t n = read(line.master, bytes, sizeof bytes);
            if (n > 0) {
                line.arrived = now;
                TakeInput(line, bytes, static_cast<std::size_t>(n), now);
            }
        } else if (ready > 0 && (p.revents & (POLLHUP | POLLERR))) {
            usleep(1000); // nobody on the other end: do not spin
        }
        while (!line.inQueue.empty() && line.inQueue.front().first <= now) {
            const auto [due, b] = line.inQueue.front();
            line.inQueue.pop_front();
            const uint64_t at = std::max(due, line.arrived);
            if (at - line.lastByte > kFrameGapUs) reader.Reset();
            line.lastByte = at;
            if (!reader.Feed(b)) continue;
            const Request r = reader.Last();
            QueueOutput(line, programmer.OnRequest(r.n, r.payload, now / 1000), now);
        }
        programmer.Advance(now / 1000);
        WriteDue(line, now);
    }
    return 0;
}

int OpenTerminal(int& master, int& slave, std::string& path) {
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("vantrel-sim: openpty");
        return 1;
    }
    termios t{};
    tcgetattr(slave, &t);
    cfmakeraw(&t); // no echo, no line editing: bytes pass as they are
    cfsetispeed(&t, B115200);
    cfsetospeed(&t, B115200);
    tcsetattr(slave, TCSANOW, &t);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    path = name;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    SimSettings s;
    std::vector<std::string> opTimes, algorithms, interfaces;
    std::string failVerify, failBlank, dumpBuffer, dumpTarget, settingsFile;
    int com = 0;
    uint64_t seed = 1;
    FaultRates rates;
    bool pace = false;

    CLI::App app{"vantrel-sim: a Vantrel programmer on a pseudo-terminal. The first line of "
                 "stdout is the terminal's path; it serves until SIGINT or SIGTERM."};
    app.footer(
        "Firmware download: the chunks go into a 0x30000-byte buffer. The download is complete\n"
        "when the end marker 21 43 65 87 stands at 0xBFF0 and everything up to 0xC000 has come\n"
        "(images for the smaller programmers end so), or else when no chunk came for\n"
        "--firmware-quiet ms. The programmer then restarts: it hears nothing for --restart-ms,\n"
        "then runs --new-firmware, knows no session (0) and has an empty buffer; the target\n"
        "flash and the setup block stay.\n"
        "Addresses are absolute target addresses, decimal or 0x hex.");
    app.add_option("--hardware", s.hardware, "hardware version, decimal (510 = 5.10)")
        ->capture_default_str();
    unsigned variant = s.variant, interfaceInUse = s.interfaceInUse, parallel = s.parallel;
    app.add_option("--variant", variant, "hardware variant")
        ->capture_default_str()
        ->check(CLI::Range(0, 255));
    app.add_option("--firmware", s.firmware, "firmware version, decimal MMmmRR")
        ->capture_default_str();
    app.add_option("--new-firmware", s.newFirmware, "firmware version after a firmware download")
        ->capture_default_str();
    app.add_option("--serial", s.serial, "serial number (setup block bytes 16..19)")
        ->capture_default_str();
    app.add_option("--vin", s.vin, "programmer input voltage in mV")->capture_default_str();
    app.add_option("--vtarget", s.vtarget, "target supply voltage in mV")->capture_default_str();
    app.add_option("--interface", interfaceInUse,
                   "interface in use: 0 parallel, 1 serial, 2 asynchronous")
        ->capture_default_str()
        ->check(CLI::Range(0, 2));
    app.add_option("--parallel", parallel, "parallel flag (status field 19)")
        ->capture_default_str()
        ->check(CLI::Range(0, 1));
    app.add_option("--algorithms", algorithms, "supported algorithm codes, comma separated")
        ->delimiter(',');
    app.add_option("--interfaces", interfaces, "supported serial interface codes, comma separated")
        ->delimiter(',');
    app.add_option("--op-time", opTimes,
                   "ms an operation takes: MS for all, CODE=MS for one (repeatable)");
    std::vector<std::string> failOps;
    app.add_option("--fail-op", failOps,
                   "CODE=RESULT: operation CODE ends with that result (repeatable)");
    app.add_option("--status-fields", s.statusFields,
                   "send only the first N fields of the status record")
        ->capture_default_str()
        ->check(CLI::Range(1, 22));
    app.add_option("--seed", seed, "seed of the fault injection")->capture_default_str();
    app.add_option("--drop", rates.drop, "fraction of bytes lost, both directions")
        ->check(CLI::Range(0.0, 1.0));
    app.add_option("--corrupt", rates.corrupt,
                   "fraction of bytes changed in one bit, both directions")
        ->check(CLI::Range(0.0, 1.0));
    app.add_option("--duplicate", rates.duplicate, "fraction of bytes sent twice, both directions")
        ->check(CLI::Range(0.0, 1.0));
    // A frame of 253 bytes rarely crosses a line that loses 1 % of all bytes; faults on the
    // programmer's answers alone (acknowledges, replies) test the PC's retries at such rates.
    FaultRates replyRates;
    app.add_option("--reply-drop", replyRates.drop,
                   "fraction of the emulator's own bytes lost, on top of --drop")
        ->check(CLI::Range(0.0, 1.0));
    app.add_option("--reply-corrupt", replyRates.corrupt,
                   "fraction of the emulator's own bytes changed in one bit, on top of --corrupt")
        ->check(CLI::Range(0.0, 1.0));
    app.add_option("--reply-duplicate", replyRates.duplicate,
                   "fraction of the emulator's own bytes sent twice, on top of --duplicate")
        ->check(CLI::Range(0.0, 1.0));
    app.add_option("--silence-after", s.silenceAfterWrite,
                   "deaf from the N-th write frame on (that frame included)");
    app.add_option("--silence-ms", s.silenceMs, "how long that silence lasts, in ms");
    app.add_flag("--refuse-session", s.refuseSession, "report session 0 whatever the PC sets");
    app.add_flag("--session-mismatch", s.sessionMismatch,
                 "report another session id than the one set");
    app.add_option("--fail-verify", failVerify, "verify reads the byte at ADDR inverted")
        ->check(AddressValidator);
    app.add_option("--fail-blank", failBlank, "blank check reads 0x00 at ADDR")
        ->check(AddressValidator);
    app.add_flag("--unreadable", s.unreadable, "acknowledge reads instead of answering them");
    app.add_option("--bad-crc", s.badCrcs, "the first N CRC calculations come out wrong")
        ->check(CLI::NonNegativeNumber);
    app.add_flag("--pace", pace, "real line rate: 11 bits a byte at 115200 baud, both directions");
    app.add_option("--firmware-quiet", s.firmwareQuietMs,
                   "ms without a firmware chunk that end a download")
        ->capture_default_str();
    app.add_option("--restart-ms", s.restartMs,
                   "ms the programmer is away after a firmware download")
        ->capture_default_str();
    app.add_option("--dump-buffer", dumpBuffer, "on exit, the programmer buffer as S-records");
    app.add_option("--dump-target", dumpTarget,
                   "on exit, the target flash over the banks as S-records");
    auto* settingsOpt = app.add_option("--settings", settingsFile,
                                       "settings file that gets COMn=\"<pty>\" in [Ports]");
    auto* comOpt = app.add_option("--com", com, "the n of that COMn")->check(CLI::Range(1, 20));
    settingsOpt->needs(comOpt);
    comOpt->needs(settingsOpt);
    CLI11_PARSE(app, argc, argv);
    s.variant = static_cast<uint8_t>(variant);
    s.interfaceInUse = static_cast<uint8_t>(interfaceInUse);
    s.parallel = static_cast<uint8_t>(parallel);

    for (const auto& t : opTimes)
        if (auto e = ApplyOpTime(t, s); !e.empty()) {
            std::fprintf(stderr, "vantrel-sim: %s\n", e.c_str());
            return 2;
        }
    for (const auto& t : failOps)
        if (auto e = ApplyFailOp(t, s); !e.empty()) {
            std::fprintf(stderr, "vantrel-sim: %s\n", e.c_str());
            return 2;
        }
    for (auto* list : {&algorithms, &interfaces}) {
        auto& codes = list == &algorithms ? s.algorithms : s.interfaces;
        if (list->empty()) continue;
        codes.clear();
        for (const auto& text : *list) {
            uint32_t v;
            if (!ParseU32(text, v) || v > 255) {
                std::fprintf(stderr, "vantrel-sim: not a code (0..255): %s\n", text.c_str());
                return 2;
            }
            codes.push_back(static_cast<uint8_t>(v));
        }
    }
    uint32_t addr;
    if (!failVerify.empty() && ParseU32(failVerify, addr)) s.failVerify = addr;
    if (!failBlank.empty() && ParseU32(failBlank, addr)) s.failBlank = addr;

    int master = -1, slave = -1;
    std::string path;
    if (OpenTerminal(master, slave, path)) return 1;
    if (!settingsFile.empty()) {
        if (auto e = WritePortEntry(settingsFile, com, path); !e.empty()) {
            std::fprintf(stderr, "vantrel-sim: %s\n", e.c_str());
            return 1;
        }
    }

    struct sigaction sa {};
    sa.sa_handler = RequestStop;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    std::printf("%s\n", path.c_str());
    std::fflush(stdout);

    const FaultRates outRates{std::min(1.0, rates.drop + replyRates.drop),
                              std::min(1.0, rates.corrupt + replyRates.corrupt),
                              std::min(1.0, rates.duplicate + replyRates.duplicate)};
    Line line{master, pace, LineFaults(rates, seed), LineFaults(outRates, seed + 1), {}, {}};
    Programmer programmer(s);
    FrameReader reader;
    const int rc = Serve(line, programmer, reader);

    int failed = rc;
    if (!dumpBuffer.empty())
        if (auto e = DumpSRecords(programmer.Buffer().Image(), dumpBuffer); !e.empty()) {
            std::fprintf(stderr, "vantrel-sim: %s\n", e.c_str());
            failed = 1;
        }
    if (!dumpTarget.empty()) {
        const auto& banks = programmer.Config() ? programmer.Config()->banks : std::vector<Bank>{};
        if (auto e = DumpSRecords(TargetOverBanks(programmer.Target(), banks), dumpTarget);
            !e.empty()) {
            std::fprintf(stderr, "vantrel-sim: %s\n", e.c_str());
            failed = 1;
        }
    }
    const SimCounters& c = programmer.Counters();
    std::fprintf(stderr,
                 "vantrel-sim: %u sessions started, %u frames received, %u refused, %u dropped "
                 "(%u bad, %u unheard)\n",
                 c.sessions, c.frames, c.refused, reader.Dropped() + c.unheard, reader.Dropped(),
                 c.unheard);
    close(slave);
    close(master);
    return failed;
}
