#pragma once

#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace demosite {

// What happens to the body of a picture answer after its header went out.
enum class BodyFault {
    none,
    cut,   // full Content-Length announced, half the body sent, then the connection closes
    stall, // full Content-Length announced, half the body sent, then silence until the site stops
};

// How month pages and the archive index page are delivered.
enum class PageBody {
    normal,
    trickle, // Content-Length of 2 GB announced, then 4 bytes a second
    endless, // chunked, valid-looking HTML repeated for as long as the client reads
};

// Misbehaviour switched on at run time. Order of checks per request: latency,
// authentication, fixed answers, every-Nth 500, the missing midres/ folders,
// then the normal answer, which the picture and page faults reshape (and
// which is cut in half when its path starts with closeMidBodyPrefix).
//
// "Picture files" are the JPEG files under a series' hires/, midres/ and
// lores/ folders, thumbnails included; covers and logos never are. Picture
// faults only touch pictures the site really has: a missing one stays 404.
struct Faults {
    std::chrono::milliseconds latency{0}; // added before every answer
    // Every Nth request (N > 0) that passed authentication and found no fixed
    // answer is answered 500; counting restarts whenever faults are set.
    int serverErrorEvery = 0;
    std::string closeMidBodyPrefix; // full Content-Length announced, half a body sent, then closed
    std::map<std::string, std::pair<int, std::string>>
        fixedAnswers; // path (no query) -> status, body

    // Picture files answer this status with a small HTML page (0 = normal);
    // a 503 also carries "Retry-After: 1".
    int pictureStatus = 0;
    bool pictureAsHtml = false; // picture files answer 200 text/html with an error page
    BodyFault pictureBody = BodyFault::none;
    int pictureNumber = 0; // the picture faults hit only this number in every series; 0 = all
    bool noMidRes = false; // everything under a series' midres/ answers 404
    PageBody pageBody = PageBody::normal;

    // Busy and broken-link behaviour spread over picture requests: each one
    // draws from (rateSeed, its path, how often that path was asked), so a
    // run is repeatable and a retried picture gets a fresh draw.
    double failRate = 0; // this share of picture requests answers 503 with Retry-After: 1
    double cutRate = 0;  // this share of picture answers closes after half its body
    unsigned rateSeed = 1;
    int bandwidthKBps = 0; // when above 0: each answer's body leaves at most this fast
};

// Switches on one fault given by its command-line name, "NAME" or "NAME=N":
//   picture-503, picture-500   pictureStatus
//   picture-html               pictureAsHtml
//   picture-cut, picture-stall pictureBody
//     =N on any picture fault sets pictureNumber (all picture faults share it)
//   no-midres                  noMidRes
//   page-trickle, page-endless pageBody
// Throws std::invalid_argument, leaving faults as they were, for an unknown
// name, a number where none belongs, a number that is no picture number, or
// picture faults naming different pictures.
void parseFault(std::string_view text, Faults& faults);

} // namespace demosite
