#include "PortalSupport.h"

#include <wininet.h>

#include <cstdlib>
#include <sstream>

#include "TestSupport.h"
#include "WindowTestSupport.h"

namespace qm::test {

namespace {

std::wstring WinePath(const char* linuxPath) {
    std::wstring path = L"Z:";
    for (const char* p = linuxPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring PortalFile(const wchar_t* name) {
    const char* folder = std::getenv("QM_PORTAL_DIR");
    return folder ? WinePath(folder) + L"\\" + name : std::wstring();
}

std::vector<std::string> Lines(const std::vector<unsigned char>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (unsigned char c : bytes) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    return lines;  // a last line without its newline is still being written
}

// The value of "name" in one JSON line the portal wrote: a string (escapes
// undone, \u only for ASCII, which is all these tests compare), a number,
// or "" for null.
std::string JsonField(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\": ";
    const size_t at = line.find(key);
    if (at == std::string::npos) return {};
    size_t p = at + key.size();
    if (p >= line.size() || line[p] != '"') {
        const size_t end = line.find_first_of(",}", p);
        const std::string raw = line.substr(p, end - p);
        return raw == "null" ? std::string() : raw;
    }
    std::string out;
    for (++p; p < line.size() && line[p] != '"'; ++p) {
        if (line[p] != '\\' || p + 1 >= line.size()) {
            out += line[p];
            continue;
        }
        const char e = line[++p];
        if (e == 'n') out += '\n';
        else if (e == 't') out += '\t';
        else if (e == 'u' && p + 4 < line.size()) {
            out += static_cast<char>(std::strtol(line.substr(p + 1, 4).c_str(), nullptr, 16));
            p += 4;
        } else out += e;
    }
    return out;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

}  // namespace

std::wstring PortalBase() {
    const std::wstring file = PortalFile(L"portal.port");
    if (file.empty()) return {};
    std::string text;
    for (unsigned char c : ReadAllBytes(file))
        if (c >= '0' && c <= '9') text += static_cast<char>(c);
    return text.empty() ? std::wstring() : L"http://127.0.0.1:" + Wide(text);
}

std::vector<PortalRequest> PortalRequests() {
    std::vector<PortalRequest> requests;
    const std::wstring file = PortalFile(L"requests.log");
    if (file.empty()) return requests;
    for (const std::string& line : Lines(ReadAllBytes(file))) {
        PortalRequest r;
        r.method = JsonField(line, "method");
        r.path = JsonField(line, "path");
        r.query = JsonField(line, "query");
        r.cookie = JsonField(line, "cookie");
        r.status = std::atoi(JsonField(line, "status").c_str());
        requests.push_back(r);
    }
    return requests;
}

std::vector<PortalRequest> WaitForRequests(size_t from, size_t count,
                                           const std::function<bool(const PortalRequest&)>& match,
                                           DWORD milliseconds) {
    std::vector<PortalRequest> found;
    const DWORD start = ::GetTickCount();
    for (;;) {
        found.clear();
        const std::vector<PortalRequest> all = PortalRequests();
        for (size_t i = from; i < all.size(); ++i)
            if (match(all[i])) found.push_back(all[i]);
        if (found.size() >= count || ::GetTickCount() - start > milliseconds) return found;
        Pump();
    }
}

std::vector<std::vector<std::wstring>> StandInLog() {
    std::vector<std::vector<std::wstring>> entries;
    wchar_t path[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"QM_STANDIN_LOG", path, MAX_PATH)) return entries;
    for (const std::string& line : Lines(ReadAllBytes(path))) {
        std::vector<std::wstring> fields;
        std::wstringstream in(Wide(line));
        for (std::wstring field; std::getline(in, field, L'\t');) fields.push_back(field);
        entries.push_back(fields);
    }
    return entries;
}

std::wstring SignInAtPortal(const std::wstring& account) {
    const std::wstring base = PortalBase();
    if (base.empty()) return {};
    const std::wstring url = base + L"/games/qlmr/dlq/login?account=" + account + L"&password=pw";
    HINTERNET session = ::InternetOpenW(L"qm-tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!session) return {};
    std::wstring cookie;
    HINTERNET request = ::InternetOpenUrlW(
        session, url.c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES, 0);
    if (request) {
        wchar_t header[1024] = {};
        DWORD size = sizeof(header);
        if (::HttpQueryInfoW(request, HTTP_QUERY_SET_COOKIE, header, &size, nullptr)) {
            cookie = header;
            cookie = cookie.substr(0, cookie.find(L';'));
        }
        ::InternetCloseHandle(request);
    }
    ::InternetCloseHandle(session);
    return cookie;
}

}  // namespace qm::test
