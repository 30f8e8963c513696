#include "cli/commandrun.h"

#include <iostream>

namespace zob {

int CommandRun::usageError(const std::string& message) const {
    std::cerr << "zob " << line.command << ": " << message << "\n\n" << commandUsage(line.command);
    return usageStatus;
}

} // namespace zob
