#pragma once

// The core keeps every text as the bytes the site or the user gave; only the window
// turns them into something to draw, and typed text back into bytes.

#include <QString>
#include <string>
#include <string_view>

namespace zob {

// UTF-8 when `bytes` are valid UTF-8, Windows-1252 otherwise.
QString toDisplay(std::string_view bytes);

// The UTF-8 bytes of `text`.
std::string fromDisplay(const QString& text);

// toDisplay, with "\r\n" and a lone "\r" turned into "\n" so a message box breaks the line.
QString displayLineBreaks(std::string_view text);

} // namespace zob
