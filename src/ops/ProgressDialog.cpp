#include "ops/ProgressDialog.h"

#include "app/App.h"
#include "base/UtilSnprintf.h"
#include "link/ProtocolEngine.h"

namespace vantrel {

namespace {

constexpr int kLow = 0, kHigh = 100;

} // namespace

std::string ProgressText(int position, int low, int high, bool transfer, uint32_t totalBytes) {
    int percent = high == low ? 0 : (position - low) * 100 / (high - low);
    if (percent != 100) percent %= 100;
    // "%d%c" with '%': the program's formatter has no %c.
    std::string text = UTIL_format("%d", {percent}) + "%";
    if (transfer) text += UTIL_format(" of %u bytes", {totalBytes});
    return text;
}

ProgressDialog::ProgressDialog(App& app, const std::string& caption)
    : app_(app), caption_(caption) {
    Send(static_cast<int>(ProgressEvent::Kind::Open));
    APP_PumpMessages(app_);
}

ProgressDialog::~ProgressDialog() {
    Send(static_cast<int>(ProgressEvent::Kind::Close));
}

void ProgressDialog::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Send(static_cast<int>(ProgressEvent::Kind::Caption));
    APP_PumpMessages(app_);
}

void ProgressDialog::SetPos(int position) {
    position_ = position;
    Send(static_cast<int>(ProgressEvent::Kind::Position));
    APP_PumpMessages(app_);
}

bool ProgressDialog::CheckCancelButton() {
    APP_PumpMessages(app_);
    if (CMDLINE_IsBatchRunning(app_)) return false;
    return app_.ui.ProgressCancelRequested();
}

void ProgressDialog::Send(int kind) {
    const int job = PM_CurrentJob(app_.pm);
    const bool transfer =
        job == static_cast<int>(kJobDownload) || job == static_cast<int>(kJobReadBack);
    ProgressEvent event;
    event.kind = static_cast<ProgressEvent::Kind>(kind);
    event.caption = caption_;
    event.percent = position_;
    event.totalBytes = transfer ? PM_TransferTotal(app_.pm) : 0;
    event.text = ProgressText(position_, kLow, kHigh, transfer, event.totalBytes);
    app_.ui.Progress(event);
}

} // namespace vantrel
