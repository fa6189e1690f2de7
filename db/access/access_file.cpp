#include "db/access/access_file.h"

#include <mdbtools.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>

#include "db/access/access_error.h"
#include "db/access/jet_structure.h"
#include "db/access/jet_values.h"
#include "db/engine/value_text.h"

namespace accessdb {
namespace {

constexpr std::size_t jetPageSize = 4096;
constexpr std::uint32_t catalogueDefinitionPage = 2;  // where every Jet file keeps MSysObjects
constexpr int offsetMask = 0x1FFF;
constexpr int deletedRow = 0x8000;
constexpr int overflowRow = 0x4000;

[[noreturn]] void refuse(const std::string& cause)
{
    throw EAccessRefused(cause);
}

std::string quoted(const std::string& name)
{
    return "„" + name + "”";
}

std::string fieldName(const std::string& table, const std::string& field)
{
    return quoted(table + "." + field);
}

bool startsWithNoCase(const std::string& text, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return text.size() >= n && strncasecmp(text.c_str(), prefix, n) == 0;
}

struct MdbCloser {
    void operator()(MdbHandle* mdb) const noexcept { mdb_close(mdb); }
};
struct TableCloser {
    void operator()(MdbTableDef* table) const noexcept { mdb_free_tabledef(table); }
};

// The first page says what the file is before libmdb reads any of it.
void checkHeader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) refuse("nie daje się otworzyć pliku: " + std::string(std::strerror(errno)));
    std::string page(jetPageSize, '\0');
    file.read(page.data(), static_cast<std::streamsize>(page.size()));
    const auto got = static_cast<std::size_t>(file.gcount());
    file.clear();
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(file.tellg());
    if (got < 20 || (page.compare(4, 15, "Standard Jet DB") != 0 && page.compare(4, 15, "Standard ACE DB") != 0))
        refuse("to nie jest plik bazy Access");
    if (page.compare(4, 15, "Standard ACE DB") == 0)
        refuse("plik Access 2007 lub nowszy (format ACE), którego ten program nie przenosi");
    const auto version = static_cast<unsigned char>(page[0x14]);
    if (version == 0)
        refuse(
            "plik Access 97 lub starszy (Jet 3): jego teksty zapisano w stronie kodowej systemu, "
            "której ten program nie odczytuje");
    if (version != 1) refuse("plik bazy Access w nieznanej wersji formatu");
    if (got < jetPageSize || size % jetPageSize != 0 || size < 3 * jetPageSize)
        refuse("plik bazy Access jest ucięty lub uszkodzony: jego długość nie jest wielokrotnością strony");
}

const char* typeName(int type)
{
    switch (type) {
    case MDB_NUMERIC: return "Decimal";
    case MDB_COMPLEX: return "wielowartościowy lub załącznik";
    default: return nullptr;
    }
}

engine::FieldKind kindOf(const std::string& table, const MdbColumn& column)
{
    switch (column.col_type) {
    case MDB_BOOL: return engine::FieldKind::YesNo;
    case MDB_BYTE: return engine::FieldKind::Byte;
    case MDB_INT: return engine::FieldKind::Integer;
    case MDB_LONGINT: return engine::FieldKind::Long;
    case MDB_MONEY: return engine::FieldKind::Currency;
    case MDB_FLOAT: return engine::FieldKind::Single;
    case MDB_DOUBLE: return engine::FieldKind::Double;
    case MDB_DATETIME: return engine::FieldKind::DateTime;
    case MDB_BINARY: return engine::FieldKind::Binary;
    case MDB_TEXT: return engine::FieldKind::Text;
    case MDB_OLE: return engine::FieldKind::LongBinary;
    case MDB_MEMO: return engine::FieldKind::Memo;
    case MDB_REPID: return engine::FieldKind::Guid;
    default: break;
    }
    const char* name = typeName(column.col_type);
    refuse("pole " + fieldName(table, column.name) + " ma typ " +
           (name ? std::string(name) : "o kodzie " + std::to_string(column.col_type)) +
           ", którego format katalogu nie przechowuje");
}

