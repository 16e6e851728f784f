#pragma once

#include <functional>
#include <string>

// The steps of a save, in order. A test fails one to see what the player
// would be left with; the game never does.
enum class SaveStep { Create, Write, Flush, Rename };
// Returns an errno value to fail the step with as if the system had, or 0.
using SaveFault = std::function<int(SaveStep)>;

struct SaveResult {
  bool saved = false;
  std::string problem;  // why not, when not saved
};

// Replaces the file at path with bytes: they go to a new file beside it,
// which is flushed to the disk and then renamed over path. Whenever the save
// stops, crash included, path holds either its old bytes or all the new
// ones. A symbolic link at path is replaced, not followed. A failure leaves
// path as it was, prints one line on standard error naming the file and the
// reason, and is returned.
SaveResult saveFileAtomically(const std::string& path, const std::string& bytes, const SaveFault& fault = {});
