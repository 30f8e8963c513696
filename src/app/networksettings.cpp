#include "app/networksettings.h"

#include "config/configinfo.h"
#include "platform/debuglog.h"
#include "site/retryrules.h"
#include "site/transferpool.h"

#include <algorithm>

namespace zob {

void applyNetworkSettings(const configInfoClass& config, DebugLog& log) {
    RetryRules rules = retryRules();
    rules.retries = std::clamp(config.retries, 0, 100);
    rules.firstDelay = std::chrono::milliseconds(std::clamp(config.retryDelayMs, 0, 600'000));
    rules.log = [&log](const std::string& line) { log.dbgLog(line, false); };
    setRetryRules(std::move(rules));
    TransferPool& pool = TransferPool::process();
    pool.setConnectionLimit(std::clamp(config.connectionsPerHost, 1, 64));
    pool.setRequestInterval(std::chrono::milliseconds(std::max(0, config.requestIntervalMs)));
    pool.setBandwidthLimit(static_cast<std::uint64_t>(std::max(0, config.bandwidthLimitKBps)) *
                           1024);
}

void detachNetworkLog() {
    RetryRules rules = retryRules();
    rules.log = nullptr;
    setRetryRules(std::move(rules));
}

} // namespace zob
