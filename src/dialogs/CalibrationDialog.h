#pragma once
// The calibration dialogs of the programmer's programming voltage, without a toolkit. The
// programmer runs the calibration; the dialog only queues its steps as link jobs and shows the
// two calibration values of the status while it is open (the main window's timer calls
// Refresh). "Calibration" goes through two points, 12.0V then 5.0V; "Calibration of Vpp
// multiplier" (hardware 5.90 to 5.94) has one.
#include <cstdint>
#include <string>

#include "base/ProgrammerStatus.h"

namespace vantrel {

struct App;

// The command that opens it (no menu item of its own).
inline constexpr int kCalibrationCommand = 32817;

inline constexpr int kCalibrationVoltageId = 1042, kCalibrationValue0Id = 1046,
                     kCalibrationValue1Id = 1047, kCalibrationStartId = 3, kCalibrationUpId = 1041,
                     kCalibrationDownId = 4, kCalibrationSaveId = 1043;

// The link jobs of the calibration steps.
enum CalibrationJob : uint32_t {
    kCalJobStart = 18,
    kCalJobNextPoint = 19,
    kCalJobEnd = 20,
    kCalJobSave = 21,
    kCalJobUp = 22,
    kCalJobDown = 23,
};

// Ready programmers of hardware 4.10 and later calibrate.
bool CalibrationEnabled(const ProgrammerStatus& status);
// Hardware 5.90 to 5.94 calibrate a Vpp multiplier.
bool CalibratesVppMultiplier(uint16_t hardwareVersion);

class CalibrationDialog {
  public:
    // The kind follows the programmer's hardware version.
    explicit CalibrationDialog(App& app);
    bool Multiplier() const { return multiplier_; }

    bool StartEnabled() const { return !started_; }
    bool UpDownEnabled() const { return started_; } // not in the multiplier dialog
    bool SaveEnabled() const { return started_; }
    const std::string& Voltage() const { return voltage_; }
    int Step() const { return step_; }
    const std::string& Value0() const { return value0_; }
    const std::string& Value1() const { return value1_; }
    int Focus() const { return focus_; }

    void Start();
    void Up();
    void Down();
    // True when the dialog closes (the last point was saved).
    bool Save();
    void Cancel();
    // Shows the calibration values of the programmer's status; a value of 0 leaves its edit.
    void Refresh();

  private:
    void Queue(uint32_t job);
    App& app_;
    bool multiplier_ = false;
    bool started_ = false;
    int step_ = 0;
    std::string voltage_ = "12.0V";
    std::string value0_, value1_;
    int focus_ = kCalibrationStartId;
};

} // namespace vantrel
