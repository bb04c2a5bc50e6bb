#pragma once
// Writers of "update.log": UTF-16LE lines without a byte-order mark, each with
// a local timestamp, the tag "UpdateModule" and the message.
#include <string>

namespace qm {

// Appends one line to the data folder's res\update.log; 0 when written, -1
// otherwise. Never throws; a failed line is lost silently.
int WriteUpdateLog(const std::wstring& message);

// Appends one line to the log file at path; the same contract.
int AppendUpdateLogLine(const std::wstring& path, const std::wstring& message);

// Deletes the log at path when it is larger than 10 MiB; true when deleted.
bool DeleteUpdateLogOverLimit(const std::wstring& path);

// The check the update driver runs before anything else: the data folder's log.
void TrimUpdateLog();

}  // namespace qm
