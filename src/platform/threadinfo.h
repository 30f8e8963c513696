#pragma once

#include <cstdint>
#include <string_view>

namespace zob {

// The operating system's numeric id of the calling thread (stable for the
// thread's life, distinct between live threads).
std::uint32_t currentThreadId();

// Names the calling thread for debuggers and `top -H`. The kernel keeps 15
// bytes; longer names are cut.
void setCurrentThreadName(std::string_view name);

// Milliseconds since an arbitrary fixed point, wrapping like the classic tick count.
std::uint32_t tickCount();

} // namespace zob
