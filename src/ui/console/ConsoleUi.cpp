#include "ui/console/ConsoleUi.h"

#include <unistd.h>

#include <cctype>
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

bool ConsoleUi::Ask(const std::string& prompt, const std::string& defaultText,
                    std::string& answer) {
    if (!interactive_) return false;
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
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void ConsoleUi::ErrorFileEntry(const std::string& text) {
    std::fprintf(stderr, "[Error] %s\n", text.c_str());
}

void ConsoleUi::SetStatusText(int pane, const std::string& text) {
    if (verbose_ && pane == 0) std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace vantrel
