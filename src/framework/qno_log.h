#pragma once
// The diagnostic log "errors.log": one formatter with single-letter
// conversions behind every entry point; each message ends in a line feed
// and a flush so the file is complete up to the last message.
#include <cstdarg>
#include <cstdio>
#include <string>

enum enumQnoSeverity { QNO_SEV_INFO = 0, QNO_SEV_1 = 1, QNO_SEV_WARNING = 2, QNO_SEV_ERROR = 3, QNO_SEV_FATAL = 4 };
enum enumQnoErrorSource { QNO_SRC_NONE = 0, QNO_SRC_FRAMEWORK = 1, QNO_SRC_GAME = 2 };

extern FILE* m_pErrorFile;

// Opens the log for writing (truncating). Does nothing when already open.
// A log that cannot be created ends the program with exit code 1.
void OpenErrorLog(const char* path);
void CloseErrorLog();

// Formats one message the way the log writes it, without writing. Returns
// true when the message is complete and gets its line feed; false when it
// ended early (a null string value or a trailing '%').
bool QnoFormatMessage(std::string& out, const char* format, va_list args);

void QNO_LOG(const char* format, ...);
void QNO_LOG1(const char* format, ...);
void QNO_ERROR(enumQnoSeverity severity, const char* format, ...);
void QNO_ERROR0(enumQnoSeverity severity, const char* format, ...);
void QNO_ERROR1(enumQnoSeverity severity, const char* format, ...);
void QNO_ERROR2(enumQnoSeverity severity, const char* format, ...);
void QNO_ERROR3(enumQnoSeverity severity, const char* format, ...);
void QNO_ERROR4(enumQnoSeverity severity, const char* format, ...);
void QNO_ERRORX2(enumQnoErrorSource source, enumQnoSeverity severity, const char* format, ...);

// The convention for failed parameter checks.
#define QNO_PARAM_CHECK(cond)                                                    \
  ((cond) ? true : (QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", #cond), false))
