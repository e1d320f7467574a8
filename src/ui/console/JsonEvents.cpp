#include "ui/console/JsonEvents.h"

#include <nlohmann/json.hpp>

#include "ui/console/ProgressLine.h"

namespace vantrel {

namespace {

using json = nlohmann::ordered_json;

json Text(const std::string& text) {
    return Latin1ToUtf8(text);
}

json OrNull(const std::optional<std::string>& text) {
    return text ? Text(*text) : json(nullptr);
}

std::string Line(const json& object) {
    return object.dump();
}

} // namespace

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string JsonRunStart(const RunStartInfo& info) {
    return Line({{"event", "runStart"},
                 {"version", Text(info.version)},
                 {"port", OrNull(info.port)},
                 {"portPath", OrNull(info.portPath)},
                 {"device", OrNull(info.device)}});
}

std::string JsonOperation(const OperationEvent& event) {
    if (event.kind == OperationEvent::Kind::Start)
        return Line({{"event", "operationStart"}, {"name", Text(event.name)}});
    json object = {{"event", "operationEnd"},
                   {"name", Text(event.name)},
                   {"result", event.result},
                   {"text", Text(event.text)},
                   {"elapsedMs", event.elapsedMs}};
    if (event.crcCompared) {
        object["imageCrc"] = event.imageCrc;
        object["programmerCrc"] = event.programmerCrc;
    }
    return Line(object);
}

std::string JsonProgress(const std::string& caption, int percent, uint32_t totalBytes) {
    return Line({{"event", "progress"},
                 {"caption", Text(caption)},
                 {"percent", percent},
                 {"bytesDone", BytesDone(percent, totalBytes)},
                 {"bytesTotal", totalBytes}});
}

std::string JsonError(int32_t code, const std::string& text, int kind) {
    return Line({{"event", "error"},
                 {"code", code},
                 {"text", Text(text)},
                 {"kind", kind == 2 ? "notice" : "error"}});
}

std::string JsonMessage(const std::string& caption, const std::string& text, MsgIcon icon) {
    const char* iconName = "none";
    switch (icon) {
    case MsgIcon::None:
        break;
    case MsgIcon::Information:
        iconName = "information";
        break;
    case MsgIcon::Warning:
        iconName = "warning";
        break;
    case MsgIcon::Error:
        iconName = "error";
        break;
    case MsgIcon::Question:
        iconName = "question";
        break;
    }
    return Line({{"event", "message"},
                 {"caption", Text(caption)},
                 {"text", Text(text)},
                 {"icon", iconName}});
}

std::string JsonRunEnd(int exitCode) {
    return Line({{"event", "runEnd"}, {"exitCode", exitCode}});
}

} // namespace vantrel
