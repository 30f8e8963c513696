#pragma once

#include <string>
#include <string_view>

namespace zob {

// The core keeps every text as the bytes the site or the user gave. Whoever
// shows one reads it as UTF-8 when the bytes are valid UTF-8, and as
// Windows-1252 (what the site's older pages use) otherwise.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// The code point of a Windows-1252 byte. The five codes it leaves unassigned
// keep their C1 value, which is what Windows itself does on conversion.
char32_t windows1252CodePoint(unsigned char byte);

// `bytes` as UTF-8: unchanged when valid UTF-8, else read as Windows-1252.
std::string displayUtf8(std::string_view bytes);

// displayUtf8, made safe for a terminal: control characters other than tab
// (C0, DEL and C1, which could move the cursor or retitle the window) are
// shown as "\xNN" instead.
std::string terminalSafe(std::string_view bytes);

} // namespace zob