// The bytes a fixed-size field takes in a row.
int fixedSize(engine::FieldKind kind)
{
    switch (kind) {
    case engine::FieldKind::Byte: return 1;
    case engine::FieldKind::Integer: return 2;
    case engine::FieldKind::Long:
    case engine::FieldKind::Single: return 4;
    case engine::FieldKind::Currency:
    case engine::FieldKind::Double:
    case engine::FieldKind::DateTime: return 8;
    case engine::FieldKind::Guid: return 16;
    default: return 0;
    }
}

bool propertyIs(const MdbColumn& column, const char* name, const char* value)
{
    const char* stored = mdb_col_get_prop(&column, name);
    return stored && std::strcmp(stored, value) == 0;
}

}  // namespace

namespace {

void readTable(MdbHandle* mdb, std::uint64_t filePages, MdbTableDef* table, const AccessTable& described,
               const std::vector<bool>* wanted, const AccessFile::RowSink& onRow,
               const AccessFile::RowSink* onDeleted = nullptr);

// The pages of the tables that the file's catalogue (MSysObjects, page 2)
// holds as live rows, read with the same care as a user table's rows; the
// catalogue's properties of every object are read whole on the way, so a
// file cut short or damaged there is refused rather than losing them.
std::set<unsigned long> liveTablePages(MdbHandle* mdb, std::uint64_t filePages)
{
    const auto broken = [] { refuse("spis obiektów pliku Access (MSysObjects) jest uszkodzony"); };
    // As libmdb starts its own reading: the catalogue's definition is page 2.
    MdbCatalogEntry catalogue{};
    catalogue.mdb = mdb;
    catalogue.object_type = MDB_TABLE;
    catalogue.table_pg = catalogueDefinitionPage;
    std::strcpy(catalogue.object_name, "MSysObjects");
    std::unique_ptr<MdbTableDef, TableCloser> table(mdb_read_table(&catalogue));
    if (!table) broken();
    mdb_read_columns(table.get());
    if (!table->columns || table->columns->len != table->num_cols) broken();

    AccessTable described;
    described.name = "MSysObjects";
    described.rowCount = table->num_rows;
    std::vector<bool> wanted;
    int id = -1, type = -1, properties = -1;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        const auto& column = *static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        const std::string name = column.name;
        const bool want = name == "Id" || name == "Type" || name == "LvProp";
        if (name == "Id") id = static_cast<int>(c);
        if (name == "Type") type = static_cast<int>(c);
        if (name == "LvProp") properties = static_cast<int>(c);
        AccessField field;
        field.name = name;
        field.kind = want ? kindOf(described.name, column) : engine::FieldKind::LongBinary;
        wanted.push_back(want);
        described.fields.push_back(std::move(field));
    }
    if (id < 0 || type < 0 || described.fields[static_cast<std::size_t>(id)].kind != engine::FieldKind::Long ||
        described.fields[static_cast<std::size_t>(type)].kind != engine::FieldKind::Integer)
        broken();
    // libmdb reads every object's properties, of deleted objects too, and
    // follows the lengths inside them as they stand.
    const auto checkProperties = [&](const std::vector<engine::StoredValue>& row) {
        if (properties < 0) return;
        const auto& value = row[static_cast<std::size_t>(properties)];
        if (value.type == engine::StoredValue::Type::Bytes && !detail::propertiesAreSound(value.bytes))
            refuse("właściwości obiektu w spisie obiektów pliku Access (MSysObjects) są uszkodzone");
    };
    const AccessFile::RowSink onDeleted = checkProperties;
    std::set<unsigned long> pages;
    readTable(
        mdb, filePages, table.get(), described, &wanted,
        [&](const std::vector<engine::StoredValue>& row) {
            checkProperties(row);
            const auto& objectType = row[static_cast<std::size_t>(type)];
            const auto& objectId = row[static_cast<std::size_t>(id)];
            if (objectType.type == engine::StoredValue::Type::Integer && objectType.integer == MDB_TABLE &&
                objectId.type == engine::StoredValue::Type::Integer)
                pages.insert(static_cast<unsigned long>(objectId.integer & 0x00FFFFFF));
        },
        &onDeleted);
    return pages;
}

}  // namespace

struct AccessFile::Handle {
    std::unique_ptr<MdbHandle, MdbCloser> mdb;
    std::vector<std::unique_ptr<MdbTableDef, TableCloser>> tables;
    std::uint64_t filePages = 0;
};

