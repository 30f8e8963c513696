#pragma once

#include "site/fetchresult.h"

#include <string>

namespace zob {

class DownloadFile;
class HttpClient;
struct DownloadEnv;
struct FetchEnv;

// How fetching one picture, thumbnail or cover ended. The difference matters:
// only the site saying a file does not exist may shorten a series, a local
// fault (a full disk) stops a download whose next file would fail the same
// way, and a busy or broken site costs only the file in hand.
enum class FileFetchKind {
    stored,     // on disk under its final name
    notFound,   // the site says there is no such file (302, 404, 410)
    siteError,  // the site failed this time: an error status, a timeout, a cut
                // or endless body, something that is not a picture
    localError, // this machine could not store it: disk full, file too large,
                // no permission, no memory
    aborted,    // the program is quitting
};

struct FileFetch {
    FileFetchKind kind = FileFetchKind::stored;
    // The fetch's own result; fetchOk when the answer came but could not be
    // used or stored, which the fetch itself has not told the user about.
    fetchResult result = fetchOk;
    // For the user: "No space left on device", "the site sent text/html, not
    // a picture"; empty when stored.
    std::string cause;
};

// Fetches `address` into a temporary file beside `localFile` and moves it
// there when it arrived whole and is a picture (it starts as a JPEG does, or
// the site calls it image/...). Nothing but a complete picture ever appears
// under `localFile`. A transfer that broke or was stopped keeps its partial
// file, which the next fetch of the same file continues. `http` null means
// the window's client.
FileFetch fetchFile(const FetchEnv& env, const std::string& address, const std::string& localFile,
                    bool quiet, HttpClient* http);

// fetchFile in two steps, for a caller that decides later whether the
// picture is to appear: fetches into `temp` (stored when it holds a whole
// picture), then `commitFetched` moves it under its final name.
FileFetch fetchIntoTemporary(const FetchEnv& env, const std::string& address, DownloadFile& temp,
                             bool quiet, HttpClient* http);
FileFetch commitFetched(DownloadFile& temp);

// The worker's message for a file that failed: the classic
// "Error occured. err #%d/Fn=%s", then the cause on a line of its own.
std::string fileErrorText(const FileFetch& fetch, const std::string& localFile);

// The pause after each fetch that the debugging setting asks for, if any.
void pauseAfterFetch(const DownloadEnv& env);

} // namespace zob
