#pragma once

#include <stdexcept>

namespace dotvane {

// A failure of the socket layer or of a network client; what() is the text
// shown to the user ("Host Lookup Failed", "10061:Connection refused", ...).
class NetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace dotvane
