#include "platform/threadinfo.h"

#include <chrono>
#include <pthread.h>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace zob {

std::uint32_t currentThreadId() {
    return static_cast<std::uint32_t>(::syscall(SYS_gettid));
}

void setCurrentThreadName(std::string_view name) {
    constexpr std::size_t kernelLimit = 15;
    const std::string cut(name.substr(0, kernelLimit));
    ::pthread_setname_np(::pthread_self(), cut.c_str());
}

std::uint32_t tickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace zob
