#include "tools/sample/access/access_file.h"

#include <cctype>
#include <optional>
#include <stdexcept>

#include "tools/sample/access/header_page.h"
#include "tools/sample/access/page_file.h"
#include "tools/sample/access/properties.h"
#include "tools/sample/access/system_catalogue.h"
#include "tools/sample/access/table_sink.h"

namespace sample::access {

namespace {

std::string folded(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

struct AccessWriter::State {
    explicit State(const std::filesystem::path& file) : pages(file) {}
    PageFile pages;
    WriterOptions options;
    std::optional<TableSink> table;
    std::vector<CatalogueEntry> entries;
    bool finished = false;
};

AccessWriter::AccessWriter(const std::filesystem::path& file, WriterOptions options)
    : state_(std::make_unique<State>(file))
{
    state_->options = options;
    // Page 0 the header, 1 the catalogue's usage maps, 2 its definition.
    state_->pages.allocate(3);
}

AccessWriter::~AccessWriter() = default;

void AccessWriter::beginTable(const TableDefinition& table)
{
    if (state_->finished || state_->table) throw std::logic_error("a table is still open, or the file is finished");
    if (folded(table.name).starts_with("msys"))
        throw std::invalid_argument("table names beginning with MSys are the engine's: " + table.name);
    for (const CatalogueEntry& entry : state_->entries)
        if (folded(entry.name) == folded(table.name)) throw std::invalid_argument("two tables named " + table.name);
    state_->table.emplace(state_->pages, table, false);
}

void AccessWriter::addRow(const std::vector<Value>& values)
{
    if (!state_->table) throw std::logic_error("no table is open");
    state_->table->add(values);
}

void AccessWriter::endTable()
{
    if (!state_->table) throw std::logic_error("no table is open");
    const std::uint32_t page = state_->table->finish();
    const TableDefinition& definition = state_->table->definition();
    state_->entries.push_back({definition.name, page, TableProperties(definition)});
    state_->table.reset();
}

void AccessWriter::finish()
{
    if (state_->table) throw std::logic_error("a table is still open");
    if (state_->finished) return;
    TableSink relationships(state_->pages, SystemRelationshipsDefinition(), true);
    state_->entries.push_back({"MSysRelationships", relationships.finish(), {}, true});
    TableSink catalogue(state_->pages, SystemObjectsDefinition(), true, catalogueDefinitionPage, catalogueMapPage);
    for (const auto& row : SystemObjectRows(state_->entries, state_->options.created)) catalogue.add(row);
    catalogue.finish();
    state_->pages.write(0, HeaderPage());
    state_->pages.close();
    state_->finished = true;
}

void WriteAccessFile(const std::filesystem::path& file, const std::vector<TableContents>& tables, WriterOptions options)
{
    AccessWriter writer(file, options);
    for (const TableContents& table : tables) {
        writer.beginTable(table.definition);
        for (const auto& row : table.rows) writer.addRow(row);
        writer.endTable();
    }
    writer.finish();
}

}  // namespace sample::access
