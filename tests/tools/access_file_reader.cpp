#include "access_file_reader.h"

#include <mdbtools.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace access_test {

namespace {

constexpr std::size_t bindSize = 1 << 20;
constexpr const char* dateFormat = "%Y-%m-%d %H:%M:%S";

std::string hex(const unsigned char* bytes, std::size_t size)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0xF];
    }
    return text;
}

struct TableDef {
    explicit TableDef(MdbCatalogEntry* entry) : table(mdb_read_table(entry))
    {
        if (!table) throw std::runtime_error(std::string("libmdb cannot read table ") + entry->object_name);
        if (!mdb_read_columns(table)) throw std::runtime_error("libmdb cannot read the columns");
        mdb_read_indices(table);
    }
    ~TableDef() { mdb_free_tabledef(table); }
    TableDef(const TableDef&) = delete;
    TableDef& operator=(const TableDef&) = delete;
    MdbTableDef* table;
};

struct Output {
    std::string out, err;
    int status;
};

// Runs a program with arguments, its standard output and error captured.
Output run(const std::vector<std::string>& arguments)
{
    std::array<int, 2> out{}, err{};
    if (::pipe(out.data()) != 0 || ::pipe(err.data()) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::close(out[0]);
        ::close(err[0]);
        std::vector<char*> argv;
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    Output result;
    // Small error output: reading standard output to its end first cannot block.
    std::array<char, 65536> buffer{};
    ssize_t got;
    while ((got = ::read(out[0], buffer.data(), buffer.size())) > 0) result.out.append(buffer.data(), got);
    while ((got = ::read(err[0], buffer.data(), buffer.size())) > 0) result.err.append(buffer.data(), got);
    ::close(out[0]);
    ::close(err[0]);
    ::waitpid(child, &result.status, 0);
    return result;
}

std::vector<Row> parseCsv(const std::string& text)
{
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = wasQuoted = true;
        } else if (c == ',' || c == '\n') {
            row.push_back(!wasQuoted && field.empty() ? std::string(nullText) : field);
            field.clear();
            wasQuoted = false;
            if (c == '\n') rows.push_back(std::exchange(row, {}));
        } else {
            field += c;
        }
    }
    return rows;
}

}  // namespace

struct MdbFile::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb) mdb_close(mdb);
    }
    std::vector<MdbCatalogEntry*> tables(bool user) const
    {
        std::vector<MdbCatalogEntry*> result;
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (user ? mdb_is_user_table(entry) : mdb_is_system_table(entry)) result.push_back(entry);
        }
        return result;
    }
    MdbCatalogEntry* table(const std::string& name) const
    {
        MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(mdb, name.c_str());
        if (!entry) throw std::runtime_error("no table " + name);
        return entry;
    }
};

MdbFile::MdbFile(const std::filesystem::path& file) : handle_(std::make_unique<Handle>())
{
    handle_->mdb = mdb_open(file.c_str(), MDB_NOFLAGS);
    if (!handle_->mdb) throw std::runtime_error("libmdb cannot open " + file.string());
    mdb_set_bind_size(handle_->mdb, bindSize);
    mdb_set_date_fmt(handle_->mdb, dateFormat);
    if (!mdb_read_catalog(handle_->mdb, MDB_TABLE)) throw std::runtime_error("libmdb cannot read the catalogue");
}

MdbFile::~MdbFile() = default;

std::vector<std::string> MdbFile::userTables() const
{
    std::vector<std::string> names;
    for (auto* entry : handle_->tables(true)) names.emplace_back(entry->object_name);
    return names;
}

std::vector<std::string> MdbFile::systemTables() const
{
    std::vector<std::string> names;
    for (auto* entry : handle_->tables(false)) names.emplace_back(entry->object_name);
    return names;
}

std::vector<ColumnInfo> MdbFile::columns(const std::string& name) const
{
    const TableDef def(handle_->table(name));
    std::vector<ColumnInfo> result;
    for (unsigned i = 0; i < def.table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def.table->columns, i));
        const char* required = mdb_col_get_prop(column, "Required");
        const char* zeroLength = mdb_col_get_prop(column, "AllowZeroLength");
        result.push_back({column->name, column->col_type, column->col_size, column->is_long_auto != 0,
                          required ? required : "", zeroLength ? zeroLength : ""});
    }
    return result;
}

