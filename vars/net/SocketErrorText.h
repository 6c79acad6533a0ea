#pragma once

#include <string>

namespace dotvane {

// The text of a Winsock error code: the code, ":" and its description, or
// "Unknown Error No. " and the code for one the table lacks; 0 gives "".
std::string SocketErrorText(int code);

}  // namespace dotvane
