#pragma once
#include <string>

namespace qm {

// The downloaded launcher, started as "-d <installed path>": copies itself
// over that path and starts it. True when the process is to end (the target
// runs); false when it goes on as an ordinary start.
bool RunReplaceMode(const std::wstring& commandLine);

}  // namespace qm
