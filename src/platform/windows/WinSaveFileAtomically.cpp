// Windows' atomic save (see files/SaveFileAtomically.h): a new file beside
// the old one, written, flushed to the disk, then moved over it with
// MoveFileExW, which replaces the old file in one step and returns only once
// the move is on the disk.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "files/SaveFileAtomically.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WinError.h"

namespace {

std::size_t nameStart(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\:");
  return separator == std::string::npos ? 0 : separator + 1;
}

// ".NAME.PID.ATTEMPT.tmp" beside path, as on the other platforms.
std::string temporaryName(const std::string& path, int attempt) {
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%lu.%d.tmp", GetCurrentProcessId(), attempt);
  const std::size_t start = nameStart(path);
  return path.substr(0, start) + "." + path.substr(start) + suffix;
}

bool processRuns(DWORD pid) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;  // denied: someone's, running
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

// Removes the temporary files that killed saves of path left behind, when
// the process that made them no longer runs.
void clearLeftovers(const std::string& path) {
  const std::string prefix = "." + path.substr(nameStart(path)) + ".";
  const std::string directory = path.substr(0, nameStart(path));
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(toUtf16(directory + prefix + "*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string entry = toUtf8(found.cFileName);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    unsigned long pid = 0;
    int attempt = 0;
    char tail[8] = {};
    if (std::sscanf(entry.c_str() + prefix.size(), "%lu.%d.%4s", &pid, &attempt, tail) != 3 ||
        std::strcmp(tail, "tmp") != 0)
      continue;
    if (pid == 0 || pid == GetCurrentProcessId() || processRuns(pid)) continue;
    DeleteFileW(toUtf16(directory + entry).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

class Save {
 public:
  Save(const std::string& path, const SaveFault& fault) : path_(path), fault_(fault) {}
  ~Save() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!temporary_.empty()) DeleteFileW(toUtf16(temporary_).c_str());
  }
  Save(const Save&) = delete;
  Save& operator=(const Save&) = delete;

  // Each step returns what stopped it, or nothing.
  std::string create() {
    if (const int e = injected(SaveStep::Create)) return std::strerror(e);
    clearLeftovers(path_);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string name = temporaryName(path_, attempt);
      file_ = CreateFileW(toUtf16(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
      if (file_ != INVALID_HANDLE_VALUE) {
        temporary_ = name;
        return {};
      }
      if (GetLastError() != ERROR_FILE_EXISTS) return winErrorText(GetLastError());
    }
    return winErrorText(ERROR_FILE_EXISTS);
  }

  std::string write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      if (const int e = injected(SaveStep::Write)) return std::strerror(e);
      DWORD n = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      if (!WriteFile(file_, bytes.data() + done, chunk, &n, nullptr)) return winErrorText(GetLastError());
      done += n;
    }
    return {};
  }

  std::string flush() {
    if (const int e = injected(SaveStep::Flush)) return std::strerror(e);
    if (!FlushFileBuffers(file_)) return winErrorText(GetLastError());
    const HANDLE file = file_;
    file_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(file)) return winErrorText(GetLastError());
    return {};
  }

  std::string rename() {
    if (const int e = injected(SaveStep::Rename)) return std::strerror(e);
    if (!MoveFileExW(toUtf16(temporary_).c_str(), toUtf16(path_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return winErrorText(GetLastError());
    temporary_.clear();
    return {};
  }

 private:
  int injected(SaveStep step) const { return fault_ ? fault_(step) : 0; }

  const std::string& path_;
  const SaveFault& fault_;
  std::string temporary_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace

SaveResult saveFileAtomically(const std::string& path, const std::string& bytes, const SaveFault& fault) {
  Save save(path, fault);
  std::string problem = save.create();
  if (problem.empty()) problem = save.write(bytes);
  if (problem.empty()) problem = save.flush();
  if (problem.empty()) problem = save.rename();

  SaveResult result;
  result.saved = problem.empty();
  if (!result.saved) {
    result.problem = problem;
    std::fprintf(stderr, "verlomba: could not save %s: %s\n", path.c_str(), problem.c_str());
  }
  return result;
}
