#include "app/cli/check_folder.h"

#include <sstream>

#include "app/cli/report_text.h"
#include "app/files/file_utils.h"
#include "patch/catalogue_check.h"
#include "patch/patch_components.h"

namespace cli {

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

int CheckFolder(const CliOptions& options, std::ostream& out)
{
    const auto names = Lines(utils::ListFiles(options.folder, "*.mdb", false));
    const auto lineBreakNames = utils::NamesWithLineBreaks(options.folder, "*.mdb");
    if (names.empty() && lineBreakNames.empty()) {
        out << "Nie odnaleziono żadnej bazy *.mdb do konwersji.\n";
        return 1;
    }
    patch::PatchComponents components;
    int problems = 0;
    for (const auto& name : names) {
        const auto check = patch::CheckCatalogue(components.dbFilm, components.mdbFilmy, options.folder + name);
        out << PrintableName(name) << ": " << StateText(check.state);
        if (!check.detail.empty()) out << ": " << check.detail;
        out << "\n";
        if (IsProblem(check.state)) ++problems;
    }
    for (const auto& name : lineBreakNames) out << PrintableName(name) << ": " << kLineBreakNameText << "\n";
    problems += static_cast<int>(lineBreakNames.size());
    return problems == 0 ? 0 : 1;
}

}  // namespace cli
