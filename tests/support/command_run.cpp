#include "tests/support/command_run.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace test_support {

CommandResult RunCommand(const std::string& commandLine)
{
    const std::string command = commandLine + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) throw std::runtime_error("cannot run " + commandLine);
    CommandResult result{-1, {}};
    std::array<char, 4096> buffer{};
    while (const auto read = fread(buffer.data(), 1, buffer.size(), pipe.get()))
        result.output.append(buffer.data(), read);
    const int status = pclose(pipe.release());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ShellQuoted(const std::string& path)
{
    return "'" + path + "'";
}

}  // namespace test_support
