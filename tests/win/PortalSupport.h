#pragma once
// The development portal and the stand-in browser control as the Windows
// tests see them: the portal's address, what it was asked, and what the
// stand-in control loaded.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qm::test {

// "http://127.0.0.1:<port>" of the portal that CTest started; empty when
// QM_PORTAL_DIR is not set or the portal is not listening.
std::wstring PortalBase();

// One request as the portal logged it.
struct PortalRequest {
    std::string method, path, query, cookie;  // cookie: the Cookie header, "" when none
    int status = 0;
};
std::vector<PortalRequest> PortalRequests();

// Waits, pumping this thread's messages, until `count` requests logged after
// the first `from` ones satisfy `match`; returns those found by then.
std::vector<PortalRequest> WaitForRequests(size_t from, size_t count,
                                           const std::function<bool(const PortalRequest&)>& match,
                                           DWORD milliseconds = 10000);

// The stand-in control's log ($QM_STANDIN_LOG), one entry per line, its
// tab-separated fields split; empty when there is none.
std::vector<std::vector<std::wstring>> StandInLog();

// Signs in at the portal without touching this machine's cookie store and
// returns the session cookie "name=value", or "" when that failed.
std::wstring SignInAtPortal(const std::wstring& account);

}  // namespace qm::test
