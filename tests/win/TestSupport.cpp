#include "TestSupport.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include "win/Handles.h"

namespace qm::test {

namespace {
// GDI+ for the whole test program, as the application object starts it.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};
const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);
}  // namespace

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        std::wstring candidate = std::wstring(temp) + L"qm-test-" + std::to_wstring(::GetCurrentProcessId()) +
                                 L"-" + std::to_wstring(++counter);
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create a scratch folder";
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    if (!m_path.empty()) RemoveTree(m_path);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<unsigned char> ReadAllBytes(const std::wstring& path) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    std::vector<unsigned char> bytes;
    if (!file) return bytes;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file.Get(), &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

void WriteAllBytes(const std::wstring& path, const std::string& bytes) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << "cannot write " << Utf8(path);
    DWORD written = 0;
    if (!bytes.empty()) ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ASSERT_EQ(written, bytes.size());
}

void MakeFileOfSize(const std::wstring& path, long long size) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER position;
    position.QuadPart = size;
    ASSERT_TRUE(::SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.Get()));
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr,
                          nullptr);
    return out;
}

std::wstring LauncherPath() {
    const char* linuxPath = std::getenv("QM_LAUNCHER_EXE");
    if (!linuxPath) return {};
    std::wstring path = L"Z:";
    for (const char* p = linuxPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

}  // namespace qm::test
