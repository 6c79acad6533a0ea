#pragma once

#include "platform/ProgramText.h"

#include <QString>

#include <string>
#include <string_view>

namespace dotvane {

// Between the program's text (one byte a character: Latin-1 on Linux, the
// ANSI code page on Windows) and Qt's, so that an accented letter stays one.
inline QString ToQString(std::string_view text)
{
    const std::string utf8 = platform::Utf8FromProgramText(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string FromQString(const QString& text) { return platform::ProgramTextFromUtf8(text.toStdString()); }

}  // namespace dotvane
