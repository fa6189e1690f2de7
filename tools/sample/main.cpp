// vidarkon-sample: makes sample catalogue files; see --help.

#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/sample/command_line.h"

namespace {

void report(const std::filesystem::path& file, sample::Level level, const sample::SampleSummary& summary)
{
    std::cout << file.string() << ": " << sample::LevelName(level);
    if (summary.albums)
        std::cout << ", " << summary.albums << " albums";
    else
        std::cout << ", " << summary.films << " films, " << summary.loans << " loans";
    std::cout << ", " << summary.people << " people\n";
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    sample::CommandLine command;
    try {
        command = sample::ParseCommandLine(arguments);
    } catch (const sample::UsageError& error) {
        std::cerr << "vidarkon-sample: " << error.what() << "\nTry 'vidarkon-sample --help'.\n";
        return 2;
    }
    try {
        switch (command.action) {
        case sample::CommandLine::Action::Help: std::cout << sample::HelpText(); break;
        case sample::CommandLine::Action::ListLevels: std::cout << sample::LevelList(); break;
        case sample::CommandLine::Action::WriteFile:
            report(command.target, command.options.level,
                   sample::WriteSampleCatalogue(command.target, command.options));
            break;
        case sample::CommandLine::Action::WriteEveryLevel:
            for (const auto& file : sample::WriteEveryLevel(command.target, command.options))
                std::cout << file.string() << "\n";
            break;
        }
    } catch (const std::exception& error) {
        std::cerr << "vidarkon-sample: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
