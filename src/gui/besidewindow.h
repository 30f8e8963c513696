#pragma once

#include <functional>

namespace zob {

// Runs `work` on a thread of its own and returns when it has ended. Meanwhile
// the calling (window's) thread keeps handling its events: it paints, takes
// input and answers the questions and messages other threads send it. What
// `work` throws is thrown again here.
void runBesideTheWindow(const std::function<void()>& work);

} // namespace zob
