#pragma once
// The progress dialog of the target operations as plain logic: a caption, a position of
// 0..100 and its percentage text, and Cancel. It reports every change as a progress event
// through the Ui seam (the window's dialog, the console's progress line) and lets the windows
// run their events whenever it is updated or asked for Cancel. In batch mode Cancel is never
// reported.
#include <cstdint>
#include <string>

namespace vantrel {

struct App;

// The percentage text: the share of the range, taken modulo 100 unless it is exactly 100;
// "%d%c of %u bytes" with the transfer's size while a download or read back runs, else "%d%c".
std::string ProgressText(int position, int low, int high, bool transfer, uint32_t totalBytes);

class ProgressDialog {
  public:
    ProgressDialog(App& app, const std::string& caption);
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    void SetCaption(const std::string& caption);
    void SetPos(int position);
    bool CheckCancelButton();

  private:
    void Send(int kind);

    App& app_;
    std::string caption_;
    int position_ = 0;
};

} // namespace vantrel
