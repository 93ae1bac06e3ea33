#include "framework/qno_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/zor_seams.h"

FILE* m_pErrorFile = nullptr;

void OpenErrorLog(const char* path) {
  if (m_pErrorFile) return;
  m_pErrorFile = path ? std::fopen(path, "wt") : nullptr;
  if (!m_pErrorFile) {
    // Nothing can be logged, so the reason goes where the other fatal
    // start-up failures print theirs.
    std::printf("Could not create the log %s: %s\nProgramm terminates\n", path ? path : "(no name)",
                std::strerror(errno));
    std::fflush(stdout);
    zor_fatal_exit(1);
  }
}

void CloseErrorLog() {
  if (!m_pErrorFile) return;
  std::fclose(m_pErrorFile);
  m_pErrorFile = nullptr;
}

bool QnoFormatMessage(std::string& out, const char* format, va_list args) {
  if (!format) return false;
  const char* p = format;
  char num[64];
  for (;;) {
    const char* pct = std::strchr(p, '%');
    if (!pct) {
      out.append(p);
      return true;
    }
    // Plain text goes out as it stands, whatever its length.
    out.append(p, static_cast<size_t>(pct - p));
    const char c = pct[1];
    if (c == '\0') return false;
    p = pct + 2;
    switch (c) {
      case 's':
      case 'S': {
        const char* s = va_arg(args, const char*);
        if (!s) return false;
        out.append(s);
        break;
      }
      case 'd': case 'i': case 'o': case 'u': case 'x': {
        const int v = va_arg(args, int);
        std::snprintf(num, sizeof num, "%d", v);
        out.append(num);
        break;
      }
      case 'n': case 'p': {
        const void* v = va_arg(args, const void*);
        std::snprintf(num, sizeof num, "%p", v);
        out.append(num);
        break;
      }
      case 'c': {
        const int v = va_arg(args, int);
        out.push_back(static_cast<char>(v & 0xFF));
        break;
      }
      case 'e': case 'f': case 'g': case 'E': case 'G': {
        const double v = va_arg(args, double);
        const char conv[3] = {'%', c, '\0'};
        // %f of a huge value can need over 300 characters.
        int n = std::snprintf(num, sizeof num, conv, v);
        if (n >= 0 && static_cast<size_t>(n) < sizeof num) {
          out.append(num);
        } else if (n > 0) {
          std::string big(static_cast<size_t>(n) + 1, '\0');
          std::snprintf(big.data(), big.size(), conv, v);
          big.resize(static_cast<size_t>(n));
          out.append(big);
        }
        break;
      }
      default:
        // Unknown conversions take no value and write nothing.
        break;
    }
  }
}

static void QnoWriteV(const char* format, va_list args) {
  if (!m_pErrorFile) return;
  std::string text;
  if (QnoFormatMessage(text, format, args)) text.push_back('\n');
  std::fwrite(text.data(), 1, text.size(), m_pErrorFile);
  std::fflush(m_pErrorFile);
}

#define ZOR_LOG_BODY(last)          \
  va_list args;                     \
  va_start(args, last);             \
  QnoWriteV(format, args);          \
  va_end(args)

void QNO_LOG(const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_LOG1(const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_ERROR(enumQnoSeverity, const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_ERROR0(enumQnoSeverity, const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_ERROR1(enumQnoSeverity, const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_ERROR2(enumQnoSeverity, const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_ERROR3(enumQnoSeverity, const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_ERROR4(enumQnoSeverity, const char* format, ...) { ZOR_LOG_BODY(format); }
void QNO_ERRORX2(enumQnoErrorSource, enumQnoSeverity, const char* format, ...) { ZOR_LOG_BODY(format); }
