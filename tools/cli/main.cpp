// vidarkon-patch-cli: the upgrade of a folder's catalogues without a window.

#include <unistd.h>

#include <iostream>
#include <sstream>

#include "app/utils/file_utils.h"
#include "patch/catalogue_check.h"
#include "patch/run_patch.h"
#include "tools/cli/cli_options.h"
#include "tools/cli/console_host.h"

namespace {

using patch::CatalogueState;
using patch::FileOutcome;

const char* StateText(CatalogueState state)
{
    switch (state) {
    case CatalogueState::CannotOpen: return "nie daje się otworzyć";
    case CatalogueState::NotCatalogue: return "nie jest katalogiem (brak tabeli FILMY)";
    case CatalogueState::LacksEarlierPatch: return "brak wcześniejszego patcha";
    case CatalogueState::NeedsUpgrade: return "wymaga uaktualnienia";
    case CatalogueState::AlreadyUpgraded: return "już uaktualniona";
    case CatalogueState::FilmsTableDamaged: return "tabela FILMY nie ma wymaganych pól";
    }
    return "";
}

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

int Check(const cli::CliOptions& options)
{
    const auto names = Lines(utils::ListFiles(options.folder, "*.mdb", false));
    if (names.empty()) {
        std::cout << "Nie odnaleziono żadnej bazy *.mdb do konwersji.\n";
        return 1;
    }
    patch::PatchComponents components;
    int problems = 0;
    for (const auto& name : names) {
        const auto check = patch::CheckCatalogue(components.dbFilm, components.mdbFilmy, options.folder + name);
        std::cout << name << ": " << StateText(check.state);
        if (!check.detail.empty()) std::cout << " (" << check.detail << ")";
        std::cout << "\n";
        if (check.state != CatalogueState::NeedsUpgrade && check.state != CatalogueState::AlreadyUpgraded &&
            check.state != CatalogueState::NotCatalogue)
            ++problems;
    }
    return problems == 0 ? 0 : 1;
}

int Run(const cli::CliOptions& options)
{
    cli::ConsoleHost host(options.folder, options.keepIdCd, std::cout, isatty(STDOUT_FILENO) == 1);
    patch::RunPatch(host);
    const auto& outcomes = host.Outcomes();
    if (outcomes.empty()) return 1;
    int done = 0, skipped = 0, problems = 0;
    for (const auto outcome : outcomes) {
        if (outcome == FileOutcome::Upgraded || outcome == FileOutcome::AlreadyUpgraded)
            ++done;
        else if (outcome == FileOutcome::NotCatalogue)
            ++skipped;
        else
            ++problems;
    }
    std::cout << "Podsumowanie: " << outcomes.size() << " baz, uaktualnione lub już uaktualnione: " << done
              << ", bez tabeli FILMY: " << skipped << ", zgłoszone lub nieudane: " << problems << "\n";
    return problems == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = cli::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << error << "\n\n" << cli::kUsage;
        return 2;
    }
    if (options->help) {
        std::cout << cli::kUsage;
        return 0;
    }
    return options->checkOnly ? Check(*options) : Run(*options);
}