AccessFile::AccessFile(const std::string& path) : handle_(std::make_unique<Handle>())
{
    checkHeader(path);
    const detail::JetStructure structure(path);
    structure.checkTable(catalogueDefinitionPage, "MSysObjects");
    handle_->mdb.reset(mdb_open(path.c_str(), MDB_NOFLAGS));
    MdbHandle* mdb = handle_->mdb.get();
    if (!mdb) refuse("biblioteka libmdb nie odczytuje tego pliku Access");
    if (mdb->f->jet_version != MDB_VER_JET4) refuse("plik bazy Access w wersji innej niż Jet 4");
    if (mdb->f->db_key != 0) refuse("plik bazy Access jest zaszyfrowany");
    // Read with this reader's bounds first: libmdb follows the catalogue's
    // long values without them.
    handle_->filePages = structure.pageCount();
    const std::set<unsigned long> liveTables = liveTablePages(mdb, handle_->filePages);
    if (!mdb_read_catalog(mdb, MDB_ANY) || !mdb->catalog)
        refuse("nie daje się odczytać spisu obiektów pliku Access: plik jest uszkodzony");
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        const std::string name = entry->object_name;
        // libmdb 1.0 lists deleted objects too.
        if (entry->object_type == MDB_TABLE && !liveTables.count(entry->table_pg)) continue;
        if (entry->object_type == MDB_LINKED_TABLE)
            refuse("tabela " + quoted(name) + " jest połączona z innym plikiem, a jej wierszy w tym pliku nie ma");
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry)) continue;
        if (startsWithNoCase(name, "MSys") || startsWithNoCase(name, "sqlite_"))
            refuse("nazwa tabeli " + quoted(name) + " jest w formacie katalogu zastrzeżona");

        if (entry->table_pg > std::numeric_limits<std::uint32_t>::max())
            refuse("spis obiektów pliku Access wskazuje jako definicję tabeli " + quoted(name) + " stronę spoza pliku");
        structure.checkTable(static_cast<std::uint32_t>(entry->table_pg), name);
        std::unique_ptr<MdbTableDef, TableCloser> table(mdb_read_table(entry));
        if (table) {
            mdb_read_columns(table.get());
            mdb_read_indices(table.get());  // says nothing of how it went
        }
        if (!table || !table->columns || table->columns->len != table->num_cols ||
            (table->num_idxs > 0 && (!table->indices || table->indices->len < table->num_idxs)))
            refuse("nie daje się odczytać definicji tabeli " + quoted(name) + ": plik jest uszkodzony");

        AccessTable described;
        described.name = name;
        described.rowCount = table->num_rows;
        for (unsigned c = 0; c < table->num_cols; ++c) {
            const auto& column = *static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            AccessField field;
            field.name = column.name;
            if (startsWithNoCase(field.name, "MSys"))
                refuse("nazwa pola " + fieldName(name, field.name) + " jest w formacie katalogu zastrzeżona");
            field.kind = kindOf(name, column);
            if (field.kind == engine::FieldKind::Text) {
                // Jet 4 counts a Text's size in bytes of UTF-16.
                field.size = column.col_size / 2;
                if (field.size < 1 || field.size > 255)
                    refuse("pole " + fieldName(name, field.name) + " ma rozmiar spoza 1 do 255 znaków");
            } else if (field.kind == engine::FieldKind::Binary) {
                field.size = column.col_size;
                if (field.size < 1 || field.size > 255)
                    refuse("pole " + fieldName(name, field.name) + " ma rozmiar spoza 1 do 255 bajtów");
            }
            const int fixed = fixedSize(field.kind);
            if (fixed != 0 && (!column.is_fixed || column.col_size != fixed))
                refuse("definicja pola " + fieldName(name, field.name) + " jest uszkodzona");
            field.required = propertyIs(column, "Required", "yes");
            // Without the property, Access lets a text be empty; the property
            // means nothing to other kinds, which the engine gives No.
            const bool textual = field.kind == engine::FieldKind::Text || field.kind == engine::FieldKind::Memo;
            field.allowZeroLength = textual && !propertyIs(column, "AllowZeroLength", "no");
            field.autoNumber = column.is_long_auto != 0;
            if (field.autoNumber && field.kind != engine::FieldKind::Long)
                refuse("pole " + fieldName(name, field.name) + " jest autonumerem innego typu niż Long");
            described.fields.push_back(std::move(field));
        }
        if (described.fields.empty()) refuse("tabela " + quoted(name) + " nie ma pól");

        for (unsigned x = 0; x < table->num_idxs; ++x) {
            const auto& index = *static_cast<MdbIndex*>(g_ptr_array_index(table->indices, x));
            AccessIndex out;
            out.name = index.name;
            out.primary = index.index_type == 1;
            out.unique = out.primary || (index.flags & MDB_IDX_UNIQUE) != 0;
            if (index.num_keys < 1 || index.num_keys > MDB_MAX_IDX_COLS)
                refuse("indeks " + fieldName(name, out.name) + " jest uszkodzony");
            for (unsigned k = 0; k < index.num_keys; ++k) {
                const int column = index.key_col_num[k] - 1;  // libmdb counts from 1
                if (column < 0 || column >= static_cast<int>(described.fields.size()))
                    refuse("indeks " + fieldName(name, out.name) +
                           " wskazuje pole, którego nie ma: plik jest uszkodzony");
                out.fields.push_back(
                    {described.fields[static_cast<std::size_t>(column)].name, index.key_col_order[k] == MDB_DESC});
            }
            described.indexes.push_back(std::move(out));
        }

        for (const auto& field : described.fields) {
            if (!field.autoNumber) continue;
            // The table's definition page keeps the last number given.
            if (mdb_read_pg(mdb, entry->table_pg) != static_cast<ssize_t>(jetPageSize))
                refuse("nie daje się odczytać definicji tabeli " + quoted(name) + ": plik jest uszkodzony");
            described.nextAutoNumber =
                1 + static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, mdb->fmt->tab_num_rows_offset + 4));
            break;
        }
        tables_.push_back(std::move(described));
        handle_->tables.push_back(std::move(table));
    }
}

