#include "tests/support/catalogue_folder.h"

namespace patch_test {

std::string CatalogueFolder::Add(const std::string& fileName, sample::Level level, int films, int loans,
                                 const sample::TableNames& names)
{
    sample::SampleOptions options;
    options.level = level;
    options.films = films;
    options.loans = loans;
    options.tableNames = names;
    const auto path = folder_ / fileName;
    sample::WriteSampleCatalogue(path, options);
    return path.string();
}

std::string CatalogueFolder::AddAccess(const std::string& fileName, sample::Level level, int films, int loans)
{
    sample::SampleOptions options;
    options.level = level;
    options.films = films;
    options.loans = loans;
    options.format = sample::FileFormat::Access;
    const auto path = folder_ / fileName;
    sample::WriteSampleCatalogue(path, options);
    return path.string();
}

std::string CatalogueFolder::Add(const Catalogue& catalogue)
{
    const auto path = Add(catalogue.name, catalogue.level, catalogue.films, catalogue.loans, catalogue.tableNames);
    if (!catalogue.sql.empty()) ExecuteSql(path, catalogue.sql);
    return path;
}

UpgradedCatalogue::UpgradedCatalogue(const Catalogue& catalogue, bool keepIdCd)
    : path(folder.Add(catalogue)), before(DumpContent(path)), host(folder.Upgrade(keepIdCd))
{
}

}  // namespace patch_test
