#pragma once

namespace zob {

class configInfoClass;
class DebugLog;

// Puts the [net] settings into force for every request of the process: how
// often and how patiently failures are retried (each retry a line in `log`)
// and how many connections to the site may be open at once, how far apart
// requests start and how fast all transfers together may receive.
void applyNetworkSettings(const configInfoClass& config, DebugLog& log);

// Detaches the rules from `log` before it goes away.
void detachNetworkLog();

} // namespace zob
