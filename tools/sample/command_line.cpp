#include "tools/sample/command_line.h"

#include <charconv>
#include <optional>
#include <utility>

namespace sample {

namespace {

template <class Number>
Number parseNumber(std::string_view option, std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw UsageError(std::string(option) + " needs a whole number, not \"" + std::string(text) + "\"");
    return value;
}

int parseCount(std::string_view option, std::string_view text)
{
    const int count = parseNumber<int>(option, text);
    if (count < 0) throw UsageError(std::string(option) + " cannot be negative");
    return count;
}

class Arguments {
public:
    explicit Arguments(std::span<const std::string_view> arguments) : arguments_(arguments) {}

    bool done() const { return next_ == arguments_.size(); }

    // The next argument; an option given as --name=value is split.
    std::string_view take()
    {
        std::string_view argument = arguments_[next_++];
        inlineValue_.reset();
        if (argument.starts_with("--")) {
            const auto equals = argument.find('=');
            if (equals != std::string_view::npos) {
                inlineValue_ = argument.substr(equals + 1);
                argument = argument.substr(0, equals);
            }
        }
        return argument;
    }

    std::string_view value(std::string_view option)
    {
        if (inlineValue_) return *std::exchange(inlineValue_, std::nullopt);
        if (done()) throw UsageError(std::string(option) + " needs a value");
        return arguments_[next_++];
    }

    void noValue(std::string_view option) const
    {
        if (inlineValue_) throw UsageError(std::string(option) + " takes no value");
    }

private:
    std::span<const std::string_view> arguments_;
    std::size_t next_ = 0;
    std::optional<std::string_view> inlineValue_;
};

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> list)
{
    CommandLine command;
    SampleOptions& options = command.options;
    std::optional<std::filesystem::path> file;
    std::optional<std::filesystem::path> folder;
    bool endOfOptions = false;
    Arguments arguments(list);
    while (!arguments.done()) {
        const std::string_view argument = endOfOptions ? arguments.value("") : arguments.take();
        const bool isOption = !endOfOptions && argument.size() > 1 && argument.front() == '-';
        if (!isOption) {
            if (file) throw UsageError("one catalogue file at a time (or --all FOLDER)");
            file = std::filesystem::path(argument);
        } else if (argument == "--") {
            endOfOptions = true;
        } else if (argument == "-h" || argument == "--help") {
            arguments.noValue(argument);
            command.action = CommandLine::Action::Help;
            return command;
        } else if (argument == "--list-levels") {
            arguments.noValue(argument);
            command.action = CommandLine::Action::ListLevels;
            return command;
        } else if (argument == "-l" || argument == "--level") {
            const std::string_view name = arguments.value(argument);
            const auto level = LevelNamed(name);
            if (!level) throw UsageError("unknown level \"" + std::string(name) + "\" (see --list-levels)");
            options.level = *level;
        } else if (argument == "-n" || argument == "--films") {
            options.films = parseCount(argument, arguments.value(argument));
        } else if (argument == "-m" || argument == "--loans") {
            options.loans = parseCount(argument, arguments.value(argument));
        } else if (argument == "--people") {
            options.people = parseCount(argument, arguments.value(argument));
        } else if (argument == "-s" || argument == "--seed") {
            options.seed = parseNumber<std::uint64_t>(argument, arguments.value(argument));
        } else if (argument == "--heavy") {
            arguments.noValue(argument);
            options.shape = FilmShape::Heavy;
        } else if (argument == "--all") {
            folder = std::filesystem::path(arguments.value(argument));
        } else if (argument == "--films-table") {
            options.tableNames.films = std::string(arguments.value(argument));
        } else if (argument == "--loans-table") {
            options.tableNames.loans = std::string(arguments.value(argument));
        } else if (argument == "--plain") {
            arguments.noValue(argument);
            options.fieldProperties = false;
        } else if (argument == "--access") {
            arguments.noValue(argument);
            options.format = FileFormat::Access;
        } else if (argument == "-f" || argument == "--force") {
            arguments.noValue(argument);
            options.overwrite = true;
        } else {
            throw UsageError("unknown option " + std::string(argument));
        }
    }
    if (folder && file) throw UsageError("give either a catalogue file or --all FOLDER, not both");
    if (options.format == FileFormat::Access && !options.fieldProperties)
        throw UsageError("--plain is for SQLite files; an Access file keeps its properties itself");
    if (!folder && !file) throw UsageError("no catalogue file given");
    command.action = folder ? CommandLine::Action::WriteEveryLevel : CommandLine::Action::WriteFile;
    command.target = folder ? *folder : *file;
    return command;
}

std::string LevelList()
{
    std::string text;
    for (Level level : AllLevels()) {
        std::string name(LevelName(level));
        name.resize(14, ' ');
        text += "  " + name + std::string(LevelDescription(level)) + "\n";
    }
    return text;
}

std::string HelpText()
{
    return "Usage: vidarkon-sample [OPTIONS] FILE\n"
           "       vidarkon-sample [OPTIONS] --all FOLDER\n"
           "\n"
           "Makes a sample Vidarkon catalogue file (an SQLite database in the catalogue\n"
           "file format, or with --access an Access database) at a chosen patch level,\n"
           "filled with Polish film data drawn from a seed. The same seed and options\n"
           "always give the same file.\n"
           "\n"
           "Options:\n"
           "  -l, --level LEVEL     patch level of the catalogue (default ready-yesno)\n"
           "  -n, --films N         films in the films table (default 200); at level\n"
           "                        no-films, albums in the music collection\n"
           "  -m, --loans M         loans in the loans table (default 50)\n"
           "      --people P        people the loans go to (default loans/10, 5 to 1000)\n"
           "  -s, --seed S          seed of the data (default 1)\n"
           "      --heavy           heavier films, about 3 KB each: titles near their\n"
           "                        150 characters, long Polish descriptions and casts\n"
           "      --all FOLDER      one file of each level, FOLDER/<level>.mdb\n"
           "      --films-table NAME  stored name of the films table (default FILMY)\n"
           "      --loans-table NAME  stored name of the loans table (default WYPOZYCZ)\n"
           "      --plain           no MSysFields or MSysIndexes: a plain SQLite file,\n"
           "                        whose primary keys read as ordinary unique indexes\n"
           "      --access          an Access (Jet 4) database, as the original program\n"
           "                        wrote catalogues, instead of an SQLite file\n"
           "  -f, --force           replace an existing file\n"
           "      --list-levels     list the levels and stop\n"
           "  -h, --help            show this text and stop\n"
           "\n"
           "Levels:\n" +
           LevelList() +
           "\n"
           "Every catalogue also holds the people table OSOBY the loans refer to.\n"
           "A file is written beside its target and moved into place when complete.\n"
           "\n"
           "Exit status: 0 written, 1 refused or failed (for example an existing file\n"
           "without --force), 2 bad usage.\n";
}

}  // namespace sample
