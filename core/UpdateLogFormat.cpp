#include "core/UpdateLogFormat.h"

namespace qm {

namespace {
// "%2d": right-aligned in two characters; wider numbers take what they need.
void AppendPadded(std::wstring& out, int value) {
    std::wstring digits = std::to_wstring(value);
    if (digits.size() < 2) out.append(2 - digits.size(), L' ');
    out += digits;
}
}  // namespace

std::wstring FormatUpdateLogLine(const LogTime& t, std::wstring_view tag,
                                 std::wstring_view message) {
    std::wstring line;
    line.reserve(32 + tag.size() + message.size());
    AppendPadded(line, t.year);
    line += L'-';
    AppendPadded(line, t.month);
    line += L'-';
    AppendPadded(line, t.day);
    line += L' ';
    AppendPadded(line, t.hour);
    line += L':';
    AppendPadded(line, t.minute);
    line += L':';
    AppendPadded(line, t.second);
    line += L" : \t";
    line += tag;
    line += L'\t';
    line += message;
    return line;
}

}  // namespace qm