std::vector<IndexInfo> MdbFile::indexes(const std::string& name) const
{
    const TableDef def(handle_->table(name));
    std::vector<IndexInfo> result;
    for (unsigned i = 0; i < def.table->num_idxs; ++i) {
        auto* index = static_cast<MdbIndex*>(g_ptr_array_index(def.table->indices, i));
        IndexInfo info{index->name, {}, index->index_type == 1, (index->flags & MDB_IDX_UNIQUE) != 0};
        for (unsigned k = 0; k < index->num_keys; ++k) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def.table->columns, index->key_col_num[k] - 1));
            info.columns.emplace_back(column->name);
        }
        result.push_back(std::move(info));
    }
    return result;
}

std::vector<Row> MdbFile::rows(const std::string& name) const
{
    MdbHandle* mdb = handle_->mdb;
    const TableDef def(handle_->table(name));
    MdbTableDef* table = def.table;
    const unsigned count = table->num_cols;
    std::vector<std::vector<char>> buffers(count, std::vector<char>(bindSize));
    std::vector<int> lengths(count, 0);
    for (unsigned i = 0; i < count; ++i)
        mdb_bind_column(table, static_cast<int>(i + 1), buffers[i].data(), &lengths[i]);
    std::vector<Row> rows;
    std::vector<MdbField> fields(count);
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        // The null mask tells a null from an empty text; the bound values cannot.
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(table, start & 0x1FFF, size, fields.data()) < 0)
            throw std::runtime_error("libmdb cannot crack a row of " + name);
        Row row;
        for (unsigned i = 0; i < count; ++i) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            if (column->col_type != MDB_BOOL && fields[i].is_null) {
                row.emplace_back(nullText);
            } else if (column->col_type == MDB_OLE) {
                size_t oleSize = 0;
                void* bytes = mdb_ole_read_full(mdb, column, &oleSize);
                row.push_back(hex(static_cast<unsigned char*>(bytes), oleSize));
                free(bytes);
            } else if (column->col_type == MDB_BINARY) {
                // Bound, a Binary value ends at its first 0 byte; its field has it whole.
                row.push_back(
                    hex(static_cast<unsigned char*>(fields[i].value), static_cast<std::size_t>(fields[i].siz)));
            } else {
                row.emplace_back(buffers[i].data(), static_cast<std::size_t>(lengths[i]));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<int> MdbFile::longValueKinds(const std::string& name, const std::string& columnName) const
{
    MdbHandle* mdb = handle_->mdb;
    const TableDef def(handle_->table(name));
    MdbTableDef* table = def.table;
    const int number = mdb_bind_column_by_name(table, const_cast<gchar*>(columnName.c_str()), nullptr, nullptr);
    if (number < 1) throw std::runtime_error("no column " + columnName);
    std::vector<MdbField> fields(table->num_cols);
    std::vector<int> kinds;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(table, start & 0x1FFF, size, fields.data()) < 0)
            throw std::runtime_error("libmdb cannot crack a row of " + name);
        const MdbField& field = fields[static_cast<std::size_t>(number - 1)];
        kinds.push_back(field.is_null ? -1 : static_cast<unsigned char*>(field.value)[3]);
    }
    return kinds;
}

int MdbFile::usageMapType(const std::string& name) const
{
    const TableDef def(handle_->table(name));
    return def.table->usage_map[0];
}

unsigned long MdbFile::definitionPage(const std::string& name) const
{
    return handle_->table(name)->table_pg;
}

std::vector<Row> MdbExport(const std::filesystem::path& file, const std::string& table)
{
    const Output output = run({"mdb-export", "-T", dateFormat, "-b", "hex", file.string(), table});
    if (output.status != 0 || !output.err.empty())
        throw std::runtime_error("mdb-export " + table + " failed: " + output.err);
    return parseCsv(output.out);
}

std::string MdbSchema(const std::filesystem::path& file, const std::string& backend)
{
    const Output output = run({"mdb-schema", file.string(), backend});
    // Said of every file whose relationships table is empty.
    const bool noRelationships = output.err == "No MSysRelationships\n";
    if (output.status != 0 || (!output.err.empty() && !noRelationships))
        throw std::runtime_error("mdb-schema failed: " + output.err);
    return output.out;
}

}  // namespace access_test
