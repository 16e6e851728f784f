#pragma once

#include <string>

// A fresh directory that is the working directory for the life of the
// object; the previous one comes back and the directory is removed after.
class ScopedWorkingDirectory {
 public:
  ScopedWorkingDirectory();
  ~ScopedWorkingDirectory();
  ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
  ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

  const std::string& path() const { return path_; }
  void write(const std::string& name, const std::string& contents) const;
  std::string read(const std::string& name) const;

 private:
  std::string previous_;
  std::string path_;
};
