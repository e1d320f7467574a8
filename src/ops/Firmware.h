#pragma once
// The programmer's firmware update, on the main thread. The PC program works only with
// firmware of its own generation; when the link finds another one (error 214) the main window
// offers the update, and the program ends unless it succeeds. The same download runs from the
// menu at any time. The link sends the image (job 5); after it the programmer restarts, stops
// answering for a few seconds, and its next session checks the firmware again.
namespace vantrel {

struct App;

// The programmer's firmware is new enough to be updated and an image for its hardware exists.
bool FW_IsAvailable(const App& app);
// Loads the image, asks, and sends it; true when it failed, was declined or was cancelled.
bool FW_Download(App& app);
// The answer to error 214: offers the update; ends the program (exit command) unless the
// update went through.
void FW_OfferAfterMismatch(App& app);

// The menu command's rule: the programmer is ready and an image is available.
bool FirmwareCommandEnabled(const App& app);

} // namespace vantrel
