#pragma once
// The program's texts are 8-bit: the widgets show them as Latin-1 and give typed text back the
// same way.
#include <QString>
#include <string>

namespace vantrel {

inline QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace vantrel
