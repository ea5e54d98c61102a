// Finding the SAMP hub of the desktop: the lock file that SAMP_HUB names
// ("std-lockurl:file:///path") or, without it, ~/.samp; in it, the hub's
// secret and the address of its XML-RPC server.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace wendrel {

struct HubAddress {
    std::string secret;     // samp.secret
    std::string xmlrpcUrl;  // samp.hub.xmlrpc.url
    std::string error;      // empty when the hub was found
};

// The lock file: from `sampHub` (the SAMP_HUB variable; null or empty when
// unset) or else `home`/.samp. Sets `error` for a SAMP_HUB that names no
// local lock file.
std::filesystem::path HubLockPath(const char* sampHub, const std::filesystem::path& home, std::string& error);

// The lock file's "key=value" lines ("#" starts a comment).
HubAddress ParseHubLock(std::string_view text);

// The hub of this desktop, from the environment; `error` names the lock file
// when there is none or it is incomplete.
HubAddress FindHub();

}  // namespace wendrel
