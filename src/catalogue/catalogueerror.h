#pragma once

#include <stdexcept>
#include <string>

namespace zob {

// A conversion error: a series name, a number or a catalogue line that is not
// what it must be. It reaches whoever asked for the record or the load.
class CatalogueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zob
