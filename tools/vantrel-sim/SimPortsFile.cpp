#include "SimPortsFile.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/SafeFileWriter.h"

namespace vantrel::sim {
namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The section a line opens, or empty when it opens none.
std::string SectionOf(const std::string& line) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return {};
    return Trim(t.substr(1, t.size() - 2));
}

std::string KeyOf(const std::string& line) {
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : Trim(line.substr(0, eq));
}

} // namespace

std::string SetPortEntry(const std::string& text, int com, const std::string& path) {
    const bool crlf = text.empty() || text.find("\r\n") != std::string::npos;
    const std::string eol = crlf ? "\r\n" : "\n";
    const std::string key = "COM" + std::to_string(com);
    const std::string entry = key + "=\"" + path + "\"";

    // Lines without their line end; the last one may lack it in the text.
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(pos, nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        pos = nl + 1;
    }

    bool inPorts = false;
    std::ptrdiff_t lastInPorts = -1; // last non-blank line of [Ports] (or its header)
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string section = SectionOf(lines[i]);
        if (!section.empty()) {
            if (inPorts) break; // the section ended without the key
            inPorts = SameText(section, "Ports");
            if (inPorts) lastInPorts = static_cast<std::ptrdiff_t>(i);
            continue;
        }
        if (!inPorts) continue;
        if (SameText(KeyOf(lines[i]), key)) {
            lines[i] = entry;
            lastInPorts = -2; // replaced
            break;
        }
        if (!Trim(lines[i]).empty()) lastInPorts = static_cast<std::ptrdiff_t>(i);
    }
    if (lastInPorts >= 0) {
        lines.insert(lines.begin() + lastInPorts + 1, entry);
    } else if (lastInPorts == -1) {
        lines.push_back("[Ports]");
        lines.push_back(entry);
    }

    std::string out;
    for (const auto& line : lines)
        out += line + eol;
    return out;
}

std::string WritePortEntry(const std::string& file, int com, const std::string& path) {
    std::string text;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream all;
        if (!in || !(all << in.rdbuf())) return file + ": cannot be read";
        text = all.str();
    }
    SafeFileWriter writer;
    if (!writer.Open(file) || !writer.Write(SetPortEntry(text, com, path)) || !writer.Commit())
        return file + ": " + writer.ErrorText();
    return {};
}

} // namespace vantrel::sim
