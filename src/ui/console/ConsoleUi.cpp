#include "ui/console/ConsoleUi.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
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

} // namespace

ConsoleUi::ConsoleUi(bool verbose) : interactive_(isatty(STDIN_FILENO)), verbose_(verbose) {}

MsgAnswer ConsoleUi::MessageBox(const std::string& text, const std::string& caption,
                                MsgButtons buttons, MsgIcon, MsgAnswer defaultAnswer) {
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

void ConsoleUi::ShowHelpText(const std::string& text, const std::string&) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void ConsoleUi::SetStatusText(int pane, const std::string& text) {
    if (verbose_ && pane == 0) std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace vantrel
