#pragma once
// Rules for reading numbers out of texts, shared by the settings, the version
// comparison and the command line. No Windows types: built and tested natively.
#include <string>
#include <string_view>

namespace qm {

// Reads a decimal integer the way the C runtime's wide-text conversion does:
// leading white space skipped, an optional sign, digits up to the first other
// character; no digits give 0. Values beyond 32 bits saturate, as wcstol does.
long ParseLeadingInteger(std::wstring_view text);

// A version text as one number: the dots removed, then read as above, so
// "1.0.1.0" is 1010 and "1.0.10.0" (10100) counts as newer than "1.1.0.0" (1100).
long VersionToNumber(std::wstring_view versionText);

}  // namespace qm
