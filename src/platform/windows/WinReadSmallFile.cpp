// Windows' reading of the small files (see files/ReadSmallFile.h).
#include <windows.h>

#include "files/ReadSmallFile.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WinError.h"

namespace {

// Reads the open file into text; the result is the problem, empty on success.
std::string readOpenFile(HANDLE file, std::size_t maxBytes, std::string& text) {
  // A console, pipe or device under the name is no file of the player's.
  if (GetFileType(file) != FILE_TYPE_DISK) return "it is not a plain file";
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) return winErrorText(GetLastError());
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return tooLongReason(maxBytes);
  // One byte more than allowed tells a file that grew since the check.
  text.resize(maxBytes + 1);
  std::size_t got = 0;
  while (got < text.size()) {
    DWORD n = 0;
    if (!ReadFile(file, &text[got], static_cast<DWORD>(text.size() - got), &n, nullptr))
      return winErrorText(GetLastError());
    if (n == 0) break;
    got += n;
  }
  if (got > maxBytes) return tooLongReason(maxBytes);
  text.resize(got);
  return {};
}

}  // namespace

SmallFile readSmallFile(const char* path, std::size_t maxBytes, bool quiet) {
  SmallFile file;
  const std::wstring name = toUtf16(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) file.problem = winErrorText(error);
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    file.problem = "it is a directory, not a regular file";
  } else {
    const HANDLE handle =
        CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) file.problem = winErrorText(error);
    } else {
      file.problem = readOpenFile(handle, maxBytes, file.text);
      CloseHandle(handle);
      file.read = file.problem.empty();
    }
  }
  finishSmallFile(file, path, quiet);
  return file;
}
