#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace zob {

// Replaces the file at `target` with `bytes` so that a reader, a crash or a full disk
// only ever sees the old contents or the new ones, never a truncated mix: the bytes go
// to a temporary file in the same folder, are flushed to the disk and then renamed over
// the target.
//
// An existing target keeps its permission bits. A new file gets `mode` when given
// (exactly, regardless of the umask), otherwise the usual 0666 less the umask. With
// `ModeRule::always` the file gets `mode` even when it existed with other bits (a
// file holding a password must never stay readable by others).
//
// On failure the temporary file is removed, the target is left as it was, and a
// std::system_error whose message names the target is thrown.
enum class ModeRule { forNewFile, always };
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::optional<std::filesystem::perms> mode = std::nullopt,
                         ModeRule rule = ModeRule::forNewFile);

} // namespace zob
