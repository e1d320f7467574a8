#include "ui/console/ConsoleUi.h"

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace vantrel {
namespace {

struct Choice {
    char key;
    const char* word;
    MsgAnswer answer;
};

std::vector<Choice> ChoicesFor(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return {{'o', "OK", MsgAnswer::Ok}};
    case MsgButtons::OkCancel:
        return {{'o', "OK", MsgAnswer::Ok}, {'c', "Cancel", MsgAnswer::Cancel}};
    case MsgButtons::YesNo:
        return {{'y', "Yes", MsgAnswer::Yes}, {'n', "No", MsgAnswer::No}};
    case MsgButtons::YesNoCancel:
        return {{'y', "Yes", MsgAnswer::Yes},
                {'n', "No", MsgAnswer::No},
                {'c', "Cancel", MsgAnswer::Cancel}};
    case MsgButtons::RetryCancel:
        return {{'r', "Retry", MsgAnswer::Retry}, {'c', "Cancel", MsgAnswer::Cancel}};
    }
    return {};
}

uint32_t NowMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

ConsoleUi::ConsoleUi(bool verbose)
    : interactive_(isatty(STDIN_FILENO)), verbose_(verbose),
      stderrTerminal_(isatty(STDERR_FILENO)) {}

MsgAnswer ConsoleUi::MessageBox(const std::string& text, const std::string& caption,
                                MsgButtons buttons, MsgIcon icon, MsgAnswer defaultAnswer) {
    // The box that shows a reported error has had its event already.
    if (events_ && text != reportedText_) Emit(JsonMessage(caption, text, icon));
    reportedText_.clear();
    EndProgressLine();
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    auto choices = ChoicesFor(buttons);
    if (choices.size() < 2) return choices.empty() ? defaultAnswer : choices.front().answer;
    std::string prompt;
    for (const auto& c : choices) {
        if (!prompt.empty()) prompt += "/";
        prompt += c.word;
    }
    if (!interactive_) {
        for (const auto& c : choices)
            if (c.answer == defaultAnswer)
                std::fprintf(stderr, "(%s) -> %s\n", prompt.c_str(), c.word);
        std::fflush(stderr);
        return defaultAnswer;
    }
    for (;;) {
        std::fprintf(stderr, "(%s)? ", prompt.c_str());
        std::fflush(stderr);
        char line[64];
        if (!std::fgets(line, sizeof line, stdin)) return defaultAnswer;
        char key = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
        if (key == '\n') return defaultAnswer;
        for (const auto& c : choices)
            if (c.key == key) return c.answer;
    }
}

bool ConsoleUi::Ask(const std::string& prompt, const std::string& defaultText,
                    std::string& answer) {
    if (!interactive_) return false;
    EndProgressLine();
    std::fprintf(stderr, "%s [%s]: ", prompt.c_str(), defaultText.c_str());
    std::fflush(stderr);
    char line[512];
    if (!std::fgets(line, sizeof line, stdin)) return false;
    answer = line;
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r'))
        answer.pop_back();
    if (answer.empty()) answer = defaultText;
    return true;
}

bool ConsoleUi::AskFilter(const std::vector<FileFilter>& filters, int& filterIndex) {
    for (std::size_t i = 0; i < filters.size(); ++i)
        std::fprintf(stderr, "  %zu: %s\n", i + 1, filters[i].shown.c_str());
    std::string answer;
    if (!Ask("Type", std::to_string(filterIndex < 1 ? 1 : filterIndex), answer)) return false;
    int index = std::atoi(answer.c_str());
    if (index >= 1 && index <= static_cast<int>(filters.size())) filterIndex = index;
    return true;
}

bool ConsoleUi::OpenFileDialog(const std::string& title, const std::vector<FileFilter>& filters,
                               int& filterIndex, std::string& fileName) {
    if (!interactive_) return false;
    std::fprintf(stderr, "[%s]\n", title.c_str());
    std::string answer;
    if (!AskFilter(filters, filterIndex) || !Ask("File name", fileName, answer) || answer.empty())
        return false;
    fileName = answer;
    return true;
}

bool ConsoleUi::SaveFileDialog(
    const std::string& title, const std::vector<FileFilter>& filters, int& filterIndex,
    std::string& fileName,
    const std::function<std::string(const std::string&, int)>& nameForFilter) {
    if (!interactive_) return false;
    std::fprintf(stderr, "[%s]\n", title.c_str());
    if (!AskFilter(filters, filterIndex)) return false;
    std::string answer;
    if (!Ask("File name", nameForFilter(fileName, filterIndex), answer) || answer.empty())
        return false;
    fileName = answer;
    return true;
}

bool ConsoleUi::AddressRangeDialog(
    std::string& start, std::string& end,
    const std::function<bool(const std::string&, const std::string&)>& accept) {
    std::fprintf(stderr, "[Select address range]\n");
    for (;;) {
        std::string s, e;
        if (!Ask("Start adress", start, s) || !Ask("End adress", end, e)) return false;
        if (accept(s, e)) {
            start = s;
            end = e;
            return true;
        }
    }
}

bool ConsoleUi::RelocationDialog(std::string& offset,
                                 const std::function<bool(const std::string&)>& accept) {
    for (;;) {
        std::string text;
        if (!Ask("Relocation offset (Hex)", offset, text)) return false;
        if (accept(text)) {
            offset = text;
            return true;
        }
    }
}

void ConsoleUi::ShowHelpText(const std::string& text, const std::string&) {
    // stdout carries nothing but events when there are events.
    std::FILE* out = events_ ? stderr : stdout;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fflush(out);
}

void ConsoleUi::ErrorFileEntry(const std::string& text) {
    // No message box shows such a text: it is an error of the run without a code.
    if (events_) Emit(JsonError(0, text, 1));
    EndProgressLine();
    std::fprintf(stderr, "[Error] %s\n", text.c_str());
}

void ConsoleUi::SetStatusText(int pane, const std::string& text) {
    if (!verbose_ || pane != 0) return;
    EndProgressLine();
    std::fprintf(stderr, "%s\n", text.c_str());
}

void ConsoleUi::Operation(const OperationEvent& event) {
    if (events_) Emit(JsonOperation(event));
    if (event.kind != OperationEvent::Kind::End) return;
    // The same time as the event's elapsedMs, so that the log and the events agree.
    EndProgressLine();
    std::fprintf(stderr, "%s\n", ElapsedTimeText(event.elapsedMs).c_str());
    std::fflush(stderr);
    caption_.clear();
}

void ConsoleUi::ErrorReported(int32_t code, const std::string& text, int kind) {
    if (!events_) return;
    Emit(JsonError(code, text, kind));
    reportedText_ = text;
}

void ConsoleUi::Progress(const ProgressEvent& event) {
    switch (event.kind) {
    case ProgressEvent::Kind::Open:
    case ProgressEvent::Kind::Caption:
        caption_ = event.caption;
        captionStartMs_ = NowMs();
        drawnPercent_ = -1;
        steps_.Restart();
        pacing_.Restart();
        ShowProgress(event);
        break;
    case ProgressEvent::Kind::Position:
        ShowProgress(event);
        break;
    case ProgressEvent::Kind::Close:
        // The line stays until the operation ends: one line per operation.
        break;
    }
}

void ConsoleUi::ShowProgress(const ProgressEvent& event) {
    const uint32_t now = NowMs();
    if (events_ && pacing_.Due(event.percent, now))
        Emit(JsonProgress(caption_, event.percent, event.totalBytes));
    const ProgressSample sample{caption_, event.percent, event.totalBytes, now - captionStartMs_};
    if (stderrTerminal_) {
        if (event.percent == drawnPercent_) return;
        drawnPercent_ = event.percent;
        std::fprintf(stderr, "\r\x1b[K%s", ProgressLineText(sample).c_str());
        lineShown_ = true;
    } else if (steps_.Due(event.percent)) {
        std::fprintf(stderr, "%s\n", ProgressLineText(sample).c_str());
    }
    std::fflush(stderr);
}

void ConsoleUi::EndProgressLine() {
    if (!lineShown_) return;
    std::fputc('\n', stderr);
    lineShown_ = false;
}

void ConsoleUi::Emit(const std::string& line) {
    if (!runStarted_) {
        held_.push_back(line);
        return;
    }
    std::fprintf(events_, "%s\n", line.c_str());
    std::fflush(events_);
}

void ConsoleUi::RunStart(const RunStartInfo& info) {
    if (!events_ || runStarted_) return;
    runStarted_ = true;
    Emit(JsonRunStart(info));
    for (const std::string& line : held_)
        Emit(line);
    held_.clear();
}

void ConsoleUi::RunEnd(int exitCode) {
    if (!events_) return;
    EndProgressLine();
    Emit(JsonRunEnd(exitCode));
}

} // namespace vantrel
