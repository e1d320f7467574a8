#pragma once
// The passcode dialog of TOSHIBA CPUs (" TOSHIBA CPU Passcode settings") without a toolkit:
// the count address, the compare start address, the password as text or as hex digits, and
// "&Fill 0xFF" (no passcode: the programmer fills with 0xFF). OK checks the fields in order
// and stops at the first failure, whose message is shown in a box captioned "Error in passcode
// settings"; the fields then show the stored values again. Otherwise the options and the
// device selection take the values.
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

struct App;

inline constexpr int kToshibaCountAddressId = 100;
inline constexpr int kToshibaCompareAddressId = 101;
inline constexpr int kToshibaPasswordId = 102;
inline constexpr int kToshibaFillId = 103;
inline constexpr int kToshibaHexModeId = 104;
inline constexpr std::size_t kToshibaAddressChars = 6;
inline constexpr std::size_t kToshibaPasswordChars = 30;
inline constexpr const char* kToshibaErrorCaption = "Error in passcode settings";

// What the device allows, for the checks.
struct ToshibaLimits {
    uint32_t idRangeFirst = 0;
    uint32_t idRangeLast = 0;
    int idLenMin = 0;
    int idLenMax = 0;
};

// The fields as OK reads them.
struct ToshibaFields {
    std::string countAddress;
    std::string compareAddress;
    std::string password;
    bool hexMode = false;
    bool fill = false; // "&Fill 0xFF"
};

// What OK accepted.
struct ToshibaValues {
    uint32_t countAddress = 0;
    uint32_t compareAddress = 0;
    std::string passcode; // the bytes; empty with "&Fill 0xFF"
};

struct ToshibaCheck {
    std::optional<ToshibaValues> values;
    std::string message; // the first failure
};
ToshibaCheck CheckToshibaFields(const ToshibaFields& fields, const ToshibaLimits& limits);

class ToshibaPasscodeDialog {
  public:
    explicit ToshibaPasscodeDialog(App& app); // the stored values
    ToshibaFields fields;
    // The password and "&HexMode" are usable only while "&Fill 0xFF" is unchecked.
    bool PasswordEnabled() const { return !fields.fill; }
    // What typing leaves in an edit: the address edits force upper case; lengths are cut.
    void TypeCountAddress(const std::string& text);
    void TypeCompareAddress(const std::string& text);
    void TypePassword(const std::string& text);
    // True when the values were stored and the dialog may close.
    bool Ok();

  private:
    void Load();
    App& app_;
};

} // namespace vantrel
