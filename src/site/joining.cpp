#include "site/joining.h"

namespace zob {

std::string joinWith(char separator, std::string_view a, std::string_view b) {
    if (a.empty()) {
        return std::string(b);
    }
    if (b.empty()) {
        return std::string(a);
    }
    std::string joined(a);
    if (a.back() != separator && b.front() != separator) {
        joined += separator;
    }
    joined += b;
    return joined;
}

} // namespace zob
