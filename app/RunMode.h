#pragma once
// Which of its roles a start of the executable plays, from the raw command line.
#include <string_view>

namespace qm {

enum class RunMode {
    Replace,                // begins with "-d": copy this executable over the path that follows
    UninstallConfirmation,  // ends with "-u": ask, then hand over to a temporary copy
    UninstallCleanup,       // begins with "-u": remove shortcuts, executable and data
    ChildHost,              // "-frameWnd=" with a non-zero handle: the game page inside a frame
    Normal,                 // everything else: the frame window
};

// The first decision of start-up, on the first and last two characters only,
// case-sensitively and in this order: "-d" prefix, "-u" suffix, "-u" prefix.
// Anything else is Normal here; the game-host switches decide the rest.
RunMode SelectRunModeByAffixes(std::wstring_view commandLine);

// The whole selection, as start-up makes it. Replace mode that cannot do its
// work goes on as the Normal or ChildHost start this would give without "-d".
RunMode ClassifyCommandLine(std::wstring_view commandLine);

}  // namespace qm
