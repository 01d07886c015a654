// Whole-file reads and atomic writes. A write goes to a temporary file in the
// target's folder and is renamed over the target, so a crash or a full disk
// leaves the old file whole; failures are reported with the system's text.
#pragma once

#include <string>
#include <vector>

// The file's bytes; false (and nothing reported) when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// The file decoded (UTF-8, UTF-16 with BOM, else GB18030) and split into
// lines; CR LF and LF end lines alike, a last line without an end counts.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Splits decoded text into lines the same way.
std::vector<std::string> SplitLines(const std::string& text);

// Replaces the file with content atomically. On failure shows the system's
// error text through the platform and returns false; the old file is intact.
bool WriteFileAtomically(const std::string& path, const std::string& content);

// Shows "PATH: system error text" as an error message.
void ReportFileError(const std::string& path, int errorCode);
