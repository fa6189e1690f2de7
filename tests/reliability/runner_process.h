#pragma once
// Starting the command-line runner on a folder as a separate process, its
// output going to a file, as the crash tests need it.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace reliability {

// The runner on folder (given with a trailing '/'), its output and errors going
// to outputFile; environment holds "NAME=value" texts added to this process's
// own. Returns the process id.
pid_t StartRunner(const std::string& runner, const std::filesystem::path& folder,
                  const std::filesystem::path& outputFile, const std::vector<std::string>& environment = {});

// Waits for the process to end; returns its wait status.
int WaitFor(pid_t pid);

std::string ReadText(const std::filesystem::path& path);

}  // namespace reliability
