// The demo site's server library is not built with ThreadSanitizer. When two
// download jobs ask it for pictures at once, its regular expressions compare
// text built under a guard the sanitizer cannot see, and it reports the
// server's threads against each other. Nothing of ours is in those reports.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libcpp-httplib.so\n";
}
