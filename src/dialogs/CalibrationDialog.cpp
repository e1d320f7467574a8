#include "dialogs/CalibrationDialog.h"

#include "app/App.h"
#include "app/LinkControl.h"
#include "base/UtilSnprintf.h"

namespace vantrel {

bool CalibrationEnabled(const ProgrammerStatus& status) {
    return status.state == kStateReady && status.hardwareVersion >= 410;
}

bool CalibratesVppMultiplier(uint16_t hardwareVersion) {
    return hardwareVersion >= 590 && hardwareVersion <= 594;
}

CalibrationDialog::CalibrationDialog(App& app)
    : app_(app), multiplier_(CalibratesVppMultiplier(PM_Status(app.pm).hardwareVersion)) {}

void CalibrationDialog::Queue(uint32_t job) {
    LINK_PublishTarget(app_);
    PM_QueueJob(app_.pm, job);
}

void CalibrationDialog::Start() {
    Queue(kCalJobStart);
    started_ = true;
    focus_ = multiplier_ ? kCalibrationSaveId : kCalibrationUpId;
}

void CalibrationDialog::Up() {
    if (started_ && !multiplier_) Queue(kCalJobUp);
}

void CalibrationDialog::Down() {
    if (started_ && !multiplier_) Queue(kCalJobDown);
}

bool CalibrationDialog::Save() {
    if (!started_) return false;
    Queue(kCalJobSave);
    if (!multiplier_ && step_ == 0) {
        voltage_ = "5.0V";
        step_ = 1;
        Queue(kCalJobNextPoint);
        return false;
    }
    Queue(kCalJobEnd);
    return true;
}

void CalibrationDialog::Cancel() {
    Queue(kCalJobEnd);
}

void CalibrationDialog::Refresh() {
    const ProgrammerStatus status = PM_Status(app_.pm);
    if (status.calibration1 != 0) value0_ = UTIL_format("%d", {status.calibration1});
    if (status.calibration2 != 0) value1_ = UTIL_format("%d", {status.calibration2});
}

} // namespace vantrel
