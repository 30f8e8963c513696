#pragma once

#include "download/downloadfile.h"
#include "site/fetchresult.h"

#include <cstdint>
#include <string>

namespace zob {

class HttpClient;
class SeriesRec;
struct DownloadEnv;

// The temporary file of a worker: in the series' current year folder, so the
// final rename never crosses file systems, named by the worker's handle, so
// two workers never share one.
std::string workerTemporaryPath(const SeriesRec& record, std::uint32_t workerHandle);

// One fetch of a worker: quiet, with the worker's own client, into `temp`.
// A temporary file that could not be created is a failed fetch.
fetchResult fetchIntoWorkerFile(DownloadFile& temp, const std::string& address,
                                const DownloadEnv& env, HttpClient& http);

// The pause after each fetch that the debugging setting asks for, if any.
void pauseAfterFetch(const DownloadEnv& env);

} // namespace zob
