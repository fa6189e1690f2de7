// vidarkon-patch-cli: the upgrade of a folder's catalogues without a window.

#include <unistd.h>

#include <iostream>

#include "app/cli/check_folder.h"
#include "app/cli/cli_options.h"
#include "app/cli/console_host.h"
#include "app/cli/report_text.h"
#include "app/files/folder_check.h"
#include "db/access/access_converter.h"
#include "db/access/access_error.h"
#include "patch/run_patch.h"

namespace {

using cli::PolishCount;

int Run(const cli::CliOptions& options)
{
    cli::ConsoleHost host(options.folder, options.keepIdCd, std::cout, isatty(STDOUT_FILENO) == 1);
    patch::RunPatch(host);
    const auto& outcomes = host.Outcomes();
    const auto skippedNames = static_cast<long long>(host.LineBreakNames().size());
    if (outcomes.empty() && skippedNames == 0) return 1;
    long long done = 0, notCatalogues = 0, problems = skippedNames;
    for (const auto outcome : outcomes) {
        if (cli::IsProblem(outcome))
            ++problems;
        else if (outcome == patch::FileOutcome::NotCatalogue)
            ++notCatalogues;
        else
            ++done;
    }
    const auto total = static_cast<long long>(outcomes.size()) + skippedNames;
    std::cout << "Podsumowanie: " << PolishCount(total, cli::kBases) << ": "
              << PolishCount(done, {"uaktualniona lub już uaktualniona", "uaktualnione lub już uaktualnione",
                                    "uaktualnionych lub już uaktualnionych"})
              << ", " << notCatalogues << " bez tabeli FILMY, "
              << PolishCount(problems,
                             {"zgłoszona lub nieudana", "zgłoszone lub nieudane", "zgłoszonych lub nieudanych"})
              << "\n";
    return problems == 0 ? 0 : 1;
}

// --przenies-z-access: one Access file carried into a new file.
int FromAccess(const cli::CliOptions& options)
{
    std::cout << "Przenoszę plik Access " << options.accessFile << " do " << options.newFile << "\n" << std::flush;
    try {
        const auto summary = accessdb::ConvertAccessFile(options.accessFile, options.newFile);
        std::cout << "-> przeniesiony: " << PolishCount(summary.tables, {"tabela", "tabele", "tabel"}) << ", "
                  << PolishCount(summary.rows, {"wiersz", "wiersze", "wierszy"}) << "\n";
        return 0;
    } catch (const TovaskADODB::EDatabaseError& error) {
        std::cout << "-> nieprzeniesiony: " << error.what() << "\n";
        return 1;
    }
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
    if (options->fromAccess()) return FromAccess(*options);
    if (const auto problem = utils::FolderProblem(options->folderArgument)) {
        std::cerr << *problem << "\n";
        return 2;
    }
    return options->checkOnly ? cli::CheckFolder(*options, std::cout) : Run(*options);
}
