// The script runner; see ScriptRunner.h.
#include "ScriptRunner.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void RaiseFileError(const char* what, const std::string& fileName, int error) {
  throw EInOutError(std::string(what) + " script \"" + fileName + "\": " + std::strerror(error),
                    error);
}

// Reads one line without its line end; false at the end of the file when
// nothing was read.
bool ReadLine(std::FILE* file, std::string& line, const std::string& fileName) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::getc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (c == '\r') {
      const int next = std::getc(file);
      if (next != '\n' && next != EOF) std::ungetc(next, file);
      break;
    }
    line += static_cast<char>(c);
  }
  if (std::ferror(file)) RaiseFileError("Cannot read", fileName, errno != 0 ? errno : EIO);
  return any;
}

}  // namespace

void ScriptRunner::RunScript(const std::string& fileName) {
  errno = 0;
  File file(std::fopen(fileName.c_str(), "rb"));
  if (!file) RaiseFileError("Cannot open", fileName, errno != 0 ? errno : ENOENT);
  std::string line;
  while (ReadLine(file.get(), line, fileName)) {
    if (beforeLine_) beforeLine_(line);
    const StatementOutcome outcome = processor_.ProcessStatement(line);
    if (afterLine_) afterLine_(line, outcome);
  }
}

}  // namespace vorn
