#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>

namespace demosite {

// Answers that last as long as the client lets them (stalled, trickled or
// endless bodies) watch their connection here. The site must still stop at
// once while one is under way, and a client that gave up must not keep a
// server thread busy until then.
class SlowAnswers {
    struct Shared;

public:
    // One answer's connection, watched while this object lives.
    class Watch {
    public:
        Watch(std::shared_ptr<Shared> shared, int socket);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

        bool ended() const; // the site is stopping or the client hung up
        // Waits in short steps; false as soon as the answer has ended.
        bool waitFor(std::chrono::milliseconds span) const;
        void waitForEnd() const;

    private:
        std::shared_ptr<Shared> shared;
        int socket; // -1 when the connection could not be found
    };

    SlowAnswers();

    // The watch for the connection between the site's port and the client's.
    std::shared_ptr<Watch> watch(int sitePort, int clientPort);
    // Waits in short steps; false when the site started stopping meanwhile.
    bool pause(std::chrono::milliseconds span) const;

    void open(); // serving (again): nothing is stopping
    // Ends every watched answer: they see ended(), and their blocked writes
    // return because their connections are shut down.
    void stopAll();

private:
    std::shared_ptr<Shared> shared;
};

} // namespace demosite
