#include "download/workerfetch.h"

#include "config/configinfo.h"
#include "download/downloadenv.h"
#include "download/downloadfile.h"
#include "site/fetch.h"
#include "site/fetchsink.h"
#include "site/httpclient.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

namespace zob {

namespace {

bool isImageType(std::string_view contentType) {
    constexpr std::string_view image = "image/";
    return contentType.size() >= image.size() &&
           std::equal(image.begin(), image.end(), contentType.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

FileFetchKind kindOfFailure(fetchResult result, const TransferOutcome& outcome) {
    if (result == fetchNotFound) {
        return FileFetchKind::notFound;
    }
    switch (outcome.failure) {
    case TransferFailure::WriteError:
    case TransferFailure::OutOfMemory:
        return FileFetchKind::localError;
    case TransferFailure::Aborted:
        return FileFetchKind::aborted;
    default:
        return FileFetchKind::siteError;
    }
}

std::string causeOfFailure(fetchResult result, const TransferOutcome& outcome) {
    if (!outcome.detail.empty()) {
        return outcome.detail;
    }
    if (outcome.status != 0) {
        return "the site answered " + std::to_string(outcome.status);
    }
    return fetchResultName(result);
}

} // namespace

FileFetch fetchFile(const FetchEnv& env, const std::string& address, const std::string& localFile,
                    bool quiet, HttpClient* http) {
    DownloadFile temp(localFile, true);
    const FileFetch fetched = fetchIntoTemporary(env, address, temp, quiet, http);
    return fetched.kind == FileFetchKind::stored ? commitFetched(temp) : fetched;
}

FileFetch fetchIntoTemporary(const FetchEnv& env, const std::string& address, DownloadFile& temp,
                             bool quiet, HttpClient* http) {
    TransferOutcome outcome;
    const fetchResult result = getHtml(env, address, temp, quiet, http, &outcome);
    if (result != fetchOk) {
        if (outcome.brokenLink || outcome.failure == TransferFailure::Aborted) {
            temp.keep(); // the next attempt, in this run or a later one, asks for the rest
        }
        return {kindOfFailure(result, outcome), result, causeOfFailure(result, outcome)};
    }
    if (!temp.startsLikeJpeg() && !isImageType(outcome.contentType)) {
        const std::string type =
            outcome.contentType.empty() ? "no content type" : outcome.contentType;
        return {FileFetchKind::siteError, fetchOk,
                outcome.bodyBytes == 0 ? "the site sent an empty answer, not a picture"
                                       : "the site sent " + type + ", not a picture"};
    }
    return {};
}

FileFetch commitFetched(DownloadFile& temp) {
    if (const int error = temp.commit(); error != 0) {
        return {FileFetchKind::localError, fetchOk,
                "cannot store the file: " + std::string(std::strerror(error))};
    }
    return {};
}

std::string fileErrorText(const FileFetch& fetch, const std::string& localFile) {
    std::string text = "Error occured. err #" + std::to_string(static_cast<int>(fetch.result)) +
                       "/Fn=" + localFile;
    if (!fetch.cause.empty()) {
        text += "\r\n" + fetch.cause;
    }
    return text;
}

void pauseAfterFetch(const DownloadEnv& env) {
    if (const std::int32_t wait = env.config.dbgWait; wait != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
}

} // namespace zob
