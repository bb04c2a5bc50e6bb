#pragma once
// Helpers of the Windows tests: scratch folders and whole-file reads.
#include <windows.h>

#include <string>
#include <vector>

namespace qm::test {

// A new empty folder under the temporary folder, removed with its content
// when the object goes. Path() ends without a backslash.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

void RemoveTree(const std::wstring& path);
bool FileExists(const std::wstring& path);
std::vector<unsigned char> ReadAllBytes(const std::wstring& path);
void WriteAllBytes(const std::wstring& path, const std::string& bytes);
// A file of the given size whose content does not matter (zeros).
void MakeFileOfSize(const std::wstring& path, long long size);
// The built launcher, named by CTest as a Linux path, as Wine sees it under
// Z:; empty when QM_LAUNCHER_EXE is not set.
std::wstring LauncherPath();
// UTF-8 for test messages: the Wine console does not print UTF-16.
std::string Utf8(const std::wstring& text);

}  // namespace qm::test
