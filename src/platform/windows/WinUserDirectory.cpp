// Windows' per-user directory (see files/UserDirectory.h):
// %APPDATA%\Verlomba, where a roaming profile keeps it.
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Release.h"
#include "files/UserDirectory.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WinError.h"
#include "tuning/TuningFile.h"
#include "tuning/TuningTemplate.h"

namespace {

bool isAbsolute(const char* path) {
  if (!path) return false;
  const bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                     path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool share = (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
  return drive || share;
}

// Makes dir and its missing parents; the error code when that fails.
DWORD makeDirectories(const std::string& dir) {
  for (std::size_t end = 3; end <= dir.size(); ++end) {
    if (end < dir.size() && dir[end] != '\\' && dir[end] != '/') continue;
    if (!CreateDirectoryW(toUtf16(dir.substr(0, end)).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_ACCESS_DENIED)
      return GetLastError();
  }
  const DWORD attributes = GetFileAttributesW(toUtf16(dir).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError();
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_DIRECTORY;
}

// Writes the template only where there is no tuning file yet; a
// half-written one is removed, so the next start tries again.
DWORD giveTuningTemplate(const char* path) {
  const std::wstring name = toUtf16(path);
  const HANDLE file =
      CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS ? 0 : GetLastError();
  const char* text = tuningTemplate();
  const DWORD size = static_cast<DWORD>(std::strlen(text));
  DWORD written = 0;
  DWORD failure = 0;
  if (!WriteFile(file, text, size, &written, nullptr) || written != size) {
    failure = GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT;
  }
  if (!CloseHandle(file) && failure == 0) failure = GetLastError();
  if (failure != 0) DeleteFileW(name.c_str());
  return failure;
}

std::string appDataDirectory() {
  if (const wchar_t* fromEnvironment = _wgetenv(L"APPDATA")) {
    const std::string path = toUtf8(fromEnvironment);
    if (isAbsolute(path.c_str())) return path;
  }
  wchar_t* known = nullptr;
  std::string path;
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known) == S_OK) path = toUtf8(known);
  CoTaskMemFree(known);
  return path;
}

}  // namespace

// On Windows the first argument is the application data directory; the
// second is not used.
std::string userDirectoryPath(const char* appData, const char*) {
  if (!isAbsolute(appData)) return {};
  std::string base = appData;
  while (base.size() > 3 && (base.back() == '\\' || base.back() == '/')) base.pop_back();
  return base + "\\Verlomba";
}

bool enterUserDirectory(const std::string& dir, std::string& error) {
  if (dir.empty()) {
    error = "no per-user directory: APPDATA is not set; playing in the working directory";
    return false;
  }
  DWORD failure = makeDirectories(dir);
  if (failure == 0 && !SetCurrentDirectoryW(toUtf16(dir).c_str())) failure = GetLastError();
  if (failure != 0) {
    error = "cannot use " + dir + ": " + winErrorText(failure) + "; playing in the working directory";
    return false;
  }
  if (const DWORD problem = giveTuningTemplate(kTuningFileName)) {
    error = "cannot write " + dir + "\\" + kTuningFileName + ": " + winErrorText(problem) +
            "; playing with the built-in tuning";
    return false;
  }
  return true;
}

void enterUserDirectoryOrWarn() {
  std::string error;
  if (!enterUserDirectory(userDirectoryPath(appDataDirectory().c_str(), nullptr), error)) {
    std::fprintf(stderr, "%s: %s\n", release::kProgramName, error.c_str());
  }
}
