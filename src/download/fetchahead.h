#pragma once

#include "site/httpclient.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <utility>
#include <vector>

namespace zob {

// Runs the fetches of the next few jobs side by side, each on a client of its
// own, while the caller takes their results strictly in the order it added
// the jobs: the latency of a distant site is paid once per batch rather than
// once per picture, and whoever reads the results sees what a job fetching
// one picture after the other would. Fetches under way when it goes away are
// waited for.
template <typename Result> class FetchAhead {
public:
    using Fetch = std::function<Result(std::int32_t job, HttpClient& http)>;

    // `model` lends its request settings and its abort and stop flags.
    FetchAhead(std::size_t depth, const HttpClient& model, Fetch fetch)
        : depth_(std::max<std::size_t>(depth, 1)), fetch_(std::move(fetch)) {
        for (std::size_t i = 0; i < depth_; ++i) {
            auto client = std::make_unique<HttpClient>();
            client->copyRequestSettingsFrom(model);
            client->setAbortFlag(model.abortFlag());
            client->setStopFlag(model.stopFlag());
            idle_.push_back(client.get());
            clients_.push_back(std::move(client));
        }
    }
    ~FetchAhead() {
        for (auto& pending : pending_) {
            pending.second.wait();
        }
    }
    FetchAhead(const FetchAhead&) = delete;
    FetchAhead& operator=(const FetchAhead&) = delete;

    bool full() const { return pending_.size() >= depth_; }
    bool empty() const { return pending_.empty(); }

    // Starts the fetch of `job`; only when not full.
    void add(std::int32_t job) {
        HttpClient* client = idle_.back();
        idle_.pop_back();
        pending_.emplace_back(job, std::async(std::launch::async, [this, job, client] {
                                  return Worked{fetch_(job, *client), client};
                              }));
    }

    // The oldest job and its result, once its fetch has ended.
    std::pair<std::int32_t, Result> takeFirst() {
        auto [job, future] = std::move(pending_.front());
        pending_.pop_front();
        Worked worked = future.get();
        idle_.push_back(worked.client);
        return {job, std::move(worked.result)};
    }

private:
    struct Worked {
        Result result;
        HttpClient* client;
    };

    const std::size_t depth_;
    const Fetch fetch_;
    std::vector<std::unique_ptr<HttpClient>> clients_;
    std::vector<HttpClient*> idle_;
    std::deque<std::pair<std::int32_t, std::future<Worked>>> pending_;
};

} // namespace zob
