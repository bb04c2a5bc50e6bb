// libFuzzer target for everything that reads the command line: the run-mode
// selection, the game-host switches and the number reading under them.
// Input bytes are taken as UTF-16 code units, as Windows hands the line over.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/RunMode.h"
#include "core/TextRules.h"
#include "game/GameHostSwitches.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring line;
    for (size_t i = 0; i + 1 < size; i += 2) line.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));

    qm::RunMode mode = qm::ClassifyCommandLine(line);
    qm::GameHostSwitches s = qm::ParseGameHostSwitches(line);
    // What the parser hands back is always a piece of the line itself.
    if (!s.gameUrl.empty() && line.find(s.gameUrl) == std::wstring::npos) std::abort();
    if (s.handedCookies) {
        const std::wstring& c = *s.handedCookies;
        if (c.size() > line.size() || line.compare(line.size() - c.size(), c.size(), c) != 0) std::abort();
    }
    if (s.frameWnd != 0 && mode == qm::RunMode::Normal) std::abort();
    if (s.frameWnd == 0 && mode == qm::RunMode::ChildHost) std::abort();
    long n = qm::ParseLeadingInteger(line);
    if (n > 2147483647L || n < -2147483647L - 1) std::abort();
    (void)qm::VersionToNumber(line);
    return 0;
}
