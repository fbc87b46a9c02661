#include "journal.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace quarnel {

namespace {

std::FILE* journalFile() {
  static std::FILE* file = []() -> std::FILE* {
    const char* path = std::getenv("QUARNEL_JOURNAL");
    if (path == nullptr || *path == '\0') return nullptr;
    return std::fopen(path, "ab");
  }();
  return file;
}

void appendText(std::string& line, const char* bytes, std::size_t n) {
  line += '"';
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      line += '\\';
      line += static_cast<char>(c);
    } else if (c >= 0x20 && c <= 0x7e) {
      line += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      line += hex;
    }
  }
  line += '"';
}

void appendDouble(std::string& line, double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  line += buf;
}

}  // namespace

bool journalEnabled() { return journalFile() != nullptr; }

void Journal::write() {
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  line_ += '\n';
  std::fwrite(line_.data(), 1, line_.size(), journalFile());
  std::fflush(journalFile());
}

void Journal::addText(const char* name, const char* bytes, std::size_t n) {
  line_ += ' ';
  line_ += name;
  line_ += '=';
  appendText(line_, bytes, n);
}

void Journal::addTexts(const char* name, const char* bytes, long count,
                       std::size_t n) {
  line_ += ' ';
  line_ += name;
  line_ += "=[";
  for (long i = 0; i < count; ++i) {
    if (i) line_ += ',';
    appendText(line_, bytes + static_cast<std::size_t>(i) * n, n);
  }
  line_ += ']';
}

void Journal::addI32(const char* name, int value) {
  line_ += ' ';
  line_ += name;
  line_ += '=';
  line_ += std::to_string(value);
}

void Journal::addF64(const char* name, double value) {
  line_ += ' ';
  line_ += name;
  line_ += '=';
  appendDouble(line_, value);
}

namespace {
void appendValue(std::string& line, int v) { line += std::to_string(v); }
void appendValue(std::string& line, double v) { appendDouble(line, v); }

template <typename T>
void appendList(std::string& line, const char* name, const T* values, long n) {
  line += ' ';
  line += name;
  line += "=[";
  for (long i = 0; i < n; ++i) {
    if (i) line += ',';
    appendValue(line, values[i]);
  }
  line += ']';
}
}  // namespace

void Journal::addInts(const char* name, const int* values, long n) {
  appendList(line_, name, values, n);
}

void Journal::addDoubles(const char* name, const double* values, long n) {
  appendList(line_, name, values, n);
}

void Journal::addLength(const char* name, FLen value, const char* suffix) {
  line_ += ' ';
  line_ += name;
  line_ += suffix;
  line_ += '=';
  line_ += std::to_string(static_cast<unsigned long long>(value));
}

void failLength(const char* routine, const char* name, FLen got,
                FLen expected) {
  std::fprintf(stderr,
               "Quarnel stand-in: %s received hidden length %s=%llu "
               "(0x%016llx), expected %llu\n",
               routine, name, static_cast<unsigned long long>(got),
               static_cast<unsigned long long>(got),
               static_cast<unsigned long long>(expected));
  std::fflush(stderr);
  std::abort();
}

NamedCall::NamedCall(const char* routine, const char* subbasin,
                     FLen subbasinLen, const char* secondName,
                     const char* second, FLen secondLen, FLen secondWidth)
    : NamedCall(routine, subbasin, subbasinLen) {
  secondName_ = secondName;
  secondLen_ = secondLen;
  if (secondLen != secondWidth) {
    failLength(routine, (std::string(secondName) + "Len").c_str(), secondLen,
               secondWidth);
  }
  journal_.text(secondName, second, secondLen);
}

NamedCall::~NamedCall() {
  journal_.length("subbasinLen", subbasinLen_);
  if (secondName_ != nullptr) {
    journal_.lengthOf(secondName_, secondLen_);
  }
}

std::string_view nameView(const char* bytes, std::size_t n) {
  // Names are mostly blanks: skip them eight at a time first.
  constexpr std::uint64_t kBlanks = 0x2020202020202020ull;
  while (n >= 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + n - 8, 8);
    if (word != kBlanks) break;
    n -= 8;
  }
  while (n > 0 && bytes[n - 1] == ' ') --n;
  return std::string_view(bytes, n);
}

std::string nameKey(const char* bytes, std::size_t n) {
  return std::string(nameView(bytes, n));
}

}  // namespace quarnel
