// Texts between the core (CP949 bytes) and Qt (UTF-16), for every Qt face of
// the program.
#pragma once

#include "ports/Ports.h"

#include <QString>
#include <string>
#include <string_view>

namespace ostravion {

inline QString ToQt(const TextCodec& codec, std::string_view cp949) {
    return QString::fromStdString(codec.ToUtf8(std::string(cp949)));
}

inline std::string FromQt(const TextCodec& codec, const QString& text) {
    return codec.FromUtf8(text.toStdString());
}

} // namespace ostravion
