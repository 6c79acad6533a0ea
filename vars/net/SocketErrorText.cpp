#include "vars/net/SocketErrorText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace dotvane {
namespace {

using Entry = std::pair<int, const char*>;

// Sorted by code.
constexpr std::array kDescriptions = {
    Entry{10004, "Interrupted system call"},
    Entry{10009, "Bad file number"},
    Entry{10013, "Permission denied"},
    Entry{10014, "Bad address"},
    Entry{10022, "Invalid argument"},
    Entry{10024, "Too many open files"},
    Entry{10035, "Operation would block"},
    Entry{10036, "Operation now in progress"},
    Entry{10037, "Operation already in progress"},
    Entry{10038, "Socket operation on non-socket"},
    Entry{10039, "Destination address required"},
    Entry{10040, "Message too long"},
    Entry{10041, "Wrong protocol type for socket"},
    Entry{10042, "Bad protocol option"},
    Entry{10043, "Protocol not supported"},
    Entry{10044, "Socket type not supported"},
    Entry{10045, "Operation not supported on socket"},
    Entry{10046, "Protocol family not supported"},
    Entry{10047, "Address family not supported by protocol family"},
    Entry{10048, "Address already in use"},
    Entry{10049, "Can't assign requested address"},
    Entry{10050, "Network is down"},
    Entry{10051, "Network is unreachable"},
    Entry{10052, "Network dropped connection or reset"},
    Entry{10053, "Software caused connection abort"},
    Entry{10054, "Connection reset by peer"},
    Entry{10055, "No buffer space available"},
    Entry{10056, "Socket is already connected"},
    Entry{10057, "Socket is not connected"},
    Entry{10058, "Can't send after socket shutdown"},
    Entry{10059, "Too many references, can't splice"},
    Entry{10060, "Connection timed out"},
    Entry{10061, "Connection refused"},
    Entry{10062, "Too many levels of symbolic links"},
    Entry{10063, "File name too long"},
    Entry{10064, "Host is down"},
    Entry{10065, "No route to Host"},
    Entry{10066, "Directory not empty"},
    Entry{10067, "Too many processes"},
    Entry{10068, "Too many users"},
    Entry{10069, "Disc quota exceeded"},
    Entry{10070, "Stale NFS file handle"},
    Entry{10071, "Too many levels of remote in path"},
    Entry{10091, "Network subsystem is unavailable"},
    Entry{10092, "Incompatible version of WINSOCK.DLL"},
    Entry{10093, "Successful WSAStartup not yet performed"},
    Entry{11001, "Host not found"},
    Entry{11002, "Non-Authoritative Host not found"},
    Entry{11003, "Non-Recoverable error: FORMERR, REFUSED, NOTIMP"},
    Entry{11004, "Valid name, no data record of requested type"},
};

}  // namespace

std::string SocketErrorText(int code)
{
    if (code == 0) return {};
    const auto found = std::lower_bound(kDescriptions.begin(), kDescriptions.end(), code,
                                        [](const Entry& entry, int wanted) { return entry.first < wanted; });
    if (found == kDescriptions.end() || found->first != code) return "Unknown Error No. " + std::to_string(code);
    return std::to_string(code) + ":" + found->second;
}

}  // namespace dotvane
