#pragma once
// The log ("log.txt"), the error log ("ERROR.LOG") and whole-file reads and
// writes of byte lists. Log texts are Windows-1252 bytes; paths are UTF-8.
#include <cstdint>
#include <string>

#include "core/byte_list.h"
#include "core/format_version.h"

namespace kiv {

// Creates or empties the log file. A failure is not reported: later lines are dropped.
void LogOpen(const std::string& path);
// Appends text and CR LF when the log is open. Each line reaches the file at
// once, so a crash leaves every earlier line in it.
void LogWriteLine(const std::string& text);
void LogClose();

// Appends text and CR LF to "ERROR.LOG" in the user's folder of the game and
// shows the text as a merged notice, each CR LF replaced by a blank.
void ErrorLogAppend(const std::string& text);

// The whole file. Raises 53 when it is missing, -1 when it cannot be read.
ByteList ReadFileBytes(const std::string& path);
// Writes the whole file through a temporary file and a rename. With header the
// file is: i32 100790, the 20-byte SHA-1 of bytes, bytes. Raises -1 on failure.
void WriteFileBytes(const std::string& path, const ByteList& bytes, bool header);

}  // namespace kiv