AccessFile::~AccessFile() = default;

namespace {

// Reads a Memo's or OLE Object's value whole: in the row, on one page, or in
// a chain of pages, each of which must say it holds long values; the chain
// must give exactly the length the row says.
bool readLongValue(MdbHandle* mdb, std::uint64_t filePages, const unsigned char* header, std::size_t size,
                   std::string& out)
{
    out.clear();
    if (size < MDB_MEMO_OVERHEAD) return false;
    const auto word = static_cast<std::uint32_t>(mdb_get_int32(const_cast<unsigned char*>(header), 0));
    const std::size_t length = word & 0x3FFFFFFF;
    if (word & 0x80000000) {
        if (size - MDB_MEMO_OVERHEAD != length) return false;
        out.assign(reinterpret_cast<const char*>(header) + MDB_MEMO_OVERHEAD, length);
        return true;
    }
    // No value is longer than the file that holds it.
    if (length > filePages * jetPageSize) return false;
    auto pageRow = static_cast<int>(mdb_get_int32(const_cast<unsigned char*>(header), 4));
    const bool single = (word & 0x40000000) != 0;
    if (!single && (word & 0xC0000000) != 0) return false;
    std::set<int> visited;  // a chain that comes back to a row would never end
    // The length comes from the file: it is trusted only as far as the pages
    // read bear it out.
    out.reserve(std::min<std::size_t>(length, std::size_t{1} << 20));
    while (true) {
        if (!visited.insert(pageRow).second) return false;
        void* buffer = nullptr;
        int start = 0;
        std::size_t rowLength = 0;
        if (mdb_find_pg_row(mdb, pageRow, &buffer, &start, &rowLength) != 0) return false;
        const auto* page = static_cast<const unsigned char*>(buffer);
        if (page[0] != MDB_PAGE_DATA || std::memcmp(page + 4, "LVAL", 4) != 0) return false;
        if (start < 0 || static_cast<std::size_t>(start) >= jetPageSize ||
            rowLength > jetPageSize - static_cast<std::size_t>(start))
            return false;
        if (single) {
            if (rowLength < length) return false;
            out.assign(reinterpret_cast<const char*>(page) + start, length);
            return true;
        }
        // Each page of the chain gives the next page's address and some bytes.
        if (rowLength <= 4 || out.size() + rowLength - 4 > length) return false;
        pageRow = static_cast<int>(mdb_get_int32(const_cast<unsigned char*>(page), start));
        out.append(reinterpret_cast<const char*>(page) + start + 4, rowLength - 4);
        if (pageRow == 0) return out.size() == length;
        if (out.size() == length) return false;
    }
}

template <class T>
T readLittleEndian(const unsigned char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

namespace {

// The rows of a table, read page by page with the row flags read here
// (libmdb 1.0 takes a deleted row for a moved one and the other way round).
// Fields not wanted (when wanted is given) are left NULL and not decoded.
void readTable(MdbHandle* mdb, std::uint64_t filePages, MdbTableDef* table, const AccessTable& described,
               const std::vector<bool>* wanted, const AccessFile::RowSink& onRow, const AccessFile::RowSink* onDeleted)
{
    const std::size_t fieldCount = described.fields.size();
    const int rowCountOffset = mdb->fmt->row_count_offset;

    std::vector<MdbField> fields(table->num_cols);
    std::vector<engine::StoredValue> row(fieldCount);
    std::vector<std::string> texts(fieldCount);  // each value's storage, kept across rows
    std::string scratch;
    std::int64_t rowsRead = 0;

    const auto damaged = [&] { refuse("wiersz tabeli " + quoted(described.name) + " jest uszkodzony"); };

    mdb_rewind_table(table);
    while (mdb_read_next_dpg(table)) {
        const unsigned char* page = mdb->pg_buf;
        const int rows = mdb_get_int16(mdb->pg_buf, rowCountOffset);
        if (rows < 0 || rowCountOffset + 2 + rows * 2 > static_cast<int>(jetPageSize)) damaged();
        for (int r = 0; r < rows; ++r) {
            const int offset = mdb_get_int16(mdb->pg_buf, rowCountOffset + 2 + r * 2);
            const bool deleted = (offset & deletedRow) != 0;
            if (deleted && !onDeleted) continue;
            if (offset & overflowRow)
                refuse("w tabeli " + quoted(described.name) +
                       " jest wiersz przeniesiony na inną stronę pliku; otwórz plik w programie Access, "
                       "skompaktuj go i spróbuj ponownie");
            int start = 0;
            std::size_t length = 0;
            if (mdb_find_row(mdb, r, &start, &length) != 0 || length < 4) damaged();
            start &= offsetMask;
            const auto rowEnd = static_cast<std::size_t>(start) + length;  // one past the row
            // What libmdb reads of the row's tail must lie inside the row.
            const int columnsInRow = mdb_get_int16(mdb->pg_buf, start);
            const std::size_t maskBytes = (static_cast<std::size_t>(columnsInRow) + 7) / 8;
            if (columnsInRow < 0 || maskBytes + 4 > length) damaged();
            if (table->num_var_cols > 0) {
                const auto varColumns =
                    static_cast<std::size_t>(mdb_get_int16(mdb->pg_buf, static_cast<int>(rowEnd - maskBytes - 2)));
                if (maskBytes + 4 + varColumns * 2 + 2 > length) damaged();
            }
            if (mdb_crack_row(table, start, length, fields.data()) < 0) damaged();

            for (std::size_t i = 0; i < fieldCount; ++i) {
                const MdbField& cell = fields[i];
                const auto& column = *static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
                const AccessField& field = described.fields[i];
                if (wanted && !(*wanted)[i]) {
                    row[i] = engine::StoredValue::Null();
                    continue;
                }
                // A field added after the row was written has no bit in its mask.
                const bool absent = column.col_num >= columnsInRow;
                if (field.kind == engine::FieldKind::YesNo) {
                    row[i] = engine::StoredValue::Of(std::int64_t{absent || cell.is_null ? 0 : 1});
                    continue;
                }
                if (absent || cell.is_null) {
                    row[i] = engine::StoredValue::Null();
                    continue;
                }
                if (cell.siz < 0 || cell.start < start ||
                    static_cast<std::size_t>(cell.start) + static_cast<std::size_t>(cell.siz) > rowEnd)
                    damaged();
                const unsigned char* at = page + cell.start;
                const auto size = static_cast<std::size_t>(cell.siz);
                const int fixed = fixedSize(field.kind);
                if (fixed != 0 && size != static_cast<std::size_t>(fixed)) damaged();
                const auto where = [&] { return fieldName(described.name, field.name); };
                const auto checkNumber = [&](double number) {
                    if (std::isnan(number))
                        refuse("pole " + where() +
                               " zawiera wartość nieliczbową (NaN), której format katalogu nie przechowuje");
                    if (number == 0 && std::signbit(number))
                        refuse("pole " + where() +
                               " zawiera zero ze znakiem minus, którego format katalogu nie przechowuje");
                };
                std::string& text = texts[i];
                switch (field.kind) {
                case engine::FieldKind::Byte: row[i] = engine::StoredValue::Of(std::int64_t{at[0]}); break;
                case engine::FieldKind::Integer:
                    row[i] = engine::StoredValue::Of(std::int64_t{readLittleEndian<std::int16_t>(at)});
                    break;
                case engine::FieldKind::Long:
                    row[i] = engine::StoredValue::Of(std::int64_t{readLittleEndian<std::int32_t>(at)});
                    break;
                case engine::FieldKind::Currency:
                    // Ten-thousandths as Jet keeps them: no double on the way.
                    row[i] = engine::StoredValue::Of(readLittleEndian<std::int64_t>(at));
                    break;
                case engine::FieldKind::Single: {
                    const auto number = static_cast<double>(readLittleEndian<float>(at));
                    checkNumber(number);
                    row[i] = engine::StoredValue::Of(number);
                    break;
                }
                case engine::FieldKind::Double: {
                    const auto number = readLittleEndian<double>(at);
                    checkNumber(number);
                    row[i] = engine::StoredValue::Of(number);
                    break;
                }
                case engine::FieldKind::DateTime:
                    switch (detail::jetDateText(readLittleEndian<double>(at), text)) {
                    case detail::DateProblem::None: break;
                    case detail::DateProblem::NotFinite:
                    case detail::DateProblem::OutOfRange:
                        refuse("data w polu " + where() + " jest poza zakresem od roku 100 do 9999");
                    case detail::DateProblem::FractionOfMillisecond:
                        refuse("czas w polu " + where() +
                               " ma ułamek milisekundy, którego format katalogu nie przechowuje");
                    }
                    row[i] = engine::StoredValue::Text(text);
                    break;
                case engine::FieldKind::Guid:
                    text = detail::guidText(at);
                    row[i] = engine::StoredValue::Text(text);
                    break;
                case engine::FieldKind::Binary:
                    if (size > static_cast<std::size_t>(field.size)) damaged();
                    text.assign(reinterpret_cast<const char*>(at), size);
                    row[i] = engine::StoredValue::Bytes(text);
                    break;
                case engine::FieldKind::Text:
                    text.clear();
                    if (!detail::appendJetText(std::string_view(reinterpret_cast<const char*>(at), size), text))
                        refuse("tekst w polu " + where() + " nie jest poprawnym tekstem Unicode");
                    if (engine::detail::codePointCount(text) > static_cast<std::size_t>(field.size))
                        refuse("tekst w polu " + where() + " jest dłuższy niż rozmiar pola");
                    row[i] = engine::StoredValue::Text(text);
                    break;
                case engine::FieldKind::Memo:
                    if (!readLongValue(mdb, filePages, at, size, scratch))
                        refuse("wartość pola " + where() + " (Memo) jest uszkodzona");
                    text.clear();
                    if (!detail::appendJetText(scratch, text))
                        refuse("tekst w polu " + where() + " nie jest poprawnym tekstem Unicode");
                    row[i] = engine::StoredValue::Text(text);
                    break;
                case engine::FieldKind::LongBinary:
                    if (!readLongValue(mdb, filePages, at, size, text))
                        refuse("wartość pola " + where() + " (obiekt OLE) jest uszkodzona");
                    row[i] = engine::StoredValue::Bytes(text);
                    break;
                case engine::FieldKind::YesNo: break;
                }
            }
            if (deleted) {
                (*onDeleted)(row);
                continue;
            }
            ++rowsRead;
            onRow(row);
        }
    }
    if (rowsRead != described.rowCount)
        refuse("w tabeli " + quoted(described.name) + " odczytano " + std::to_string(rowsRead) + " z " +
               std::to_string(described.rowCount) +
               " wierszy zapisanych w jej definicji: plik jest ucięty lub uszkodzony");
}

}  // namespace

void AccessFile::readRows(std::size_t tableIndex, const RowSink& onRow)
{
    readTable(handle_->mdb.get(), handle_->filePages, handle_->tables.at(tableIndex).get(), tables_.at(tableIndex),
              nullptr, onRow);
}

}  // namespace accessdb
