#include "ui/SummaryView.h"

#include <algorithm>
#include <cstdio>

#include "app/App.h"
#include "app/DeviceSeam.h"
#include "base/Codes.h"
#include "base/UtilSnprintf.h"
#include "device/DeviceCodes.h"
#include "device/ImageView.h"

namespace vantrel {
namespace {

constexpr std::size_t kTextSize = 200; // every text of the view fits a message buffer

// printf for the few conversions UTIL_format lacks (%.1f, 64-bit hex), cut at 200 characters.
template <typename... Args> std::string Printf(const char* format, Args... args) {
    char buffer[kTextSize];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string RangeText(uint64_t first, uint64_t last) {
    return Printf("%llX - %llX", static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(last));
}

// No interface selected (no device) shows nothing rather than "???".
const char* ShownInterface(int code) {
    return code < 0 ? "" : InterfaceName(code);
}

void CopyImageRows(SummaryInputs& to, const SummaryInputs& from) {
    to.imageEmpty = from.imageEmpty;
    to.firstAddress = from.firstAddress;
    to.lastAddress = from.lastAddress;
    to.fitsDevice = from.fitsDevice;
    to.byteCount = from.byteCount;
    to.showCrc = from.showCrc;
    to.imageCrc = from.imageCrc;
    to.showId = from.showId;
    to.idBytes = from.idBytes;
    to.idLength = from.idLength;
}

void LeftColumn(const SummaryInputs& in, std::vector<SummaryRow>& rows) {
    using Id = SummaryRowId;
    rows.push_back({Id::FileHeader, 0, 0, "File", "", SummaryColour::Label});
    if (in.imageEmpty) {
        rows.push_back({Id::NoData, 0, 1, "", "No data loaded", SummaryColour::LeftValue});
        return;
    }
    rows.push_back({Id::ImageRange, 0, 2, "Range ", RangeText(in.firstAddress, in.lastAddress),
                    in.fitsDevice ? SummaryColour::Green : SummaryColour::Red});
    rows.push_back({Id::Bytes, 0, 3, "Bytes ",
                    Printf("%llX", static_cast<unsigned long long>(in.byteCount)),
                    SummaryColour::LeftValue});
    int next = 4;
    if (in.showCrc)
        rows.push_back(
            {Id::Crc, 0, next++, "CRC", Printf("%.4X", in.imageCrc), SummaryColour::LeftValue});
    if (!in.showId) return;
    const auto& b = in.idBytes;
    std::string hex = Printf("%X %X %X %X %X %X %X", b[0], b[1], b[2], b[3], b[4], b[5], b[6]);
    if (in.idLength > 7) hex += " ...";
    rows.push_back({Id::IdBytes, 0, next, "ID bytes ", hex, SummaryColour::LeftValue});
    std::string ascii;
    for (uint8_t c : b) {
        ascii += c < 0x20 || c > 0x7F ? ' ' : static_cast<char>(c);
        ascii += ' ';
    }
    rows.push_back({Id::IdAscii, 0, next + 1, "ID ASCII ", ascii, SummaryColour::LeftValue});
}

void RightColumn(const SummaryInputs& in, std::vector<SummaryRow>& rows) {
    using Id = SummaryRowId;
    using C = SummaryColour;
    const ProgrammerStatus& s = in.status;
    const bool communication = s.state != kStateNoCommunication;
    rows.push_back({Id::TargetHeader, 1, 0, "Target", "", C::Label});
    rows.push_back({Id::Device, 1, 1, "Device", in.deviceName, in.bootWarning ? C::Red : C::Value});
    std::string ranges;
    for (const auto& [first, last] : in.bankRanges) {
        if (!ranges.empty()) ranges += ", ";
        ranges += RangeText(first, last);
        if (ranges.size() >= kTextSize) break;
    }
    rows.push_back({Id::TargetRange, 1, 2, "Range", ranges.substr(0, kTextSize - 1), C::Value});
    rows.push_back({Id::Interface, 1, 3, "Interface",
                    ShownInterface(communication ? s.interfaceInUse : in.selectedInterface),
                    C::Value});
    rows.push_back({Id::ProgrammerCrc, 1, 4, "Vantrel CRC", Printf("%.4X", s.crc), C::Value});
    rows.push_back(
        {Id::Status, 1, 5, "Vantrel status", StateText(s.state), s.state == 9 ? C::Red : C::Value});
    if (!communication) return;

    const int vin = s.inputVoltage;
    const int vinMin = in.vpp * 100 + 1000;
    if (s.hardwareVersion >= 300 && vin >= 5000) {
        std::string text = Printf("%.1f Volt", vin / 1000.0);
        if (vin < vinMin) text += Printf(" (Min. %.1f V for this chip)", vinMin / 1000.0);
        bool ok = vinMin <= vin && vin <= 25000;
        rows.push_back({Id::Vin, 1, 6, "Vantrel Vin", text, ok ? C::Value : C::Red});
    }
    std::string firmware = FirmwareVersionText(s.firmwareVersion) + " for " + HardwareName(s);
    if (s.serialNumber > 0) firmware += Printf(" S/N %d", static_cast<int>(s.serialNumber));
    rows.push_back({Id::Firmware, 1, 7, "Vantrel firmware", firmware, C::Value});

    std::string result = "---";
    if (s.state == kStateReady)
        result = s.result == 0 ? ResultText(s)
                               : UTIL_format("Error %d: %s", {int{s.result}, ResultText(s)});
    rows.push_back({Id::Result, 1, 8, "Result", result, s.result != 0 ? C::Red : C::Value});

    std::string address;
    if (s.result == 52)
        address = UTIL_format("Adress A%d", {s.currentAddress});
    else if (s.result == 0 && s.state == kStateReady)
        address = "---";
    else
        address = UTIL_format("%.5X", {s.currentAddress});
    rows.push_back({Id::CurrentAddress, 1, 9, "Current adr", address, C::Value});

    if (s.hardwareVersion >= 300 && in.selectedInterface == 1) {
        const int vcc = s.targetVoltage;
        bool ok = vcc <= in.vMax * 100 && vcc >= in.vMin * 100;
        rows.push_back({Id::TargetVcc, 1, 10, "Target VCC", Printf("%.1f Volt", vcc / 1000.0),
                        ok ? C::Value : C::Red});
    }
    if (in.displayBootloader) {
        const auto& id = s.bootloaderId;
        std::string text(id.begin(), std::find(id.begin(), id.end(), '\0'));
        rows.push_back({Id::Bootloader, 1, 11, "Bootloader", text, C::Value});
    }
}

} // namespace

SummaryInputs GatherSummary(App& app, const SummaryInputs& previous) {
    SummaryInputs in;
    DeviceSelection& selection = app.selection;
    const DeviceRecord* device = selection.SelectedDevice();
    if (app.doc.beingReadBack) {
        CopyImageRows(in, previous);
    } else {
        in.showCrc = selection.additional.size == 0;
        in.showId = device && device->idLenMax != 0;
        std::array<uint32_t, 7> idAddresses{};
        if (in.showId)
            for (std::size_t i = 0; i < idAddresses.size(); ++i)
                idAddresses[i] = selection.IdByteAddress(static_cast<int>(i));
        const uint8_t fill = ImageFillByte(app);
        {
            LockedImage image = app.doc.Lock();
            in.imageEmpty = image->Empty();
            in.firstAddress = image->StartAddress();
            in.lastAddress = image->EndAddress();
            in.byteCount = image->TotalBytes();
            if (in.showId) {
                ImageView view(image.Image());
                for (std::size_t i = 0; i < idAddresses.size(); ++i)
                    in.idBytes[i] = view.ByteOr(idAddresses[i], fill);
                in.idLength = selection.IdLengthValue(view);
            }
        }
        if (!in.imageEmpty) {
            in.fitsDevice = AreasInsideDevice(app);
            if (in.showCrc) in.imageCrc = static_cast<uint16_t>(GetImageCrc(app));
        }
    }
    if (device) {
        in.deviceName = device->name;
        in.bootWarning = device->bootWarning != 0;
        in.displayBootloader = device->displayBLVersion != 0;
        in.vMin = device->vMin;
        in.vMax = device->vMax;
        in.vpp = device->vpp;
        int banks = std::min(selection.BankTotal(), kBankFlags);
        for (int i = 0; i < banks; ++i) {
            if (!selection.bankFlags[static_cast<std::size_t>(i)]) continue;
            BankRange bank = selection.SelectionBank(i);
            in.bankRanges.emplace_back(bank.start, bank.start + bank.size - 1);
        }
    }
    in.selectedInterface = selection.interface;
    in.status = PM_Status(app.pm);
    return in;
}

uint32_t SummaryRgb(SummaryColour colour) {
    switch (colour) {
    case SummaryColour::Label:
        return 0x000000;
    case SummaryColour::Value:
        return 0x808080;
    case SummaryColour::LeftValue:
        return 0x7F7F7F;
    case SummaryColour::Red:
        return 0xFF0000;
    case SummaryColour::Green:
        return 0x007F00;
    }
    return 0;
}

std::vector<SummaryRow> SummaryRows(const SummaryInputs& in) {
    std::vector<SummaryRow> rows;
    LeftColumn(in, rows);
    RightColumn(in, rows);
    return rows;
}

SummaryLayout::SummaryLayout(int rowHeight, std::function<int(const std::string&)> textWidth)
    : h_(rowHeight), width_(std::move(textWidth)) {
    leftValueX_ = std::max(width_("Bytes "), width_("ID bytes ")) + 17;
    // The right column starts at 300, further right only when a large font would make the
    // widest left value ("FFFFFFFF - FFFFFFFF") run into it.
    rightX_ = std::max(300, leftValueX_ + width_("FFFFFFFF - FFFFFFFF") + 2 * h_);
    rightValueX_ = rightX_ + std::max(width_("Device"), width_("BTL S/W Version")) + 12;
}

std::pair<int, int> SummaryLayout::Underline(int column) const {
    int from = LabelX(column);
    int length = std::max(150, width_(column == 0 ? "File" : "Target"));
    return {from, from + length};
}

SummaryRect SummaryLayout::RowRect(const SummaryRow& row) const {
    // The value's box as it was remembered for invalidation (200, 400 or 500 pixels wide),
    // wider when the measured text is.
    int box = 200;
    if (row.id == SummaryRowId::Vin) box = 400;
    if (row.id == SummaryRowId::Firmware || row.id == SummaryRowId::Result) box = 500;
    int valueX = ValueX(row.column);
    int right = valueX + std::max(box, width_(row.value) + 1);
    if (row.value.empty()) right = std::max(right, LabelX(row.column) + width_(row.label) + 1);
    int y = RowY(row.row);
    return {LabelX(row.column), y, right, y + h_ + 1};
}

std::pair<int, int> SummaryLayout::Extent(const std::vector<SummaryRow>& rows) const {
    int width = 0;
    int height = 0;
    for (const SummaryRow& row : rows) {
        width = std::max(width, LabelX(row.column) + width_(row.label));
        if (!row.value.empty()) width = std::max(width, ValueX(row.column) + width_(row.value));
        height = std::max(height, RowY(row.row) + h_);
    }
    return {width + 5, height + 5};
}

SummaryModel::Changes SummaryModel::Update(const SummaryInputs& in) {
    Changes changes;
    std::vector<SummaryRow> rows = SummaryRows(in);
    changes.whole = first_ || in.status.state != inputs_.status.state;
    if (!changes.whole) {
        auto differs = [](const std::vector<SummaryRow>& from, const std::vector<SummaryRow>& to,
                          std::vector<SummaryRow>& out) {
            for (const SummaryRow& row : from) {
                auto same = std::find(to.begin(), to.end(), row);
                if (same == to.end()) out.push_back(row);
            }
        };
        differs(rows_, rows, changes.rows); // old places: what was drawn there goes
        differs(rows, rows_, changes.rows); // new places: what is new is drawn
    }
    first_ = false;
    inputs_ = in;
    rows_ = std::move(rows);
    return changes;
}

} // namespace vantrel
